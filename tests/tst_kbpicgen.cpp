// The keyboard picture generator: its key geometry, legend files, key groups and the text of a
// layout file's key sections, and whether each shipped picture agrees with its co-ordinates.

#include "IniFile.h"
#include "KeyGroups.h"
#include "KeyboardDrawing.h"
#include "KeyboardGeometry.h"
#include "LayoutSections.h"
#include "Legends.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

using namespace kbpicgen;

namespace {

const QString LayoutsDir = QStringLiteral(FW_KBPICGEN_LAYOUTS_DIR);
const QString DataDir = QStringLiteral(FW_DATA_DIR);

LegendSet LoadOrFail(const QString& name) {
    QStringList errors;
    const auto set = LoadLegends(LayoutsDir + "/" + name, errors);
    if (!set)
        qFatal("%s", qPrintable(errors.join('\n')));
    return *set;
}

const KeyGroup& Group(const QList<KeyGroup>& groups, const QString& name) {
    for (const KeyGroup& group : groups)
        if (group.name == name)
            return group;
    qFatal("no key group %s", qPrintable(name));
}

QStringList KeyNames(const QList<const Key*>& keys) {
    QStringList names;
    for (const Key* key : keys)
        names.append(key->name);
    names.sort();
    return names;
}

bool InAny(const QList<Box>& boxes, int x, int y) {
    return std::any_of(boxes.begin(), boxes.end(), [&](const Box& b) { return b.contains(x, y); });
}

bool IntersectsAny(const QList<Box>& boxes, const Box& box) {
    return std::any_of(boxes.begin(), boxes.end(), [&](const Box& b) { return b.intersects(box); });
}

// Every pixel of `inner` lies in `outer`.
bool Covers(const QList<Box>& outer, const QList<Box>& inner) {
    for (const Box& box : inner)
        for (int y = box.top; y < box.bottom; ++y)
            for (int x = box.left; x < box.right; ++x)
                if (!InAny(outer, x, y))
                    return false;
    return true;
}

// A key group value read the way the tutorial reads it: from the last comma backwards, four
// numbers to a rectangle, so the rectangles come out last first.
QList<Box> ParseValueFromTheEnd(const QString& text) {
    QList<Box> boxes;
    for (const TKeyRect& rect : ParseKeyRects(text))
        boxes.append({rect.Left, rect.Top, rect.Right, rect.Bottom});
    return boxes;
}

// The places where the rectangles of one group fail to sit on the picture's outlines. Along the
// border of the rectangles' union, the pixels must be dark (the outline runs through them), with
// light gaps no longer than the white between two keys; three pixels further in (inside the key)
// and further out (between the keys) they must be light, save where another outline crosses.
QStringList OutlineFaults(const QImage& picture, const QString& name, const QList<Box>& boxes) {
    constexpr int longestGap = 10;
    constexpr int widestCrossing = 5;
    constexpr int offset = 3;
    const auto grey = [&](QPoint p) {
        if (p.x() < 0 || p.y() < 0 || p.x() >= picture.width() || p.y() >= picture.height())
            return 255;
        return qGray(picture.pixel(p));
    };
    QStringList faults;
    for (const Box& box : boxes) {
        if (box.isEmpty() || box.left < 0 || box.top < 0 || box.right > PictureWidth ||
            box.bottom > PictureHeight) {
            faults.append(QString("%1: rectangle %2,%3,%4,%5 is not on the picture")
                              .arg(name)
                              .arg(box.left)
                              .arg(box.top)
                              .arg(box.right)
                              .arg(box.bottom));
            continue;
        }
        struct Edge {
            const char* side;
            QPoint start, step, inward;
            int length;
        };
        const Edge edges[] = {
            {"top", {box.left, box.top}, {1, 0}, {0, 1}, box.width()},
            {"bottom", {box.left, box.bottom - 1}, {1, 0}, {0, -1}, box.width()},
            {"left", {box.left, box.top}, {0, 1}, {1, 0}, box.height()},
            {"right", {box.right - 1, box.top}, {0, 1}, {-1, 0}, box.height()},
        };
        for (const Edge& edge : edges) {
            int lightRun = 0, darkInside = 0, darkOutside = 0;
            std::optional<QPoint> fault;
            for (int i = 0; i < edge.length && !fault; ++i) {
                const QPoint p = edge.start + i * edge.step;
                const QPoint out = p - edge.inward;
                if (InAny(boxes, out.x(), out.y())) { // not on the union's border
                    lightRun = darkInside = darkOutside = 0;
                    continue;
                }
                lightRun = grey(p) < 128 ? 0 : lightRun + 1;
                darkInside = grey(p + offset * edge.inward) >= 160 ? 0 : darkInside + 1;
                darkOutside = grey(p - offset * edge.inward) >= 160 ? 0 : darkOutside + 1;
                if (lightRun > longestGap || darkInside > widestCrossing ||
                    darkOutside > widestCrossing)
                    fault = p;
            }
            if (fault)
                faults.append(QString("%1: the %2 edge of rectangle %3,%4,%5,%6 leaves the "
                                      "outline at %7,%8")
                                  .arg(name, edge.side)
                                  .arg(box.left)
                                  .arg(box.top)
                                  .arg(box.right)
                                  .arg(box.bottom)
                                  .arg(fault->x())
                                  .arg(fault->y()));
        }
    }
    return faults;
}

// The co-ordinates shipped with a picture: from the layout file when it has them, else as the
// generator makes them from the legend file.
QList<std::pair<QString, QString>>
ShippedCoordinates(const QString& layoutFile, const LegendSet& legends, bool* fromLayoutFile) {
    *fromLayoutFile =
        !ReadProfileString("Key co-ordinates", "entire", "", 200, layoutFile).isEmpty();
    QList<std::pair<QString, QString>> values;
    if (*fromLayoutFile) {
        for (QLatin1String name : KeyGroupNames)
            values.append({name, ReadProfileString("Key co-ordinates", name, "", 200, layoutFile)});
        return values;
    }
    for (const KeyGroup& group : MakeKeyGroups(MakeKeyboard(legends.form), legends))
        values.append({group.name, group.value()});
    return values;
}

// Whether a pixel of `picture` holds ink, at the given darkness.
bool IsInk(const QImage& picture, int x, int y, int darkerThan) {
    return qGray(picture.pixel(x, y)) < darkerThan;
}

} // namespace

