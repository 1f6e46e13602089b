// kbcheck, the program a teacher runs on layout files: each rule finds its fault in a layout file
// broken on purpose, reports it on the right line in the "file:line: message" form and exits
// with 1; clean files give no output and 0, unreadable ones 2.

#include "TestSupport.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <algorithm>

namespace {

constexpr int Clean = 0;
constexpr int Findings = 1;
constexpr int Unreadable = 2;

const QString Kbcheck = QStringLiteral(KBCHECK);
const QString DataDir = QStringLiteral(FW_DATA_DIR);

struct TRun {
    int Status = -1;
    QStringList Output; // the lines of standard output
    QString Errors;
};

TRun RunKbcheck(const QStringList& files) {
    QProcess process;
    process.start(Kbcheck, files);
    TRun run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.Status = process.exitCode();
    run.Output =
        QString::fromUtf8(process.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    run.Errors = QString::fromUtf8(process.readAllStandardError());
    return run;
}

QByteArray ReadData(const QString& name) {
    QFile file(QDir(DataDir).filePath(name));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(file.fileName()));
    return file.readAll();
}

// The 1-based number of the first line of the text that starts with the prefix; 0 if none.
int LineStarting(const QByteArray& text, const QByteArray& prefix) {
    const QList<QByteArray> lines = text.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (lines[i].startsWith(prefix))
            return int(i + 1);
    return 0;
}

// The text with the first line that starts with the prefix replaced (the replacement may hold
// several lines).
QByteArray ReplaceLine(const QByteArray& text, const QByteArray& prefix,
                       const QByteArray& replacement) {
    QList<QByteArray> lines = text.split('\n');
    for (QByteArray& line : lines)
        if (line.startsWith(prefix)) {
            line = replacement;
            break;
        }
    return lines.join('\n');
}

} // namespace

class TestKbcheck : public QObject {
    Q_OBJECT

private slots:
    void shippedLayoutsAreClean();
    void brokenLayout_data();
    void brokenLayout();
    void unreadableFiles_data();
    void unreadableFiles();
};

void TestKbcheck::shippedLayoutsAreClean() {
    const QStringList files = ShippedLayoutFiles();
    QVERIFY(!files.isEmpty());
    const TRun run = RunKbcheck(files);
    QVERIFY2(run.Output.isEmpty(), qPrintable(run.Output.join(u'\n')));
    QCOMPARE(run.Status, Clean);
}

