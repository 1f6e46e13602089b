#include "About.h"

TAboutForm::TAboutForm(QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("About Fingerwise"));
    setFixedSize(272, 130);
}
