#include "CheckedFile.h"
#include "IniFile.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <sys/stat.h>

namespace {

// A hostile file system entry made under a name.
using MakeEntry = std::function<void(const QString& path)>;

void MakePipe(const QString& path) {
    QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
}

MakeEntry LinkTo(const QString& target) {
    return [target](const QString& path) { QVERIFY(QFile::link(target, path)); };
}

void MakeDirectory(const QString& path) {
    QVERIFY(QDir().mkdir(path));
}

QByteArray Utf16(const QString& text, QStringConverter::Encoding encoding) {
    QStringEncoder encoder(encoding, QStringConverter::Flag::WriteBom);
    return encoder(text);
}

} // namespace

Q_DECLARE_METATYPE(MakeEntry)

class TestIniFile : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

    QString write(const QByteArray& bytes, const QString& name = QStringLiteral("t.ini")) {
        const QString path = dir.filePath(name);
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(bytes);
        return path;
    }

    static QByteArray contents(const QString& path) {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }

    static QString read(const QString& file, const QString& section, const QString& key,
                        int buffer = 200) {
        return ReadProfileString(section, key, QStringLiteral("<default>"), buffer, file);
    }

    static void setModified(const QString& path, const QDateTime& time) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(time, QFileDevice::FileModificationTime));
    }

