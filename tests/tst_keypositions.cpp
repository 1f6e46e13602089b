// Single keys of the keyboard picture: native scan codes to key positions, the "Key positions"
// values, the key group of a Qt key code, and finding a pressed key in a layout file.
#include "KeyPositions.h"
#include "LayoutFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString DataDir = QStringLiteral(FW_DATA_DIR);

TKeyMap ReadKeyMap(const QString& layoutFile) {
    TKeyMap keyMap;
    for (int i = 0; i < KeyGroupCount; ++i)
        keyMap[i] =
            ReadLayoutText(layoutFile, QStringLiteral("Key co-ordinates"), KeyGroupNames[i]);
    return keyMap;
}

} // namespace

class TestKeyPositions : public QObject {
    Q_OBJECT

private slots:
    void scanCodes_data();
    void scanCodes();
    void positionValues_data();
    void positionValues();
    void groupOfQtKey_data();
    void groupOfQtKey();
    void exploreByPosition_data();
    void exploreByPosition();
    void exploreWithoutPositions();
    void firstPageOfGroup();
};

void TestKeyPositions::scanCodes_data() {
    QTest::addColumn<int>("set");
    QTest::addColumn<uint>("scanCode");
    QTest::addColumn<QStringList>("names");
    const int xkb = int(TScanCodeSet::Xkb);
    const int win = int(TScanCodeSet::Windows);
    const auto row = [](const char* name, int set, uint code, QStringList names) {
        QTest::newRow(name) << set << code << names;
    };
    row("x11 Esc", xkb, 9, {"ESC"});
    row("x11 1", xkb, 10, {"AE01"});
    row("x11 =", xkb, 21, {"AE12"});
    row("x11 Q", xkb, 24, {"AD01"});
    row("x11 ]", xkb, 35, {"AD12"});
    row("x11 A", xkb, 38, {"AC01"});
    row("x11 '", xkb, 48, {"AC11"});
    row("x11 backslash", xkb, 51, {"BKSL", "AC12"});
    row("x11 Z", xkb, 52, {"AB01"});
    row("x11 /", xkb, 61, {"AB10"});
    row("x11 F1", xkb, 67, {"FK01"});
    row("x11 F10", xkb, 76, {"FK10"});
    row("x11 F11", xkb, 95, {"FK11"});
    row("x11 F12", xkb, 96, {"FK12"});
    row("x11 left Ctrl", xkb, 37, {"LCTL"});
    row("x11 right Ctrl", xkb, 105, {"RCTL"});
    row("x11 AltGr", xkb, 108, {"RALT"});
    row("x11 keypad 7", xkb, 79, {"KP7"});
    row("x11 keypad Enter", xkb, 104, {"KPEN"});
    row("x11 less-than", xkb, 94, {"LSGT"});
    row("x11 Home", xkb, 110, {"HOME"});
    row("x11 Pause", xkb, 127, {"PAUS"});
    row("x11 menu", xkb, 135, {"COMP"});
    row("x11 unknown", xkb, 8, {});
    row("win Esc", win, 0x01, {"ESC"});
    row("win Q", win, 0x10, {"AD01"});
    row("win Z", win, 0x2C, {"AB01"});
    row("win F10", win, 0x44, {"FK10"});
    row("win F12", win, 0x58, {"FK12"});
    row("win left Ctrl", win, 0x1D, {"LCTL"});
    row("win right Ctrl E0", win, 0xE01D, {"RCTL"});
    row("win right Ctrl as Qt reports it", win, 0x11D, {"RCTL"});
    row("win AltGr", win, 0x138, {"RALT"});
    row("win keypad 7", win, 0x47, {"KP7"});
    row("win Home", win, 0x147, {"HOME"});
    row("win keypad Enter", win, 0x11C, {"KPEN"});
    row("win Enter", win, 0x1C, {"RTRN"});
    row("win Num Lock", win, 0x145, {"NMLK"});
    row("win Pause", win, 0x45, {"PAUS"});
    row("win left Windows", win, 0xE05B, {"LWIN"});
    row("win backslash", win, 0x2B, {"BKSL", "AC12"});
    row("win unknown", win, 0x7F, {});
}

