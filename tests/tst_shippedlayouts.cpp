// Checks every layout file shipped in data/ (*.kb) the way the program will read it: each value
// fits the buffer it is read into, the thirty pages exist and name real key groups, and every
// typing exercise can be completed.

#include "IniFile.h"
#include "KeyMap.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QStringDecoder>
#include <QTest>

namespace {

const QStringList GroupNames(KeyGroupNames.begin(), KeyGroupNames.end());

constexpr int PageCount = 30;
constexpr int LinesModeLineCount = 100;
constexpr int UnlimitedBuffer = 1 << 20;

const QString Pages = QStringLiteral("Explanation texts");

// One "key=value" line of a layout file, as written.
struct RawEntry {
    int lineNumber = 0;
    QString section;
    QString key;
};

// The result of reading a layout file line by line.
struct RawFile {
    QList<RawEntry> entries;
    QStringList syntaxErrors;
};

bool IsBlank(QChar ch) {
    return ch == u' ' || ch == u'\t' || ch == u'\r';
}

QString TrimBlanks(const QString& text) {
    qsizetype begin = 0, end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

RawFile ReadRawFile(const QString& path) {
    RawFile raw;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        raw.syntaxErrors << QStringLiteral("cannot be opened");
        return raw;
    }
    const QByteArray bytes = file.readAll();
    QStringDecoder decoder(QStringConverter::Utf8);
    const QString text = decoder(bytes);
    if (decoder.hasError())
        raw.syntaxErrors << QStringLiteral("is not valid UTF-8");

    QString section;
    const QStringList lines = text.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int lineNumber = int(i + 1);
        const QString line = TrimBlanks(lines[i]);
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[')) {
            if (!line.endsWith(u']') || line.size() < 3)
                raw.syntaxErrors << QStringLiteral("line %1: bad section line").arg(lineNumber);
            section = TrimBlanks(line.mid(1, line.size() - 2));
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        const QString key = eq < 0 ? QString() : TrimBlanks(line.left(eq));
        if (key.isEmpty())
            raw.syntaxErrors
                << QStringLiteral("line %1: neither a section nor key=value").arg(lineNumber);
        else if (section.isEmpty())
            raw.syntaxErrors << QStringLiteral("line %1: key outside a section").arg(lineNumber);
        else
            raw.entries.append({lineNumber, section, key});
    }
    return raw;
}

// The buffer size (in characters, with the terminator) that the program reads a value into.
int BufferSize(const QString& section, const QString& key) {
    if (section.compare("Messages", Qt::CaseInsensitive) == 0 &&
        key.compare("thisisline", Qt::CaseInsensitive) == 0)
        return 100;
    if (section.compare("Key descriptions", Qt::CaseInsensitive) == 0)
        return 30;
    if (section.compare("Bitmap", Qt::CaseInsensitive) == 0 &&
        key.compare("bitmap", Qt::CaseInsensitive) == 0)
        return 10;
    return 200;
}

QString LayoutFilesDir() {
    return QStringLiteral(FW_DATA_DIR);
}

QStringList ShippedLayoutFiles() {
    QStringList files;
    const QDir dir(LayoutFilesDir());
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name))
        if (name.endsWith(".kb", Qt::CaseInsensitive))
            files << dir.filePath(name);
    return files;
}

// A page of a layout file, read with the program's buffer sizes.
class Page {
public:
    Page(const QString& fileName, int index)
        : fileName(fileName)
        , index(index) {}

    QString Text(const QString& stem) const {
        return ReadProfileString(Pages, Key(stem), QString(), 200, fileName);
    }

    bool Has(const QString& stem) const {
        const QString missing = QStringLiteral("\x01missing");
        return ReadProfileString(Pages, Key(stem), missing, UnlimitedBuffer, fileName) != missing;
    }

    QString RawValue(const QString& stem) const {
        return ReadProfileString(Pages, Key(stem), QString(), UnlimitedBuffer, fileName);
    }

    bool IsHidden() const { return Text("line1").compare("hidden", Qt::CaseInsensitive) == 0; }
    bool IsNumberedLines() const {
        return Text("line1").compare("lines", Qt::CaseInsensitive) == 0;
    }