class TestKbPicGen : public QObject {
    Q_OBJECT

private slots:
    void keyboardGeometry_data();
    void keyboardGeometry();
    void singleKeyCovers();
    void legendFiles_data();
    void legendFiles();
    void legendFileFaults_data();
    void legendFileFaults();
    void legendQuoting();
    void groupCovers_data();
    void groupCovers();
    void groupMembers();
    void coordinateText_data();
    void coordinateText();
    void overlongValueFails();
    void replaceSections_data();
    void replaceSections();
    void replacedSectionsRead();
    void shippedPicture_data();
    void shippedPicture();
    void outlineCheckCatchesMisplacedRectangles();
    void stackedLegendsKeepApart_data();
    void stackedLegendsKeepApart();
    void updateRefusesMissingLayoutFile();
};

void TestKbPicGen::keyboardGeometry_data() {
    QTest::addColumn<Form>("form");
    QTest::addColumn<int>("keyCount");
    QTest::newRow("ansi") << Form::Ansi << 104;
    QTest::newRow("iso") << Form::Iso << 105;
}

void TestKbPicGen::keyboardGeometry() {
    QFETCH(Form, form);
    QFETCH(int, keyCount);
    const Keyboard keyboard = MakeKeyboard(form);
    QCOMPARE(keyboard.keys.size(), keyCount);

    const Box picture{0, 0, PictureWidth, PictureHeight};
    QVERIFY(picture.contains(keyboard.caseBox));
    QSet<QString> names;
    for (const Key& key : keyboard.keys) {
        QVERIFY2(!names.contains(key.name), qPrintable(key.name));
        names.insert(key.name);
        for (const Box& cell : key.cells())
            QVERIFY2(keyboard.caseBox.grown(-CaseMargin).contains(cell), qPrintable(key.name));
    }
    // Cells do not overlap, so outlines keep the white of two insets between them.
    for (qsizetype i = 0; i < keyboard.keys.size(); ++i)
        for (qsizetype j = i + 1; j < keyboard.keys.size(); ++j)
            for (const Box& cell : keyboard.keys[i].cells())
                QVERIFY2(!IntersectsAny(keyboard.keys[j].cells(), cell),
                         qPrintable(keyboard.keys[i].name + " " + keyboard.keys[j].name));

    QCOMPARE(keyboard.find("RTRN")->shape.size(), form == Form::Iso ? 2 : 1);
    QCOMPARE(keyboard.find("LSGT") != nullptr, form == Form::Iso);
    QCOMPARE(keyboard.find("AC12") != nullptr, form == Form::Iso);
    QCOMPARE(keyboard.find("BKSL") != nullptr, form == Form::Ansi);
    // The short left Shift of ISO leaves room for the extra key; both end where Z begins.
    QCOMPARE(keyboard.find("LFSH")->shape.front().width(), form == Form::Iso ? 72 : 136);
    const Key* z = keyboard.find("AB01");
    const Key* nextToZ = keyboard.find(form == Form::Iso ? "LSGT" : "LFSH");
    QCOMPARE(nextToZ->shape.front().right + 2 * KeyInset, z->shape.front().left);
}

