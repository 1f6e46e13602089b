// The key explorer driven by key events that carry XKB keycodes: which key is lit, pixel for
// pixel, what the line under the picture says, the fallback of a layout file without key
// positions, and the jump to the key's page from the main window.
#include "FancyButton.h"
#include "KeyExplorer.h"
#include "KeyboardPicture.h"
#include "LayoutFile.h"
#include "Main.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {

const QString DataDir = QStringLiteral(FW_DATA_DIR);

struct TLayout {
    QString File;
    TKeyMap KeyMap;
    QImage Picture;
};

TLayout LoadLayout(const QString& file) {
    TLayout layout{file, {}, {}};
    for (int i = 0; i < KeyGroupCount; ++i)
        layout.KeyMap[i] =
            ReadLayoutText(file, QStringLiteral("Key co-ordinates"), KeyGroupNames[i]);
    layout.Picture = LoadKeyboardPicture(
        ReadLayoutText(file, QStringLiteral("Bitmap"), QStringLiteral("bitmap")), file);
    return layout;
}

void Press(QWidget* window, quint32 scanCode, int key, Qt::KeyboardModifiers modifiers = {},
           const QString& text = {}) {
    QKeyEvent event(QEvent::KeyPress, key, modifiers, scanCode, 0, 0, text);
    QApplication::sendEvent(window, &event);
}

// The picture with the given rectangles (reference units) lit, at the explorer's size.
QImage Expected(const TKeyExplorer& explorer, const TLayout& layout,
                const std::vector<TKeyRect>& rects) {
    std::vector<TKeyRect> scaled;
    for (const TKeyRect& rect : rects)
        scaled.push_back(ScaleKeyRect(rect, explorer.Picture->width()));
    return ComposeKeyboardImage(explorer.Picture->size(), scaled, &layout.Picture);
}

// The pixels of a rectangle that show the amber of a lit key (the picture's grey over amber
// keeps blue low).
int AmberPixels(const QImage& image, const TKeyRect& r) {
    int count = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) {
            const QColor c = image.pixelColor(x, y);
            count += c.red() > 200 && c.green() > 140 && c.blue() < 60;
        }
    return count;
}

} // namespace

class TestKeyExplorer : public QObject {
    Q_OBJECT

private slots:
    void pressedKeyIsLit_data();
    void pressedKeyIsLit();
    void keysOfNoGroup();
    void fallbackLightsTheGroup();
    void jumpsToTheKeysPage();
};

void TestKeyExplorer::pressedKeyIsLit_data() {
    QTest::addColumn<QString>("layout");
    QTest::addColumn<uint>("scanCode");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("keypad");
    QTest::addColumn<QString>("position");
    QTest::addColumn<QString>("text");
    QTest::newRow("letter") << "en-US.kb" << 24u << int(Qt::Key_Q) << false << "AD01"
                            << "Q — Letters: type a to z";
    QTest::newRow("German Z where the US keyboard has Y")
        << "de-DE.kb" << 29u << int(Qt::Key_Z) << false << "AD06"
        << "Z — Buchstaben: a bis z, ä ö ü ß";
    QTest::newRow("left Ctrl") << "en-US.kb" << 37u << int(Qt::Key_Control) << false << "LCTL"
                               << "Left Ctrl — Ctrl: hold for shortcuts";
    QTest::newRow("right Ctrl") << "en-US.kb" << 105u << int(Qt::Key_Control) << false << "RCTL"
                                << "Right Ctrl — Ctrl: hold for shortcuts";
    QTest::newRow("AltGr") << "en-GB.kb" << 108u << int(Qt::Key_AltGr) << false << "RALT"
                           << "AltGr — Alt Gr: extra signs such as €";
    QTest::newRow("keypad 7, Num Lock on") << "en-US.kb" << 79u << int(Qt::Key_7) << true << "KP7"
                                           << "Keypad 7 — Numeric keypad: for numbers";
    QTest::newRow("keypad 7, Num Lock off")
        << "en-US.kb" << 79u << int(Qt::Key_Home) << true << "KP7"
        << "Keypad 7 — Numeric keypad: for numbers";
    QTest::newRow("F12") << "en-US.kb" << 96u << int(Qt::Key_F12) << false << "FK12"
                         << "F12 — Function keys: F1 to F12";
    QTest::newRow("Esc") << "en-US.kb" << 9u << int(Qt::Key_Escape) << false << "ESC"
                         << "Esc — Esc: cancels or closes";
    QTest::newRow("Tab") << "en-US.kb" << 23u << int(Qt::Key_Tab) << false << "TAB"
                         << "Tab — Tab: jumps to the next stop";
}