    // The lines the typing box starts with (not for hidden pages).
    QStringList StartingLines() const {
        QStringList lines;
        if (IsNumberedLines()) {
            const QString prefix =
                ReadProfileString("Messages", "thisisline", "This is line number ", 100, fileName);
            for (int n = 1; n <= LinesModeLineCount; ++n)
                lines << prefix + QString::number(n);
            return lines;
        }
        for (const QString& stem : {QStringLiteral("line1"), QStringLiteral("line2")})
            if (!Text(stem).isEmpty())
                lines << Text(stem);
        return lines;
    }

    QString StartingFirstLine() const {
        const QStringList lines = StartingLines();
        return lines.isEmpty() ? QString() : lines.first();
    }

    // Length of the typing box's starting text, each line ending in a two-character line break.
    int StartingTextLength() const {
        int length = 0;
        for (const QString& line : StartingLines())
            length += int(line.size()) + 2;
        return length;
    }

    // Offsets that fall between the two characters of a line break.
    QList<int> OffsetsInsideLineBreaks() const {
        QList<int> offsets;
        int lineStart = 0;
        for (const QString& line : StartingLines()) {
            offsets << lineStart + int(line.size()) + 1;
            lineStart += int(line.size()) + 2;
        }
        return offsets;
    }

private:
    QString Key(const QString& stem) const { return QStringLiteral("%1-%2").arg(stem).arg(index); }

    QString fileName;
    int index;
};

bool IsPlainNumber(const QString& text) {
    if (text.isEmpty())
        return false;
    for (QChar ch : text)
        if (!ch.isDigit())
            return false;
    return true;
}

void AddFileRows() {
    QTest::addColumn<QString>("fileName");
    const QStringList files = ShippedLayoutFiles();
    for (const QString& file : files)
        QTest::newRow(qPrintable(QFileInfo(file).fileName())) << file;
}

} // namespace

class TestShippedLayouts : public QObject {
    Q_OBJECT

private slots:
    void layoutFilesAreShipped() { QVERIFY(!ShippedLayoutFiles().isEmpty()); }

    void fileSyntax_data() { AddFileRows(); }
    void fileSyntax() {
        QFETCH(QString, fileName);
        const RawFile raw = ReadRawFile(fileName);
        QVERIFY2(raw.syntaxErrors.isEmpty(), qPrintable(raw.syntaxErrors.join("; ")));

        // A repeated key would be ignored: the first one wins, also across repeated sections.
        QHash<QString, int> seen;
        for (const RawEntry& entry : raw.entries) {
            const QString id = entry.section.toLower() + u'\n' + entry.key.toLower();
            QVERIFY2(!seen.contains(id),
                     qPrintable(QStringLiteral("[%1] %2 on line %3 repeats line %4")
                                    .arg(entry.section, entry.key)
                                    .arg(entry.lineNumber)
                                    .arg(seen.value(id))));
            seen.insert(id, entry.lineNumber);
        }
    }

    void valuesFitTheirBuffers_data() { AddFileRows(); }
    void valuesFitTheirBuffers() {
        QFETCH(QString, fileName);
        for (const RawEntry& entry : ReadRawFile(fileName).entries) {
            const int buffer = BufferSize(entry.section, entry.key);
            const QString whole =
                ReadProfileString(entry.section, entry.key, QString(), UnlimitedBuffer, fileName);
            const QString read =
                ReadProfileString(entry.section, entry.key, QString(), buffer, fileName);
            QVERIFY2(
                read == whole,
                qPrintable(QStringLiteral("[%1] %2 (line %3) has %4 characters, at most %5 are "
                                          "read")
                               .arg(entry.section, entry.key)
                               .arg(entry.lineNumber)
                               .arg(whole.toUcs4().size())
                               .arg(buffer - 1)));
        }
    }