void TestKbPicGen::singleKeyCovers() {
    // Covering one key gives exactly its area, the L of the ISO Enter too.
    for (Form form : {Form::Ansi, Form::Iso}) {
        const Keyboard keyboard = MakeKeyboard(form);
        for (const Key& key : keyboard.keys) {
            const QList<Box> cover = CoverKeys({&key});
            QVERIFY2(Covers(cover, key.shape) && Covers(key.shape, cover), qPrintable(key.name));
        }
    }
}

void TestKbPicGen::legendFiles_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<Form>("form");
    QTest::newRow("us") << "us.txt" << Form::Ansi;
    QTest::newRow("de") << "de.txt" << Form::Iso;
    QTest::newRow("fr") << "fr.txt" << Form::Iso;
    QTest::newRow("gb") << "gb.txt" << Form::Iso;
    QTest::newRow("es") << "es.txt" << Form::Iso;
    QTest::newRow("it") << "it.txt" << Form::Iso;
}

void TestKbPicGen::legendFiles() {
    QFETCH(QString, file);
    QFETCH(Form, form);
    QStringList errors;
    const auto set = LoadLegends(LayoutsDir + "/" + file, errors);
    QVERIFY2(set, qPrintable(errors.join('\n')));
    QCOMPARE(set->form, form);
    QCOMPARE(set->legends.size(), MakeKeyboard(form).keys.size());
    QVERIFY(!set->name.isEmpty());
}

void TestKbPicGen::legendFileFaults_data() {
    QString us;
    {
        QFile file(LayoutsDir + "/us.txt");
        QVERIFY(file.open(QIODevice::ReadOnly));
        us = QString::fromUtf8(file.readAll());
    }
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("error");
    QTest::newRow("no form") << QString(us).replace("form ansi", "") << "the form";
    QTest::newRow("unknown form") << QString(us).replace("form ansi", "form jis")
                                  << "line 4: the form must be ansi or iso";
    QTest::newRow("missing key") << QString(us).replace("AD05  T\n", "")
                                 << "key AD05 has no legend";
    QTest::newRow("key of the other form") << us + "LSGT < >\n"
                                           << "key LSGT is not a key of the ansi keyboard";
    QTest::newRow("unknown key") << us + "XY12 Q\n"
                                 << "key XY12 is not a key";
    QTest::newRow("twice") << us + "AD05 T\n"
                           << "key AD05 is given twice";
    QTest::newRow("no legend") << us + "FOO\n"
                               << "key FOO needs one to three legends";
    QTest::newRow("four legends") << QString(us).replace("AD05  T", "AD05 T t x y")
                                  << "key AD05 needs one to three legends";
    QTest::newRow("open quote") << QString(us).replace("AD05  T", "AD05 \"T")
                                << "a double quote is not closed";
    QTest::newRow("backslash at the end")
        << QString(us).replace("AD05  T", "AD05 T\\") << "a backslash ends the line";
}