void TestKbcheck::brokenLayout_data() {
    // Each row breaks one rule in a copy of the US layout file: the line that starts with
    // `target` becomes `replacement`. The finding stands on the line that starts with `lineOf`
    // (the target when empty), moved down by `below` lines.
    QTest::addColumn<QByteArray>("target");
    QTest::addColumn<QByteArray>("replacement");
    QTest::addColumn<QString>("finding");
    QTest::addColumn<QByteArray>("lineOf");
    QTest::addColumn<int>("below");

    const QByteArray longText(250, 'x');
    // clang-format off
    QTest::newRow("text cut at 199") << QByteArray("explanation-0=") << "explanation-0=" + longText
        << "has 250 characters: the program cuts it to 199" << QByteArray() << 0;
    QTest::newRow("description cut at 29") << QByteArray("descr-letter=")
        << QByteArray("descr-letter=Letters: type the letters a to z")
        << "has 32 characters: the program cuts it to 29" << QByteArray() << 0;
    QTest::newRow("picture name cut at 9") << QByteArray("bitmap=") << QByteArray("bitmap=keyboards.bmp")
        << "has 13 characters: the program cuts it to 9" << QByteArray() << 0;
    QTest::newRow("numbered-lines prefix cut at 99") << QByteArray("thisisline=")
        << "thisisline=\"" + QByteArray(100, 'y') + " \""
        << "has 101 characters: the program cuts it to 99" << QByteArray() << 0;
    QTest::newRow("page without title between titled pages") << QByteArray("title-4=")
        << QByteArray("title-4=") << "page 5 has no title, so the program skips it between pages 4 and 6"
        << QByteArray() << 0;
    QTest::newRow("image names no key group") << QByteArray("image-3=") << QByteArray("image-3=letters")
        << "\"letters\" names no key group" << QByteArray() << 0;
    QTest::newRow("image differs in case") << QByteArray("image-3=") << QByteArray("image-3=Letter")
        << "\"Letter\" differs from the key group \"letter\" in case" << QByteArray() << 0;
    QTest::newRow("image of a group without co-ordinates") << QByteArray("letter=")
        << QByteArray("letter=") << "page 4 shows the key group \"letter\", which has no co-ordinates"
        << QByteArray("image-3=") << 0;
    QTest::newRow("co-ordinates without leading comma") << QByteArray("letter=")
        << QByteArray("letter=148,217,780,273") << "do not start with a comma" << QByteArray() << 0;
    QTest::newRow("co-ordinate not an integer") << QByteArray("letter=")
        << QByteArray("letter=,148,217,78O,273") << "\"78O\" in the co-ordinates of \"letter\" is not an integer"
        << QByteArray() << 0;
    QTest::newRow("co-ordinates not in fours") << QByteArray("letter=")
        << QByteArray("letter=,148,217,780,273,164") << "hold 5 numbers, not a multiple of four"
        << QByteArray() << 0;
    QTest::newRow("rectangle outside the picture") << QByteArray("letter=")
        << QByteArray("letter=,148,217,1600,273") << "(148, 217, 1600, 273) of \"letter\" lies outside"
        << QByteArray() << 0;
    QTest::newRow("empty rectangle") << QByteArray("letter=")
        << QByteArray("letter=,780,217,148,273") << "(780, 217, 148, 273) of \"letter\" is empty"
        << QByteArray() << 0;
    QTest::newRow("co-ordinates of no key group") << QByteArray("letter=")
        << QByteArray("letters=,148,217,780,273\nletter=,148,217,780,273")
        << "letters is no key group name" << QByteArray("letters=") << 0;
    QTest::newRow("reacting group without description") << QByteArray("descr-letter=")
        << QByteArray("descr-letter=") << "\"letter\" reacts to the pointer but has no description"
        << QByteArray() << 0;
    QTest::newRow("description of no key group") << QByteArray("descr-letter=")
        << QByteArray("descr-letter=Letters\ndescr-letters=Letters") << "descr-letters names no key group"
        << QByteArray() << 1;
    QTest::newRow("picture missing") << QByteArray("bitmap=") << QByteArray("bitmap=none.bmp")
        << "the keyboard picture none.bmp is missing" << QByteArray() << 0;
    QTest::newRow("picture not readable") << QByteArray("bitmap=") << QByteArray("bitmap=broken.kb")
        << "the keyboard picture broken.kb is not a readable picture" << QByteArray() << 0;
    QTest::newRow("exercise without correction") << QByteArray("correction-2=")
        << QByteArray("correction-2=") << "page 3 gives an empty typing box for an exercise but no correction"
        << QByteArray() << 0;
    QTest::newRow("correction longer than a line") << QByteArray("correction-2=")
        << "correction-2=" + QByteArray("Type this whole sentence, which goes on and on, far beyond "
                                        "the right edge of the typing box, so that it wraps.")
        << "the correction is longer than a line of the typing box" << QByteArray() << 0;
    QTest::newRow("correction equals the starting line") << QByteArray("correction-3=")
        << QByteArray("correction-3=keyboad") << "the correction already equals the first line that page 4"
        << QByteArray() << 0;
    QTest::newRow("caret beyond the text") << QByteArray("caret-3=") << QByteArray("caret-3=10")
        << "caret-3 is 10, beyond the end of the 9 characters" << QByteArray() << 0;
    QTest::newRow("caret inside a line break") << QByteArray("caret-15=") << QByteArray("caret-15=14")
        << "caret-15 is 14, inside a line break" << QByteArray() << 0;
    QTest::newRow("caret not a number") << QByteArray("caret-3=") << QByteArray("caret-3=six")
        << "caret-3 is not a plain number" << QByteArray() << 0;
    QTest::newRow("correction on a hidden page") << QByteArray("line1-0=")
        << QByteArray("line1-0=hidden\ncorrection-0=hi") << "page 1 hides the typing box"
        << QByteArray() << 1;
    QTest::newRow("second line under numbered lines") << QByteArray("line1-17=")
        << QByteArray("line1-17=lines\nline2-17=more") << "line2-17 is never read" << QByteArray() << 1;
    QTest::newRow("neither UTF-8 nor Windows-1252") << QByteArray("title-0=")
        << QByteArray("title-0=Welcome \x81") << "neither UTF-8 nor Windows-1252: byte 0x81"
        << QByteArray() << 0;
    QTest::newRow("key given twice") << QByteArray("title-0=")
        << QByteArray("title-0=Welcome\ntitle-0=Hello") << "[Explanation texts] title-0 is given again"
        << QByteArray() << 1;
    QTest::newRow("caption runs into the symbol") << QByteArray("Exit=")
        << QByteArray("Exit=Leave the program") << "the caption \"Leave the program\" is wider than its button"
        << QByteArray() << 0;
    QTest::newRow("explorer's Close caption runs into the symbol") << QByteArray("Close=")
        << QByteArray("Close=Schließen") << "the caption \"Schließen\" is wider than its button"
        << QByteArray() << 0;
    QTest::newRow("unclosed section line") << QByteArray("[Buttons]") << QByteArray("[Buttons")
        << "a section line is a name in square brackets" << QByteArray("[Buttons") << 0;
    QTest::newRow("line that is no key=value") << QByteArray("[Buttons]")
        << QByteArray("[Buttons]\nBack Back") << "neither a section line nor key=value" << QByteArray() << 1;
    QTest::newRow("key position outside the picture") << QByteArray("KP7=")
        << QByteArray("KP7=,1500,217,1556,273,Keypad 7") << "the rectangle (1500, 217, 1556, 273) of key KP7 lies outside the picture"
        << QByteArray() << 0;
    QTest::newRow("key positions overlapping") << QByteArray("KP8=")
        << QByteArray("KP8=,1280,217,1348,273,Keypad 8") << "key KP8 overlaps key KP7"
        << QByteArray() << 0;
    QTest::newRow("key position without a name") << QByteArray("KP9=")
        << QByteArray("KP9=,1364,217,1420,273") << "the position of key KP9 is not"
        << QByteArray() << 0;
    QTest::newRow("key position name cut at 199") << QByteArray("KP9=")
        << "KP9=,1364,217,1420,273," + QByteArray(190, 'k') << "has 209 characters: the program cuts it to 199"
        << QByteArray() << 0;
    QTest::newRow("key before the first section") << QByteArray("; Fingerwise")
        << QByteArray("title-0=Hello") << "title-0 stands before the first section"
        << QByteArray("title-0=Hello") << 0;
    QTest::newRow("window text missing") << QByteArray("continue=") << QByteArray("continue=")
        << "[Messages] continue is missing or empty" << QByteArray() << 0;
    QTest::newRow("numbered-lines prefix without blank") << QByteArray("thisisline=")
        << QByteArray("thisisline=This is line number") << "thisisline must end in a blank"
        << QByteArray() << 0;
    QTest::newRow("titled page without explanation") << QByteArray("explanation-5=")
        << QByteArray("explanation-5=") << "page 6 has a title but no explanation" << QByteArray() << 0;
    // clang-format on
}

