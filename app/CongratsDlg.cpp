#include "CongratsDlg.h"

#include "Colors.h"
#include "FancyButton.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScreen>

namespace {

constexpr TColor DialogColor = RGBColor(227, 227, 240);
constexpr TColor TextColor = RGBColor(86, 86, 171);
constexpr TColor CaptionColor = RGBColor(128, 255, 255);

} // namespace

TCongratsDlg::TCongratsDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setWindowTitle(QStringLiteral("Congratulations"));
    setFixedSize(495, 294);
    QPalette palette = this->palette();
    for (auto role : {QPalette::Window, QPalette::Base})
        palette.setColor(role, ColorToQColor(DialogColor));
    for (auto role : {QPalette::WindowText, QPalette::Text})
        palette.setColor(role, ColorToQColor(TextColor));
    setPalette(palette);
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(32);
    font.setBold(true);
    setFont(font);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setGeometry(32, 12, 433, 213);
    Memo1->setFrameShape(QFrame::NoFrame);
    Memo1->setReadOnly(true);
    Memo1->setFocusPolicy(Qt::NoFocus);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->document()->setDefaultTextOption(QTextOption(Qt::AlignHCenter));
    SetMessage(QStringLiteral("Well done!"),
               QStringLiteral("Press Enter to return to the training program"));

    OKBtn = new TFancyButton(this);
    OKBtn->SetGlyph(QPixmap(QStringLiteral(":/buttons/ok.bmp")));
    OKBtn->SetNumGlyphs(4);
    OKBtn->setGeometry(204, 232, 100, 48);
    OKBtn->SetModalResult(OKResult);
    OKBtn->SetTextOffsetLeft(-2);
    OKBtn->SetTextOffsetTop(-2);
    OKBtn->SetTextShadowColor(clBlack);
    OKBtn->SetCaption(QStringLiteral("OK"));
    OKBtn->setFocusPolicy(Qt::StrongFocus);
    QFont buttonFont(QStringLiteral("Tahoma"));
    buttonFont.setPixelSize(19);
    buttonFont.setBold(true);
    OKBtn->setFont(buttonFont);
    QPalette buttonPalette = OKBtn->palette();
    for (auto role : {QPalette::ButtonText, QPalette::WindowText})
        buttonPalette.setColor(role, ColorToQColor(CaptionColor));
    OKBtn->setPalette(buttonPalette);

    // The dialog sees every key before its controls do.
    OKBtn->installEventFilter(this);
    Memo1->installEventFilter(this);
}

void TCongratsDlg::SetMessage(const QString& firstLine, const QString& thirdLine) {
    Memo1->setPlainText(firstLine + QStringLiteral("\n\n") + thirdLine + u'\n');
}

void TCongratsDlg::FormKeyDown(int key) {
    done(key == Qt::Key_F12 ? NextPageResult : OKResult);
}

void TCongratsDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    OKBtn->setFocus();
}

void TCongratsDlg::keyPressEvent(QKeyEvent* event) {
    FormKeyDown(event->key());
}

bool TCongratsDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        FormKeyDown(static_cast<QKeyEvent*>(event)->key());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