void TestKbPicGen::legendFileFaults() {
    QFETCH(QString, text);
    QFETCH(QString, error);
    QStringList errors;
    QVERIFY(!ParseLegends(text, errors));
    QVERIFY2(errors.join('\n').contains(error), qPrintable(errors.join('\n')));
}

void TestKbPicGen::legendQuoting() {
    QString text;
    for (const Key& key : MakeKeyboard(Form::Ansi).keys)
        text += key.name + " x\n";
    text += "name  Test  layout\nform ansi\n";
    text.replace("BKSL x", R"(BKSL \\ |)");
    text.replace("AC11 x", R"(AC11 ' \" x)");
    text.replace("PGUP x", R"(PGUP "Page\nUp")");
    text.replace("SPCE x", R"(SPCE "")");
    text.replace("AD01 x", R"(AD01 Q "" @)");
    QStringList errors;
    const auto set = ParseLegends(text, errors);
    QVERIFY2(set, qPrintable(errors.join('\n')));
    QCOMPARE(set->name, "Test layout");
    QCOMPARE(set->legend("BKSL"), (Legend{"\\", "|", ""}));
    QCOMPARE(set->legend("AC11"), (Legend{"'", "\"", "x"}));
    QCOMPARE(set->legend("PGUP"), (Legend{"Page\nUp", "", ""}));
    QCOMPARE(set->legend("SPCE"), (Legend{"", "", ""}));
    QCOMPARE(set->legend("AD01"), (Legend{"Q", "", "@"}));
}

void TestKbPicGen::groupCovers_data() {
    legendFiles_data();
}

void TestKbPicGen::groupCovers() {
    QFETCH(QString, file);
    const LegendSet legends = LoadOrFail(file);
    const Keyboard keyboard = MakeKeyboard(legends.form);
    const QList<KeyGroup> groups = MakeKeyGroups(keyboard, legends);
    QCOMPARE(groups.size(), qsizetype(KeyGroupNames.size()));

    for (const KeyGroup& group : groups) {
        if (group.name == "entire") {
            QCOMPARE(group.boxes, QList<Box>{keyboard.caseBox});
            continue;
        }
        QVERIFY2(!group.keys.isEmpty(), qPrintable(group.name));
        QList<Box> memberCells;
        for (const Key* key : group.keys) {
            memberCells += key->cells();
            QVERIFY2(Covers(group.boxes, key->shape), qPrintable(group.name + " " + key->name));
        }
        // Nothing beyond the members' share of the grid, so no other key is touched.
        QVERIFY2(Covers(memberCells, group.boxes), qPrintable(group.name));
        for (const Key& key : keyboard.keys)
            if (!group.keys.contains(&key))
                for (const Box& box : key.shape)
                    QVERIFY2(!IntersectsAny(group.boxes, box),
                             qPrintable(group.name + " touches " + key.name));
    }

    // The keyboard's areas do not overlap, so each can react to the pointer where all are shown.
    const QStringList areas = {"typing", "computer", "function", "navigation", "numpad", "windows"};
    QList<const Key*> inAreas;
    for (const QString& a : areas) {
        for (const QString& b : areas)
            if (a < b)
                for (const Box& box : Group(groups, a).boxes)
                    QVERIFY2(!IntersectsAny(Group(groups, b).boxes, box), qPrintable(a + " " + b));
        inAreas += Group(groups, a).keys;
    }
    QCOMPARE(inAreas.size(), keyboard.keys.size()); // and together hold every key
}