void TestKeyExplorer::pressedKeyIsLit() {
    QFETCH(QString, layout);
    QFETCH(uint, scanCode);
    QFETCH(int, key);
    QFETCH(bool, keypad);
    QFETCH(QString, position);
    QFETCH(QString, text);
    const TLayout shipped = LoadLayout(DataDir + "/" + layout);
    QVERIFY(!shipped.Picture.isNull());
    TKeyExplorer explorer(shipped.File, shipped.KeyMap, &shipped.Picture, nullptr,
                          TScanCodeSet::Xkb);
    explorer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&explorer));
    Press(&explorer, scanCode, key, keypad ? Qt::KeypadModifier : Qt::NoModifier);

    const auto lit = ParseKeyPosition(ReadLayoutText(shipped.File, KeyPositionsSection, position));
    QVERIFY(lit);
    QCOMPARE(explorer.ShownImage(), Expected(explorer, shipped, lit->Rects));
    // Most of the key is amber (all but its outline and legends); the key beside it is not lit.
    const int width = explorer.Picture->width();
    const TKeyRect box = ScaleKeyRect(lit->Rects.front(), width);
    // Half a key's width, a quarter key away: left of the keys at the right end of a row.
    const int half = width * 32 / ReferenceWidth;
    const bool left = position == "RCTL" || position == "FK12";
    const TKeyRect beside =
        left ? TKeyRect{box.Left - 3 * half / 2, box.Top, box.Left - half / 2, box.Bottom}
             : TKeyRect{box.Right + half / 2, box.Top, box.Right + 3 * half / 2, box.Bottom};
    const int area = (box.Right - box.Left) * (box.Bottom - box.Top);
    QVERIFY2(AmberPixels(explorer.ShownImage(), box) > area / 2, qPrintable(position));
    QCOMPARE(AmberPixels(explorer.ShownImage(), beside), 0);
    QCOMPARE(explorer.KeyLabel->text(), text);
    // Esc, Tab and F12 are explored, not acted on.
    QVERIFY(explorer.isVisible());
    QCOMPARE(explorer.result(), 0);
}

void TestKeyExplorer::keysOfNoGroup() {
    const TLayout shipped = LoadLayout(DataDir + "/de-DE.kb");
    TKeyExplorer explorer(shipped.File, shipped.KeyMap, &shipped.Picture, nullptr,
                          TScanCodeSet::Xkb);
    Press(&explorer, 78, Qt::Key_ScrollLock);
    QCOMPARE(explorer.KeyLabel->text(), "Rollen — diese Taste hat keine eigene Seite");
    QCOMPARE(explorer.PageOfLastKey(), 0);
    QVERIFY(!explorer.GotoBtn->isEnabled());
    // A key of a group enables the jump.
    Press(&explorer, 37, Qt::Key_Control);
    QVERIFY(explorer.PageOfLastKey() > 0);
    QVERIFY(explorer.GotoBtn->isEnabled());
}

void TestKeyExplorer::fallbackLightsTheGroup() {
    // The shipped US file without its "Key positions".
    QTemporaryDir dir;
    QFile in(DataDir + "/en-US.kb");
    QVERIFY(in.open(QIODevice::ReadOnly));
    QByteArray text = in.readAll();
    text.truncate(text.indexOf("[Key positions]"));
    const QString file = dir.filePath("en-US.kb");
    QFile out(file);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(text);
    out.close();
    QFile::copy(DataDir + "/us.bmp", dir.filePath("us.bmp"));

    const TLayout old = LoadLayout(file);
    TKeyExplorer explorer(old.File, old.KeyMap, &old.Picture, nullptr, TScanCodeSet::Xkb);
    Press(&explorer, 105, Qt::Key_Control);
    const std::vector<TKeyRect> group = ParseKeyRects(old.KeyMap[KeyGroupIndex("ctrl")]);
    QCOMPARE(group.size(), 2u);
    QCOMPARE(explorer.ShownImage(), Expected(explorer, old, group));
    QCOMPARE(explorer.KeyLabel->text(), "Ctrl — Ctrl: hold for shortcuts");
    Press(&explorer, 79, Qt::Key_Home, Qt::KeypadModifier);
    QCOMPARE(explorer.ShownImage(),
             Expected(explorer, old, ParseKeyRects(old.KeyMap[KeyGroupIndex("numpad")])));
}

void TestKeyExplorer::jumpsToTheKeysPage() {
    std::unique_ptr<TMainForm> form(CreateForms());
    form->LayoutFileName = DataDir + "/en-US.kb";
    form->LoadLayoutFile();
    form->ShowPage(5);
    QCOMPARE(form->Explorer1->text(), "Which key is this?...");
    bool answered = false;
    QTimer::singleShot(0, [&] {
        auto* explorer = qobject_cast<TKeyExplorer*>(QApplication::activeModalWidget());
        QVERIFY(explorer);
        Press(explorer, 105, Qt::Key_Control);
        QTest::mouseClick(explorer->GotoBtn, Qt::LeftButton);
        answered = true;
    });
    form->Explorer1->trigger();
    QVERIFY(answered);
    // The first page about Ctrl, with the page left on the history as a click would leave it.
    QCOMPARE(form->PageNumber, FirstPageOfKeyGroup(form->LayoutFileName, KeyGroupIndex("ctrl")));
    QCOMPARE(form->PageNumber, 23);
    QCOMPARE(form->HistoryDepth, 1);
    QCOMPARE(form->History[0], 5);
    form->BackBtnClick();
    QCOMPARE(form->PageNumber, 5);
}

QTEST_MAIN(TestKeyExplorer)
#include "tst_keyexplorer.moc"