void TestKeyPositions::scanCodes() {
    QFETCH(int, set);
    QFETCH(uint, scanCode);
    QFETCH(QStringList, names);
    QCOMPARE(KeyPositionNames(scanCode, TScanCodeSet(set)), names);
}

void TestKeyPositions::positionValues_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("rects");
    QTest::addColumn<QString>("name");
    QTest::newRow("one key") << ",8,408,96,466,Left Ctrl" << true << 1 << "Left Ctrl";
    QTest::newRow("L-shaped Enter")
        << ",916,217,1004,273,932,217,1004,337,Eingabe" << true << 2 << "Eingabe";
    QTest::newRow("comma key") << ",644,345,700,401,," << true << 1 << ",";
    QTest::newRow("digit as name") << ",1,2,3,4,7" << true << 1 << "7";
    QTest::newRow("empty name") << ",1,2,3,4," << true << 1 << "";
    QTest::newRow("no name field") << ",1,2,3,4" << false << 0 << "";
    QTest::newRow("no leading comma") << "1,2,3,4,Q" << false << 0 << "";
    QTest::newRow("bad number") << ",1,x,3,4,Q" << false << 0 << "";
    QTest::newRow("empty") << "" << false << 0 << "";
}

void TestKeyPositions::positionValues() {
    QFETCH(QString, value);
    QFETCH(bool, valid);
    QFETCH(int, rects);
    QFETCH(QString, name);
    const auto position = ParseKeyPosition(value);
    QCOMPARE(bool(position), valid);
    if (!position)
        return;
    QCOMPARE(int(position->Rects.size()), rects);
    QCOMPARE(position->Name, name);
    // Written back, the value reads the same.
    QCOMPARE(ParseKeyPosition(KeyPositionValue(position->Rects, position->Name)), position);
}

void TestKeyPositions::groupOfQtKey_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("keypad");
    QTest::addColumn<QString>("group");
    const auto row = [](const char* name, int key, bool keypad, const char* group) {
        QTest::newRow(name) << key << keypad << QString(group);
    };
    row("Q", Qt::Key_Q, false, "letter");
    row("Ä", Qt::Key_Adiaeresis, false, "letter");
    row("7", Qt::Key_7, false, "number");
    row("keypad 7", Qt::Key_7, true, "numpad");
    row("keypad Home", Qt::Key_Home, true, "numpad");
    row("keypad Enter", Qt::Key_Enter, true, "numpad");
    row("Num Lock", Qt::Key_NumLock, false, "numpad");
    row("comma", Qt::Key_Comma, false, "symbol");
    row("Ctrl", Qt::Key_Control, false, "ctrl");
    row("AltGr", Qt::Key_AltGr, false, "altgr");
    row("Super", Qt::Key_Super_L, false, "windows");
    row("Menu", Qt::Key_Menu, false, "windows");
    row("F5", Qt::Key_F5, false, "function");
    row("Esc", Qt::Key_Escape, false, "esc");
    row("Backtab", Qt::Key_Backtab, false, "tab");
    row("Home", Qt::Key_Home, false, "homeend");
    row("Page Down", Qt::Key_PageDown, false, "pguppgdn");
    row("Up", Qt::Key_Up, false, "arrow");
    row("Print", Qt::Key_Print, false, "printscreen");
    row("Space", Qt::Key_Space, false, "spacebar");
    row("Scroll Lock", Qt::Key_ScrollLock, false, "");
    row("Pause", Qt::Key_Pause, false, "");
}

void TestKeyPositions::groupOfQtKey() {
    QFETCH(int, key);
    QFETCH(bool, keypad);
    QFETCH(QString, group);
    const int index = KeyGroupOfQtKey(key, keypad ? Qt::KeypadModifier : Qt::NoModifier);
    QCOMPARE(index < 0 ? QString() : QString(KeyGroupNames[index]), group);
}