void TestKbPicGen::groupMembers() {
    const Keyboard ansi = MakeKeyboard(Form::Ansi);
    const QList<KeyGroup> us = MakeKeyGroups(ansi, LoadOrFail("us.txt"));
    QCOMPARE(Group(us, "letter").keys.size(), 26);
    QCOMPARE(KeyNames(Group(us, "number").keys),
             QStringList(
                 {"AE01", "AE02", "AE03", "AE04", "AE05", "AE06", "AE07", "AE08", "AE09", "AE10"}));
    QCOMPARE(KeyNames(Group(us, "symbol").keys),
             QStringList({"AB08", "AB09", "AB10", "AC10", "AC11", "AD11", "AD12", "AE11", "AE12",
                          "BKSL", "TLDE"}));
    QCOMPARE(KeyNames(Group(us, "alt").keys), QStringList({"LALT", "RALT"}));
    QCOMPARE(KeyNames(Group(us, "altgr").keys), QStringList({"RALT"}));
    QCOMPARE(KeyNames(Group(us, "enter").keys), QStringList({"KPEN", "RTRN"}));
    QCOMPARE(KeyNames(Group(us, "windows").keys), QStringList({"COMP", "LWIN", "RWIN"}));
    QCOMPARE(Group(us, "function").keys.size(), 12);
    QCOMPARE(Group(us, "numpad").keys.size(), 17);
    QCOMPARE(KeyNames(Group(us, "computer").keys),
             QStringList({"ESC", "LALT", "LCTL", "PAUS", "PRSC", "RALT", "RCTL", "SCLK"}));
    QCOMPARE(Group(us, "typing").keys.size(), 61 - 3 - 4); // without Windows, Ctrl and Alt keys
    // Rows of neighbouring keys become one rectangle each.
    QCOMPARE(Group(us, "letter").boxes.size(), 3);
    QCOMPARE(Group(us, "number").boxes.size(), 1);
    QCOMPARE(Group(us, "function").boxes.size(), 3);

    const Keyboard iso = MakeKeyboard(Form::Iso);
    const QList<KeyGroup> de = MakeKeyGroups(iso, LoadOrFail("de.txt"));
    QCOMPARE(KeyNames(Group(de, "alt").keys), QStringList({"LALT"}));
    QCOMPARE(Group(de, "letter").keys.size(), 30); // with Ü, Ö, Ä and ß
    QVERIFY(KeyNames(Group(de, "symbol").keys).contains("LSGT"));
    QVERIFY(KeyNames(Group(de, "symbol").keys).contains("AC12"));
    QCOMPARE(Group(de, "enter").boxes.size(), 3); // the tall Enter's two parts, keypad Enter

    // On AZERTY the digits are typed with Shift, yet the digit row is still the number keys.
    const QList<KeyGroup> fr = MakeKeyGroups(iso, LoadOrFail("fr.txt"));
    QCOMPARE(Group(fr, "number").keys.size(), 10);
    QVERIFY(KeyNames(Group(fr, "letter").keys).contains("AC10")); // M
    QVERIFY(KeyNames(Group(fr, "letter").keys).contains("AC11")); // ù
    QVERIFY(KeyNames(Group(fr, "symbol").keys).contains("AB07")); // ,

    // The UK keyboard: QWERTY letters on the ISO form, with # ~ beside Enter and \ | beside Shift.
    const QList<KeyGroup> gb = MakeKeyGroups(iso, LoadOrFail("gb.txt"));
    QCOMPARE(Group(gb, "letter").keys.size(), 26);
    QCOMPARE(KeyNames(Group(gb, "symbol").keys),
             QStringList({"AB08", "AB09", "AB10", "AC10", "AC11", "AC12", "AD11", "AD12", "AE11",
                          "AE12", "LSGT", "TLDE"}));
    QCOMPARE(KeyNames(Group(gb, "alt").keys), QStringList({"LALT"}));
    QCOMPARE(KeyNames(Group(gb, "altgr").keys), QStringList({"RALT"}));

    // The Spanish º is a letter of Unicode without a case: a symbol key, as ´ and ¡ are.
    const QList<KeyGroup> es = MakeKeyGroups(iso, LoadOrFail("es.txt"));
    QCOMPARE(Group(es, "letter").keys.size(), 28); // with Ñ and Ç
    for (const char* symbol : {"TLDE", "AC11", "AE11", "AE12", "AD11", "LSGT"})
        QVERIFY2(KeyNames(Group(es, "symbol").keys).contains(symbol), symbol);
    QVERIFY(KeyNames(Group(es, "letter").keys).contains("AC10")); // Ñ
    QCOMPARE(KeyNames(Group(es, "altgr").keys), QStringList({"RALT"}));

    // The Italian accented vowels are letter keys, the apostrophe beside 0 a symbol key.
    const QList<KeyGroup> it = MakeKeyGroups(iso, LoadOrFail("it.txt"));
    const QStringList itLetters = KeyNames(Group(it, "letter").keys);
    QCOMPARE(itLetters.size(), 31);
    for (const char* vowel : {"AE12", "AD11", "AC10", "AC11", "AC12"}) // ì è ò à ù
        QVERIFY2(itLetters.contains(vowel), vowel);
    QVERIFY(KeyNames(Group(it, "symbol").keys).contains("AE11"));
    QCOMPARE(Group(it, "number").keys.size(), 10);
}

