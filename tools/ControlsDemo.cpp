// A small window with each control of the control set, set up from a Qt Designer form; its
// "About..." button opens the program's About box. Started with --about, it opens the About box
// at once.

#include "About.h"
#include "Application.h"
#include "Component.h"
#include "ui_ControlsDemo.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    InstallFontSubstitutions();

    QWidget window;
    Ui::TControlsDemoForm form;
    form.setupUi(&window);
    FormLoaded(&window);

    TAboutForm about(&window);
    QObject::connect(form.AboutButton, &QPushButton::clicked, &about, &QDialog::exec);

    window.show();
    if (app.arguments().contains(QStringLiteral("--about")))
        about.exec();
    return app.exec();
}
