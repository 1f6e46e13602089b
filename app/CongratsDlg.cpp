#include "CongratsDlg.h"

#include "FancyButton.h"
#include "FormStyle.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScreen>

TCongratsDlg::TCongratsDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setWindowTitle(QStringLiteral("Congratulations"));
    setFixedSize(495, 294);
    SetFormColors(this, FormColor, FormTextColor);
    setAutoFillBackground(false);
    setFont(TahomaFont(32, true, false));

    Memo1 = new QPlainTextEdit(this);
    Memo1->setGeometry(32, 12, 433, 213);
    Memo1->setFrameShape(QFrame::NoFrame);
    Memo1->setReadOnly(true);
    Memo1->setFocusPolicy(Qt::NoFocus);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->document()->setDefaultTextOption(QTextOption(Qt::AlignHCenter));
    SetMessage(QStringLiteral("Well done!"),
               QStringLiteral("Press Enter to return to the training program"));

    OKBtn = CreateGlyphButton(this, QStringLiteral(":/buttons/ok.bmp"), 4, QRect(204, 232, 100, 48),
                              QPoint(-2, -2), TahomaFont(19, true, false));
    OKBtn->SetModalResult(OKResult);
    OKBtn->SetCaption(QStringLiteral("OK"));
    OKBtn->setFocusPolicy(Qt::StrongFocus);

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