void TestKbPicGen::coordinateText_data() {
    legendFiles_data();
}

void TestKbPicGen::coordinateText() {
    QFETCH(QString, file);
    const LegendSet legends = LoadOrFail(file);
    const Keyboard keyboard = MakeKeyboard(legends.form);
    const QList<KeyGroup> groups = MakeKeyGroups(keyboard, legends);
    QStringList errors;
    const QStringList lines = CoordinateLines(groups, errors);
    QVERIFY2(errors.isEmpty(), qPrintable(errors.join('\n')));
    QCOMPARE(lines.size(), qsizetype(KeyGroupNames.size()));

    static const QRegularExpression format("^((,-?[0-9]+){4})+$");
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString name = KeyGroupNames[size_t(i)];
        QVERIFY2(lines[i].startsWith(name + "="), qPrintable(lines[i]));
        const QString value = lines[i].mid(name.size() + 1);
        QVERIFY2(format.match(value).hasMatch(), qPrintable(lines[i]));
        QVERIFY2(value.size() <= MaxValueLength, qPrintable(lines[i]));

        QList<Box> read = ParseValueFromTheEnd(value);
        std::reverse(read.begin(), read.end());
        QCOMPARE(read, groups[i].boxes);
    }
}

void TestKbPicGen::overlongValueFails() {
    KeyGroup many;
    many.name = "letter";
    for (int i = 0; i < 12; ++i) // 12 times ",1000,200,1100,300"
        many.boxes.append({1000, 200, 1100, 300});
    QStringList errors;
    QVERIFY(CoordinateLines({many}, errors).isEmpty());
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.front().contains("\"letter\"") && errors.front().contains("216"),
             qPrintable(errors.front()));
}

void TestKbPicGen::replaceSections_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("expected");
    const QByteArray block = "; made by kbpicgen\n[Bitmap]\nbitmap=us.bmp\n\n[Key co-ordinates]\n"
                             "entire=,1,2,3,4\n";
    QTest::newRow("appended after the last section")
        << QByteArray("[Messages]\ncontinue=Go on\n") << "[Messages]\ncontinue=Go on\n\n" + block;
    QTest::newRow("file without a last line end")
        << QByteArray("[Messages]\ncontinue=Go on") << "[Messages]\ncontinue=Go on\n\n" + block;
    QTest::newRow("empty file") << QByteArray() << block;
    QTest::newRow("replaced where it stood, with its comment")
        << QByteArray("; layout\n[Buttons]\nBack=B\n\n; old kbpicgen line\n[Bitmap]\nbitmap=old\n\n"
                      "[Messages]\nx=1\n\n[Key co-ordinates]\nentire=,0,0,9,9\nletter=,1,1,2,2\n\n"
                      "[Hints]\n; kept, names no generator\nprev=P\n")
        << "; layout\n[Buttons]\nBack=B\n\n" + block +
               "\n[Messages]\nx=1\n\n[Hints]\n; kept, names no generator\nprev=P\n";
    QTest::newRow("section names in any case, CR LF line ends")
        << QByteArray("[buttons]\r\nBack=B\r\n[ KEY CO-ORDINATES ]\r\nentire=,0,0,9,9\r\n")
        << "[buttons]\r\nBack=B\r\n\r\n" + QByteArray(block).replace("\n", "\r\n");
}