private slots:
    void readsThroughTheSyntaxOfHandWrittenFiles() {
        const QString file = write("; a comment line\r\n"
                                   "# another comment\r\n"
                                   "[General]\r\n"
                                   "  Keyboard  =   en-US  \r\n"
                                   "quoted = \"  spaced  \"\r\n"
                                   "single='x'\r\n"
                                   "mismatched=\"abc'\r\n"
                                   "empty=\r\n"
                                   "keyboard=second\r\n"
                                   "[ Other ]\n"
                                   "keyboard=other\n"
                                   "[general]\n"
                                   "keyboard=third\n"
                                   "late=from the repeated section\n");
        QCOMPARE(read(file, "general", "KEYBOARD"), QString("en-US"));
        QCOMPARE(read(file, "General", "quoted"), QString("  spaced  "));
        QCOMPARE(read(file, "General", "single"), QString("x"));
        QCOMPARE(read(file, "General", "mismatched"), QString("\"abc'"));
        QCOMPARE(read(file, "General", "empty"), QString(""));
        QCOMPARE(read(file, "other", "keyboard"), QString("other"));
        QCOMPARE(read(file, "General", "late"), QString("from the repeated section"));
        QCOMPARE(read(file, "General", "; a comment line"), QString("<default>"));
        QCOMPARE(read(file, "Missing", "keyboard"), QString("<default>"));
        QCOMPARE(read(file, "General", "missing"), QString("<default>"));
        QCOMPARE(read(dir.filePath("no-such-file.ini"), "General", "keyboard"),
                 QString("<default>"));
    }

    void cutsValuesToTheBufferWithoutSplittingCharacters() {
        const QString file = write("[s]\nlong=" + QByteArray(250, 'a') +
                                   "\n"
                                   "emoji=ab\xF0\x9F\x98\x80"
                                   "cd\n");
        QCOMPARE(read(file, "s", "long").size(), 199);
        QCOMPARE(read(file, "s", "long", 10), QString(9, 'a'));
        QCOMPARE(read(file, "s", "emoji", 4), QString::fromUtf8("ab\xF0\x9F\x98\x80"));
        QCOMPARE(read(file, "s", "emoji", 3), QString("ab"));
        QCOMPARE(read(file, "s", "emoji", 1), QString());
        QCOMPARE(ReadProfileString("s", "missing", "default", 4, file), QString("def"));
    }

    void decodesUtf8WithOrWithoutMarkAndFallsBackToWindows1252() {
        const QString bom = write("\xEF\xBB\xBF[s]\nk=Gr\xC3\xBC\xC3\x9F"
                                  "e\n",
                                  "bom.ini");
        QCOMPARE(read(bom, "s", "k"), QString::fromUtf8("Grüße"));
        const QString plain = write("[s]\nk=\xE2\x82\xAC 5\n", "utf8.ini");
        QCOMPARE(read(plain, "s", "k"), QString::fromUtf8("€ 5"));
        const QString legacy = write("[s]\nk=Gr\xFC\xDF"
                                     "e \x80 \x93x\x94\n",
                                     "cp1252.ini");
        QCOMPARE(read(legacy, "s", "k"), QString::fromUtf8("Grüße € “x”"));
    }

    void readsNumbersLikeThePlatform() {
        const QString file = write("[s]\na=42\nb=-7\nc=+3\nd=12abc\ne=abc\nf=\ng=99999999999\n"
                                   "h=-99999999999\ni= 15 \n");
        auto number = [&](const char* key) { return ReadProfileInt("s", key, 1234, file); };
        QCOMPARE(number("a"), 42);
        QCOMPARE(number("b"), -7);
        QCOMPARE(number("c"), 3);
        QCOMPARE(number("d"), 12);
        QCOMPARE(number("e"), 0);
        QCOMPARE(number("f"), 1234);
        QCOMPARE(number("g"), INT_MAX);
        QCOMPARE(number("h"), INT_MIN);
        QCOMPARE(number("i"), 15);
        QCOMPARE(number("missing"), 1234);
    }

    void writesOneValueAndKeepsEveryOtherLine() {
        const QByteArray original = "; settings\r\n[General]\r\nkeyboard = old\r\nother=1\r\n"
                                    "\r\n[Next]\r\nkeyboard=keep\r\n";
        const QString file = write(original);
        QVERIFY(WriteProfileString("General", "KEYBOARD", "de-DE", file));
        QCOMPARE(contents(file), QByteArray("; settings\r\n[General]\r\nkeyboard = de-DE\r\n"
                                            "other=1\r\n\r\n[Next]\r\nkeyboard=keep\r\n"));
        QCOMPARE(read(file, "General", "keyboard"), QString("de-DE"));
    }

    void addsMissingKeysAndSections() {
        const QString file = write("[General]\nother=1\n\n[Next]\nx=y\n");
        QVERIFY(WriteProfileString("General", "keyboard", "en-US", file));
        QCOMPARE(contents(file), QByteArray("[General]\nother=1\nkeyboard=en-US\n\n[Next]\nx=y\n"));
        QVERIFY(WriteProfileString("Added", "k", "v", file));
        QCOMPARE(contents(file),
                 QByteArray("[General]\nother=1\nkeyboard=en-US\n\n[Next]\nx=y\n[Added]\nk=v\n"));

        const QString unterminated = write("[General]\r\nother=1", "unterminated.ini");
        QVERIFY(WriteProfileString("General", "keyboard", "x", unterminated));
        QCOMPARE(contents(unterminated), QByteArray("[General]\r\nother=1\r\nkeyboard=x"));

        const QString fresh = dir.filePath("fresh.ini");
        QVERIFY(WriteProfileString("General", "keyboard", "en-US", fresh));
        QCOMPARE(contents(fresh), QByteArray("[General]\nkeyboard=en-US\n"));
    }

    void writingKeepsEncodingAndRoundTripsOddValues() {
        const QString legacy = write("[s]\nname=Gr\xFC\xDF"
                                     "e\nk=1\n",
                                     "legacy.ini");
        QVERIFY(WriteProfileString("s", "k", QString::fromUtf8("é"), legacy));
        QCOMPARE(contents(legacy), QByteArray("[s]\nname=Gr\xFC\xDF"
                                              "e\nk=\xE9\n"));

        const QString bom = write("\xEF\xBB\xBF[s]\nk=1\n", "bomw.ini");
        QVERIFY(WriteProfileString("s", "k", QString::fromUtf8("ü"), bom));
        QCOMPARE(contents(bom), QByteArray("\xEF\xBB\xBF[s]\nk=\xC3\xBC\n"));

        const QString odd = write("", "odd.ini");
        QVERIFY(WriteProfileString("s", "k", "  padded ", odd));
        QCOMPARE(read(odd, "s", "k"), QString("  padded "));
        QVERIFY(WriteProfileString("s", "q", "\"quoted\"", odd));
        QCOMPARE(read(odd, "s", "q"), QString("\"quoted\""));
    }

    void hostileFilesReadAsTheDefault_data() {
        QTest::addColumn<MakeEntry>("make");
        QTest::addColumn<QString>("expected");
        const QByteArray found = "[s]\nk=found\n";
        auto sized = [this, found](qint64 size) {
            return MakeEntry([this, found, size](const QString& path) {
                write(found + QByteArray(size - found.size(), ';'), QFileInfo(path).fileName());
            });
        };
        QTest::newRow("named pipe") << MakeEntry(MakePipe) << "<default>";
        QTest::newRow("link to the zero device") << LinkTo("/dev/zero") << "<default>";
        QTest::newRow("directory") << MakeEntry(MakeDirectory) << "<default>";
        QTest::newRow("one byte over 4 MiB") << sized(MaxProfileFileSize + 1) << "<default>";
        QTest::newRow("4 MiB exactly") << sized(MaxProfileFileSize) << "found";
    }

    // No name can block the reader (a pipe without a writer), feed it without end (a device) or
    // fill the memory (a huge file): all read as a missing file.
    void hostileFilesReadAsTheDefault() {
        QFETCH(MakeEntry, make);
        QFETCH(QString, expected);
        const QString path = dir.filePath(QTest::currentDataTag() + QStringLiteral(".kb"));
        make(path);
        QCOMPARE(read(path, "s", "k"), expected);
        QCOMPARE(ReadProfileInt("s", "k", 7, path), expected == "found" ? 0 : 7);
    }

    void settingsNeverGoThroughLinksOrSpecialFiles_data() {
        QTest::addColumn<MakeEntry>("make");
        QTest::addColumn<QString>("target"); // what a link leads to: must stay as it was
        const QString outside = dir.filePath("outside/system.conf");
        QTest::newRow("link to a file elsewhere") << LinkTo(outside) << outside;
        const QString dangling = dir.filePath("outside/created.conf");
        QTest::newRow("dangling link") << LinkTo(dangling) << dangling;
        QTest::newRow("named pipe") << MakeEntry(MakePipe) << QString();
        QTest::newRow("directory") << MakeEntry(MakeDirectory) << QString();
    }

    void settingsNeverGoThroughLinksOrSpecialFiles() {
        QFETCH(MakeEntry, make);
        QFETCH(QString, target);
        QVERIFY(QDir().mkpath(dir.filePath("outside")));
        const QByteArray system = "root:x:0:0\n";
        write(system, "outside/system.conf");
        const QString path = dir.filePath(QTest::currentDataTag() + QStringLiteral(".ini"));
        make(path);
        const QFileInfo before(path);

        const ProfileWriteResult result = WriteProfileString("General", "keyboard", "x", path);
        QCOMPARE(result.Status, ProfileWriteStatus::NotAFile);
        QVERIFY(result.FileUnusable());
        QCOMPARE(contents(dir.filePath("outside/system.conf")), system);
        QVERIFY(!QFile::exists(dir.filePath("outside/created.conf")));
        QCOMPARE(QFileInfo(path).isSymLink(), before.isSymLink());
        QCOMPARE(QFileInfo(path).isDir(), before.isDir());
        if (!target.isEmpty())
            QCOMPARE(QFileInfo(path).symLinkTarget(), target);
    }

    void decodesUtf16WithAMark_data() {
        QTest::addColumn<QByteArray>("bytes");
        const QString text = QString::fromUtf8("[Messages]\r\ncontinue=Grüße € \U0001F600\r\n");
        QTest::newRow("little-endian") << Utf16(text, QStringConverter::Utf16LE);
        QTest::newRow("big-endian") << Utf16(text, QStringConverter::Utf16BE);
    }

    void decodesUtf16WithAMark() {
        QFETCH(QByteArray, bytes);
        const QString file = write(bytes, "unicode.kb");
        QCOMPARE(read(file, "messages", "continue"), QString::fromUtf8("Grüße € \U0001F600"));
    }

    void rewritingKeepsTheByteOrderMark_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("UTF-8 mark before Windows-1252")
            << QByteArray("\xEF\xBB\xBF[General]\nname=Gr\xFC\xDF"
                          "e\nkeyboard=old\n")
            << QByteArray("\xEF\xBB\xBF[General]\nname=Gr\xFC\xDF"
                          "e\nkeyboard=de-DE\n");
        // A zero-width no-break space after the mark is text, not a second mark.
        QTest::newRow("UTF-8 mark before U+FEFF")
            << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF; note\n[General]\nname=Gr\xC3\xBC\xC3\x9F"
                          "e\nkeyboard=old\n")
            << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF; note\n[General]\nname=Gr\xC3\xBC\xC3\x9F"
                          "e\nkeyboard=de-DE\n");
        const QString text = QString::fromUtf8("[General]\r\nname=Grüße\r\nkeyboard=old\r\n");
        QString written = text;
        written.replace("old", "de-DE");
        for (auto [name, encoding] : {std::pair("UTF-16 little-endian", QStringConverter::Utf16LE),
                                      std::pair("UTF-16 big-endian", QStringConverter::Utf16BE)})
            QTest::newRow(name) << Utf16(text, encoding) << Utf16(written, encoding);
    }

    void rewritingKeepsTheByteOrderMark() {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        const QString file = write(before, "marked.ini");
        QVERIFY(WriteProfileString("General", "keyboard", "de-DE", file));
        QCOMPARE(contents(file), after);
        QCOMPARE(read(file, "General", "name"), QString::fromUtf8("Grüße"));
    }

    // A file is decoded once per version; a new version is told by its identity, size or
    // modification time, and one too recent to be told from a rewrite in the same clock tick is
    // read afresh.
    void readsEveryNewVersionOfAFile() {
        const QDateTime past = QDateTime::currentDateTime().addSecs(-3600);
        const QString file = write("[s]\nk=aaaa\n", "cached.ini");
        setModified(file, past);
        QCOMPARE(read(file, "s", "k"), QString("aaaa"));

        write("[s]\nk=bbbb\n", "cached.ini"); // same file, same size, modified now
        QCOMPARE(read(file, "s", "k"), QString("bbbb"));
        write("[s]\nk=cccc\n", "cached.ini"); // again within the same moment
        QCOMPARE(read(file, "s", "k"), QString("cccc"));

        setModified(file, past.addSecs(60));
        QCOMPARE(read(file, "s", "k"), QString("cccc"));
        write("[s]\nk=dddd\n", "replacement.ini"); // another file renamed over it
        setModified(dir.filePath("replacement.ini"), past.addSecs(60));
        QVERIFY(QFile::remove(file));
        QVERIFY(QFile::rename(dir.filePath("replacement.ini"), file));
        QCOMPARE(read(file, "s", "k"), QString("dddd"));
    }

    void refusesLineBreaksAndUnwritableFiles() {
        const QString file = write("[General]\nkeyboard=old\n");
        for (const char* value : {"evil\n[General]\nkeyboard=x", "a\rb"}) {
            const ProfileWriteResult result =
                WriteProfileString("General", "keyboard", value, file);
            QCOMPARE(result.Status, ProfileWriteStatus::Refused);
            QVERIFY(!result.FileUnusable());
        }
        QCOMPARE(contents(file), QByteArray("[General]\nkeyboard=old\n"));
        QCOMPARE(
            WriteProfileString("General", "keyboard", "x", dir.filePath("no/such/dir.ini")).Status,
            ProfileWriteStatus::Failed);
    }
};

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
