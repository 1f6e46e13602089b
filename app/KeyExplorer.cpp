#include "KeyExplorer.h"

#include "FancyButton.h"
#include "FormStyle.h"
#include "KeyboardPicture.h"
#include "LayoutFile.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace {

constexpr int Margin = 16;
constexpr int ButtonWidth = 100;
constexpr int ButtonHeight = 48;
constexpr int TextPixelSize = 24;

const QString Messages = QStringLiteral("Messages");
const QString Buttons = QStringLiteral("Buttons");

} // namespace

TKeyExplorer::TKeyExplorer(const QString& layoutFile, const TKeyMap& keyMap, const QImage* picture,
                           QWidget* parent, TScanCodeSet scanCodes)
    : QDialog(parent)
    , LayoutFile(layoutFile)
    , KeyMap(keyMap)
    , KeyboardPicture(picture ? *picture : QImage())
    , ScanCodes(scanCodes) {
    setWindowTitle(Read(QStringLiteral("Menus"), QStringLiteral("explorer"),
                        QStringLiteral("Which key is this?..."))
                       .remove(QStringLiteral("..."))
                       .remove(QChar(u'…')));
    SetFormColors(this, FormColor, FormTextColor);
    setFont(TahomaFont(TextPixelSize, true, false));
    setFocusPolicy(Qt::StrongFocus);

    Picture = new QLabel(this);
    KeyLabel = new QLabel(this);
    KeyLabel->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    KeyLabel->setWordWrap(true);
    // The note about the desktop's own keys is said once, before the first key.
    KeyLabel->setText(Read(QStringLiteral("Hints"), QStringLiteral("explorer"),
                           QStringLiteral("Press any key to see what it is")) +
                      u'\n' +
                      Read(Messages, QStringLiteral("desktopkeys"),
                           QStringLiteral("The desktop may keep some keys, such as Print Screen, "
                                          "for itself: those do not arrive here.")));
    const QFont buttonFont = TahomaFont(16, false, true);
    CloseBtn =
        CreateGlyphButton(this, QStringLiteral(":/buttons/exit.bmp"), 4,
                          QRect(0, 0, ButtonWidth, ButtonHeight), QPoint(-5, -2), buttonFont);
    CloseBtn->SetCaption(Read(Buttons, QStringLiteral("Close"), QStringLiteral("Close")));
    // A caption of any length: a push button in the glyph buttons' font, as wide as it needs.
    GotoBtn = new QPushButton(
        Read(Buttons, QStringLiteral("Goto"), QStringLiteral("Go to its page")), this);
    GotoBtn->setFont(buttonFont);
    GotoBtn->resize(std::max(GotoBtn->sizeHint().width() + 24, ButtonWidth), ButtonHeight);
    GotoBtn->setEnabled(false);
    // The keys belong to the explorer: the buttons take no focus.
    CloseBtn->setFocusPolicy(Qt::NoFocus);
    GotoBtn->setFocusPolicy(Qt::NoFocus);
    connect(CloseBtn, &TFancyButton::clicked, this, &QDialog::reject);
    connect(GotoBtn, &QPushButton::clicked, this, [this] {
        if (PageOfLastKey() > 0)
            done(GoToPageResult);
    });
    Picture->setAccessibleName(QStringLiteral("Keyboard picture"));
    KeyLabel->setAccessibleDescription(QStringLiteral("The key pressed"));

    PlaceControls();
    ShowPicture({});
    setFocus();
}

QString TKeyExplorer::Read(const QString& section, const QString& key,
                           const QString& defaultValue) const {
    return ReadLayoutText(LayoutFile, section, key, defaultValue);
}

// The picture as large as the screen allows, the line of text and the buttons under it.
void TKeyExplorer::PlaceControls() {
    const QScreen* display = screen() ? screen() : QGuiApplication::primaryScreen();
    const QRect area = display ? display->availableGeometry() : QRect(0, 0, 1024, 768);
    const int textHeight = 3 * TextPixelSize + Margin;
    // Room for the window's frame and title bar.
    const int frame = 64;
    const int below = textHeight + ButtonHeight + 3 * Margin;
    int width = area.width() - 2 * Margin - frame / 2;
    const int maxHeight = area.height() - frame - below;
    if (width * ReferenceHeight / ReferenceWidth > maxHeight)
        width = maxHeight * ReferenceWidth / ReferenceHeight;
    width = std::max(width, 2 * ButtonWidth + GotoBtn->width());
    const int height = width * ReferenceHeight / ReferenceWidth;
    Picture->setGeometry(Margin, Margin, width, height);
    KeyLabel->setGeometry(Margin, Margin + height + Margin, width, textHeight);
    const int buttonsTop = KeyLabel->y() + textHeight + Margin;
    CloseBtn->move(Margin + width - ButtonWidth, buttonsTop);
    GotoBtn->move(CloseBtn->x() - Margin - GotoBtn->width(), buttonsTop);
    setFixedSize(width + 2 * Margin, buttonsTop + ButtonHeight + Margin);
}

void TKeyExplorer::ShowPicture(const std::vector<TKeyRect>& rects) {
    std::vector<TKeyRect> scaled;
    for (const TKeyRect& rect : rects)
        scaled.push_back(ScaleKeyRect(rect, Picture->width()));
    Shown = ComposeKeyboardImage(
        Stretched.For(KeyboardPicture.isNull() ? nullptr : &KeyboardPicture, Picture->size(), 1),
        scaled);
    Picture->setPixmap(QPixmap::fromImage(Shown));
}

void TKeyExplorer::ExploreKey(quint32 scanCode, int key, Qt::KeyboardModifiers modifiers,
                              const QString& fallbackName) {
    const TExploredKey explored =
        ::ExploreKey(LayoutFile, KeyMap, scanCode, ScanCodes, key, modifiers, fallbackName);
    ShowPicture(explored.Rects);
    LastGroup = explored.Group;
    QString what;
    if (explored.Group < 0)
        what = Read(Messages, QStringLiteral("nogroup"),
                    QStringLiteral("this key has no page in this tutorial"));
    else
        what = ReadLayoutText(LayoutFile, QStringLiteral("Key descriptions"),
                              QStringLiteral("descr-") + KeyGroupNames[explored.Group], QString(),
                              KeyDescriptionBufferSize);
    KeyLabel->setText(what.isEmpty() ? explored.Name
                                     : explored.Name + QStringLiteral(" — ") + what);
    GotoBtn->setEnabled(PageOfLastKey() > 0);
}

int TKeyExplorer::PageOfLastKey() const {
    return FirstPageOfKeyGroup(LayoutFile, LastGroup);
}

// Every key is explored here, before the dialog's own handling of Esc, Enter and Tab and before
// any shortcut.
bool TKeyExplorer::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        auto* keyEvent = static_cast<QKeyEvent*>(event);
        // The name of a key that the layout file does not name: as the key sequence writes it,
        // save Ctrl, which is what the key says.
        const QString name = keyEvent->key() == Qt::Key_Control
                                 ? QStringLiteral("Ctrl")
                                 : QKeySequence(keyEvent->key()).toString(QKeySequence::NativeText);
        try {
            ExploreKey(keyEvent->nativeScanCode(), keyEvent->key(), keyEvent->modifiers(), name);
        } catch (const EConvertError&) {
            // A co-ordinates value that is not valid: the key is named, nothing is lit.
            ShowPicture({});
            KeyLabel->setText(name);
        }
        return true;
    }
    return QDialog::event(event);
}