void TestKbPicGen::replaceSections() {
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, expected);
    const QString sections = GeneratedSections({"made by kbpicgen"}, "us.bmp", {"entire=,1,2,3,4"});
    const QByteArray once = ReplaceGeneratedSections(file, sections);
    QCOMPARE(once, expected);
    QCOMPARE(ReplaceGeneratedSections(once, sections), once); // running again changes nothing
}

void TestKbPicGen::replacedSectionsRead() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString fileName = dir.filePath("test.kb");
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(ReplaceGeneratedSections(
        "[Explanation texts]\ntitle-0=Welcome\n",
        GeneratedSections({"made by kbpicgen"}, "us.bmp", {"entire=,28,33,1508,489"})));
    file.close();
    QCOMPARE(ReadProfileString("Bitmap", "bitmap", "", 10, fileName), "us.bmp");
    QCOMPARE(ReadProfileString("Key co-ordinates", "entire", "", 200, fileName), ",28,33,1508,489");
    QCOMPARE(ReadProfileString("Explanation texts", "title-0", "", 200, fileName), "Welcome");
}

void TestKbPicGen::shippedPicture_data() {
    QTest::addColumn<QString>("layoutFile");
    QTest::addColumn<QString>("legendFile");
    QTest::addColumn<QString>("pictureFile");
    QTest::newRow("us") << "en-US.kb"
                        << "us.txt"
                        << "us.bmp";
    QTest::newRow("de") << "de-DE.kb"
                        << "de.txt"
                        << "de.bmp";
    QTest::newRow("fr") << "fr-FR.kb"
                        << "fr.txt"
                        << "fr.bmp";
    QTest::newRow("gb") << "en-GB.kb"
                        << "gb.txt"
                        << "gb.bmp";
    QTest::newRow("es") << "es-ES.kb"
                        << "es.txt"
                        << "es.bmp";
    QTest::newRow("it") << "it-IT.kb"
                        << "it.txt"
                        << "it.bmp";
}

void TestKbPicGen::shippedPicture() {
    QFETCH(QString, layoutFile);
    QFETCH(QString, legendFile);
    QFETCH(QString, pictureFile);
    QImage picture(DataDir + "/" + pictureFile);
    QVERIFY2(!picture.isNull(), qPrintable("data/" + pictureFile + " does not load"));
    QCOMPARE(picture.size(), QSize(PictureWidth, PictureHeight));
    // Black on white: only greys, white at the corners, pure black in the lines.
    picture = picture.convertToFormat(QImage::Format_RGB32);
    bool black = false;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb p = picture.pixel(x, y);
            QVERIFY(qRed(p) == qGreen(p) && qGreen(p) == qBlue(p));
            black = black || p == qRgb(0, 0, 0);
        }
    QVERIFY(black);
    for (QPoint corner : {QPoint(0, 0), QPoint(PictureWidth - 1, PictureHeight - 1)})
        QCOMPARE(picture.pixel(corner), qRgb(255, 255, 255));

    const LegendSet legends = LoadOrFail(legendFile);
    const QString layoutPath = DataDir + "/" + layoutFile;
    bool fromLayoutFile = false;
    const auto values = ShippedCoordinates(layoutPath, legends, &fromLayoutFile);
    QStringList faults;
    for (const auto& [name, value] : values) {
        QVERIFY2(!value.isEmpty(), qPrintable(name));
        faults += OutlineFaults(picture, name, ParseValueFromTheEnd(value));
    }
    // Every key of the picture's keyboard sits on its outline.
    for (const Key& key : MakeKeyboard(legends.form).keys)
        faults += OutlineFaults(picture, key.name, key.shape);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));

    if (fromLayoutFile) {
        QCOMPARE(ReadProfileString("Bitmap", "bitmap", "", 10, layoutPath), pictureFile);
        // The layout file holds what the generator makes now: regenerate both when this fails.
        const QList<KeyGroup> generated = MakeKeyGroups(MakeKeyboard(legends.form), legends);
        for (qsizetype i = 0; i < generated.size(); ++i)
            QCOMPARE(values[i].second, generated[i].value());
    }
}