void TestKeyPositions::exploreByPosition_data() {
    QTest::addColumn<QString>("layout");
    QTest::addColumn<uint>("scanCode");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("group");
    QTest::newRow("us Q") << "en-US.kb" << 24u << "Q"
                          << "letter";
    QTest::newRow("de Z where the US keyboard has Y") << "de-DE.kb" << 29u << "Z"
                                                      << "letter";
    QTest::newRow("us right Ctrl") << "en-US.kb" << 105u << "Right Ctrl"
                                   << "ctrl";
    QTest::newRow("us right Alt") << "en-US.kb" << 108u << "Right Alt"
                                  << "alt";
    QTest::newRow("de AltGr") << "de-DE.kb" << 108u << "Alt Gr"
                              << "altgr";
    QTest::newRow("fr keypad 7") << "fr-FR.kb" << 79u << "Pavé num. 7"
                                 << "numpad";
    QTest::newRow("gb key beside Enter") << "en-GB.kb" << 51u << "#"
                                         << "symbol";
    QTest::newRow("us Scroll Lock") << "en-US.kb" << 78u << "Scroll Lock"
                                    << "";
}

void TestKeyPositions::exploreByPosition() {
    QFETCH(QString, layout);
    QFETCH(uint, scanCode);
    QFETCH(QString, name);
    QFETCH(QString, group);
    const QString file = DataDir + "/" + layout;
    // The Qt key code is a decoy: the position decides.
    const TExploredKey key = ExploreKey(file, ReadKeyMap(file), scanCode, TScanCodeSet::Xkb,
                                        Qt::Key_F1, Qt::NoModifier, "F1");
    QVERIFY(key.OneKey);
    QCOMPARE(key.Name, name);
    QCOMPARE(key.Group < 0 ? QString() : QString(KeyGroupNames[key.Group]), group);
    const QString position = KeyPositionNames(scanCode, TScanCodeSet::Xkb).back();
    QCOMPARE(key.Rects,
             ParseKeyPosition(ReadLayoutText(file, KeyPositionsSection, position))->Rects);
}

void TestKeyPositions::exploreWithoutPositions() {
    QTemporaryDir dir;
    const QString file = dir.filePath("old.kb");
    {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write("[Key co-ordinates]\nctrl=,8,408,96,466,932,409,1004,465\nnumpad=,1,2,3,4\n");
    }
    const TKeyMap keyMap = ReadKeyMap(file);
    TExploredKey key =
        ExploreKey(file, keyMap, 105, TScanCodeSet::Xkb, Qt::Key_Control, Qt::NoModifier, "Ctrl");
    QVERIFY(!key.OneKey);
    QCOMPARE(key.Name, "Ctrl");
    QCOMPARE(QString(KeyGroupNames[key.Group]), "ctrl");
    QCOMPARE(key.Rects, ParseKeyRects(keyMap[key.Group]));
    QCOMPARE(key.Rects.size(), 2u);
    key = ExploreKey(file, keyMap, 79, TScanCodeSet::Xkb, Qt::Key_Home, Qt::KeypadModifier, "Home");
    QCOMPARE(QString(KeyGroupNames[key.Group]), "numpad");
    key = ExploreKey(file, keyMap, 78, TScanCodeSet::Xkb, Qt::Key_ScrollLock, Qt::NoModifier,
                     "ScrollLock");
    QCOMPARE(key.Group, -1);
    QVERIFY(key.Rects.empty());
}

void TestKeyPositions::firstPageOfGroup() {
    QTemporaryDir dir;
    const QString file = dir.filePath("pages.kb");
    {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write("[Explanation texts]\nimage-2=Arrow\nimage-4=arrow\nimage-5=ctrl\n");
    }
    QCOMPARE(FirstPageOfKeyGroup(file, KeyGroupIndex("arrow")), 3);
    QCOMPARE(FirstPageOfKeyGroup(file, KeyGroupIndex("ctrl")), 6);
    QCOMPARE(FirstPageOfKeyGroup(file, KeyGroupIndex("letter")), 0);
    QCOMPARE(FirstPageOfKeyGroup(file, -1), 0);
}

QTEST_GUILESS_MAIN(TestKeyPositions)
#include "tst_keypositions.moc"