    void windowTextsAreComplete_data() { AddFileRows(); }
    void windowTextsAreComplete() {
        QFETCH(QString, fileName);
        const QList<QPair<QString, QString>> required = {
            {"Messages", "continue"},  {"Messages", "congrats0"},  {"Messages", "congrats1"},
            {"Messages", "congrats2"}, {"Messages", "thisisline"}, {"Messages", "layout"},
            {"Buttons", "Back"},       {"Buttons", "Next"},        {"Buttons", "Exit"},
            {"Buttons", "OK"},         {"Hints", "prev"},          {"Hints", "next"},
            {"Hints", "exit"},         {"Hints", "layout"},        {"Hints", "about"},
            {"Menus", "layout"},       {"Menus", "about"},         {"Bitmap", "bitmap"}};
        for (const auto& [section, key] : required)
            QVERIFY2(!ReadProfileString(section, key, QString(), 200, fileName).isEmpty(),
                     qPrintable(QStringLiteral("[%1] %2 is missing").arg(section, key)));

        // The numbered lines read "prefix" followed by the number, so the prefix ends in a blank.
        const QString prefix =
            ReadProfileString("Messages", "thisisline", QString(), 100, fileName);
        QVERIFY2(prefix.endsWith(u' '), qPrintable(prefix));
    }

    void keyDescriptions_data() { AddFileRows(); }
    void keyDescriptions() {
        QFETCH(QString, fileName);
        // "entire" never reacts to the pointer; every other group shows its description.
        for (const QString& group : GroupNames.mid(1))
            QVERIFY2(
                !ReadProfileString("Key descriptions", "descr-" + group, QString(), 30, fileName)
                     .isEmpty(),
                qPrintable("descr-" + group + " is missing"));

        for (const RawEntry& entry : ReadRawFile(fileName).entries) {
            if (entry.section.compare("Key descriptions", Qt::CaseInsensitive) != 0)
                continue;
            const QString group = entry.key.mid(6);
            QVERIFY2(entry.key.startsWith("descr-", Qt::CaseInsensitive) &&
                         GroupNames.contains(group, Qt::CaseInsensitive),
                     qPrintable(entry.key + " names no key group"));
        }
    }

    void pages_data() {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<int>("index");
        for (const QString& file : ShippedLayoutFiles())
            for (int index = 0; index < PageCount; ++index)
                QTest::addRow("%s page %d", qPrintable(QFileInfo(file).fileName()), index + 1)
                    << file << index;
    }
    void pages() {
        QFETCH(QString, fileName);
        QFETCH(int, index);
        const Page page(fileName, index);

        QVERIFY2(!page.Text("title").isEmpty(), "the page has no title");
        QVERIFY2(!page.Text("explanation").isEmpty(), "the page has no explanation");
        QVERIFY2(!page.Text("task").isEmpty(), "the page has no task");

        // The picture's lookup of the group respects case.
        const QString image = page.Text("image");
        QVERIFY2(image.isEmpty() || GroupNames.contains(image),
                 qPrintable(image + " is no key group name"));

        const QString correction = page.Text("correction");
        if (page.IsHidden()) {
            // The hidden box holds whatever the page before left in it.
            QVERIFY2(correction.isEmpty(), "a hidden typing box cannot be checked");
            return;
        }

        if (page.IsNumberedLines())
            QVERIFY2(!page.Has("line2"), "the numbered lines take no second line");

        if (page.Has("caret")) {
            const QString caret = page.RawValue("caret");
            QVERIFY2(IsPlainNumber(caret), qPrintable("caret is no plain number: " + caret));
        }
        const int caret = ReadProfileInt(Pages, QStringLiteral("caret-%1").arg(index), 0, fileName);
        QVERIFY2(caret <= page.StartingTextLength(),
                 qPrintable(QStringLiteral("caret %1 lies beyond the text of %2 characters")
                                .arg(caret)
                                .arg(page.StartingTextLength())));
        QVERIFY2(!page.OffsetsInsideLineBreaks().contains(caret), "the caret splits a line break");

        if (!correction.isEmpty()) {
            QVERIFY2(correction != page.StartingFirstLine(),
                     qPrintable("the first line already equals the correction: " + correction));
        }
    }
};

QTEST_APPLESS_MAIN(TestShippedLayouts)

#include "tst_shippedlayouts.moc"