void TestKbPicGen::outlineCheckCatchesMisplacedRectangles() {
    const QImage picture = QImage(DataDir + "/us.bmp").convertToFormat(QImage::Format_RGB32);
    QVERIFY(!picture.isNull());
    const Keyboard keyboard = MakeKeyboard(Form::Ansi);
    const Key& q = *keyboard.find("AD01");
    const Box box = q.shape.front();
    QVERIFY(OutlineFaults(picture, "Q", {box}).isEmpty());
    for (int shift : {-2, 2}) {
        QVERIFY(!OutlineFaults(picture, "Q", {{box.left + shift, box.top, box.right, box.bottom}})
                     .isEmpty());
        QVERIFY(!OutlineFaults(picture, "Q", {{box.left, box.top, box.right, box.bottom + shift}})
                     .isEmpty());
    }
    const Box everything{0, 0, PictureWidth, PictureHeight};
    QVERIFY(!OutlineFaults(picture, "all", {everything}).isEmpty());
    QVERIFY(!OutlineFaults(picture, "off", {{1500, 500, 1600, 600}}).isEmpty());
}

void TestKbPicGen::stackedLegendsKeepApart_data() {
    legendFiles_data();
}

void TestKbPicGen::stackedLegendsKeepApart() {
    // The Shift legend sits above the main one without touching it, also where a cedilla or a
    // descender above meets an accent below (ç over ò). The main legends alone are drawn by
    // giving every Shift legend no ink; what the whole picture has in addition is Shift ink.
    QFETCH(QString, file);
    const LegendSet legends = LoadOrFail(file);
    const Keyboard keyboard = MakeKeyboard(legends.form);
    LegendSet mainOnly = legends;
    QList<const Key*> stacked;
    for (const Key& key : keyboard.keys) {
        Legend& legend = mainOnly.legends[key.name];
        if (legend.upper.size() == 1 && legend.main.size() == 1) {
            legend.upper = " ";
            stacked.append(&key);
        }
    }
    QVERIFY(!stacked.isEmpty());
    const QImage whole = DrawKeyboard(keyboard, legends);
    const QImage mains = DrawKeyboard(keyboard, mainOnly);

    QStringList touching;
    for (const Key* key : stacked) {
        const Box& box = key->shape.front();
        bool touches = false;
        for (int y = box.top + LineWidth + 1; y < box.bottom - LineWidth - 1 && !touches; ++y)
            for (int x = box.left + LineWidth + 1; x < box.right - LineWidth - 1 && !touches; ++x) {
                if (!IsInk(whole, x, y, 128) || IsInk(mains, x, y, 250))
                    continue; // not Shift ink
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        touches = touches || IsInk(mains, x + dx, y + dy, 250);
            }
        if (touches)
            touching << key->name + " " + legends.legend(key->name).upper + " over " +
                            legends.legend(key->name).main;
    }
    QVERIFY2(touching.isEmpty(), qPrintable(touching.join(", ")));
}

void TestKbPicGen::updateRefusesMissingLayoutFile() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString layout = dir.filePath("xx-YY.kb");
    const QString picture = dir.filePath("xx.bmp");
    QProcess kbpicgen;
    kbpicgen.start(QStringLiteral(KBPICGEN),
                   {"--picture", picture, "--update", layout, LayoutsDir + "/us.txt"});
    QVERIFY(kbpicgen.waitForFinished(60000));
    QCOMPARE(kbpicgen.exitStatus(), QProcess::NormalExit);
    QVERIFY(kbpicgen.exitCode() != 0);
    const QString errors = QString::fromUtf8(kbpicgen.readAllStandardError());
    QVERIFY2(errors.contains(layout + " does not exist"), qPrintable(errors));
    // Neither a layout file of the picture's sections alone nor a picture is left behind.
    QVERIFY(!QFile::exists(layout));
    QVERIFY(!QFile::exists(picture));
}

QTEST_MAIN(TestKbPicGen)
#include "tst_kbpicgen.moc"
