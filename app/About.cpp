#include "About.h"

#include "Colors.h"
#include "Component.h"
#include "FormStyle.h"
#include "ImageFile.h"
#include "ui_About.h"

#include <QApplication>
#include <QDir>
#include <QScreen>

namespace {

// The form's font: "Arial" with characters 11 pixels high.
QFont FormFont(bool underline) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    font.setUnderline(underline);
    return font;
}

} // namespace

QIcon ProgramIcon() {
    // The icon travels in the control library's resources; programs that use no glyph button
    // would otherwise leave them unregistered.
    static const bool registered = [] {
        Q_INIT_RESOURCE(resources);
        return true;
    }();
    Q_UNUSED(registered);
    QIcon icon;
    const QDir icons(QStringLiteral(":/icon"));
    for (const QString& name : icons.entryList(QDir::Files, QDir::Name))
        icon.addPixmap(QPixmap::fromImage(ReadImageOfFormat(icons.filePath(name), "PNG")));
    return icon.isNull() ? QApplication::windowIcon() : icon;
}

TAboutForm::TAboutForm(QWidget* parent)
    : QDialog(parent)
    , Form(std::make_unique<Ui::TAboutForm>()) {
    Form->setupUi(this);
    NameLabel = Form->NameLabel;
    Image1 = Form->Image1;
    URLStatic1 = Form->URLStatic1;
    VersionLabel1 = Form->VersionLabel1;
    Button1 = Form->Button1;
    // What the form description cannot say.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(272, 130);
    SetFormColors(this, clBtnFace, clWindowText, {URLStatic1});
    setFont(FormFont(false));
    URLStatic1->setFont(FormFont(true));
    Image1->setPixmap(ProgramIcon().pixmap(32, 32));
    FormLoaded(this);
}

TAboutForm::~TAboutForm() = default;

void TAboutForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (const QScreen* display = screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(display->availableGeometry().center());
        move(frame.topLeft());
    }
}