void TestKbcheck::brokenLayout() {
    QFETCH(QByteArray, target);
    QFETCH(QByteArray, replacement);
    QFETCH(QString, finding);
    QFETCH(QByteArray, lineOf);
    QFETCH(int, below);

    const QByteArray original = ReadData(QStringLiteral("en-US.kb"));
    QVERIFY2(LineStarting(original, target) > 0, target.constData());
    const QByteArray broken = ReplaceLine(original, target, replacement);
    const int line = LineStarting(broken, lineOf.isEmpty() ? target : lineOf) + below;

    TProgramFolder folder;
    folder.Write(QStringLiteral("us.bmp"), ReadData(QStringLiteral("us.bmp")));
    const QString file = folder.Write(QStringLiteral("broken.kb"), broken);

    const TRun run = RunKbcheck({file});
    QCOMPARE(run.Status, Findings);
    const QString expected = QStringLiteral("%1:%2: ").arg(file).arg(line);
    const auto hit = std::find_if(run.Output.begin(), run.Output.end(), [&](const QString& out) {
        return out.startsWith(expected) && out.contains(finding);
    });
    QVERIFY2(
        hit != run.Output.end(),
        qPrintable(
            QStringLiteral("no \"%1%2\" in:\n%3").arg(expected, finding, run.Output.join(u'\n'))));
    // Every line of the report has the form that editors jump to.
    const QRegularExpression form(u'^' + QRegularExpression::escape(file) + ":[1-9][0-9]*: \\S");
    for (const QString& out : run.Output)
        QVERIFY2(form.match(out).hasMatch(), qPrintable(out));
}

void TestKbcheck::unreadableFiles_data() {
    QTest::addColumn<QString>("name");
    QTest::addRow("missing file") << QStringLiteral("absent.kb");
    QTest::addRow("a folder") << QStringLiteral("folder.kb");
}

void TestKbcheck::unreadableFiles() {
    QFETCH(QString, name);
    TProgramFolder folder;
    QVERIFY(QDir(folder.Path()).mkdir(QStringLiteral("folder.kb")));
    const QString clean = QDir(DataDir).filePath(QStringLiteral("en-US.kb"));
    const QString unreadable = folder.FilePath(name);

    // A file that cannot be read gives 2, also beside a clean one, and names itself.
    const TRun run = RunKbcheck({clean, unreadable});
    QCOMPARE(run.Status, Unreadable);
    QVERIFY(run.Output.isEmpty());
    QVERIFY2(run.Errors.contains(unreadable + QStringLiteral(": cannot be read")),
             qPrintable(run.Errors));

    // No file at all gives 2 and the usage.
    const TRun none = RunKbcheck({});
    QCOMPARE(none.Status, Unreadable);
    QVERIFY(none.Errors.contains(QStringLiteral("usage")));
}

QTEST_GUILESS_MAIN(TestKbcheck)

#include "tst_kbcheck.moc"
