#include "IniFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

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

    void refusesLineBreaksAndUnwritableFiles() {
        const QString file = write("[General]\nkeyboard=old\n");
        QVERIFY(!WriteProfileString("General", "keyboard", "evil\n[General]\nkeyboard=x", file));
        QVERIFY(!WriteProfileString("General", "keyboard", "a\rb", file));
        QCOMPARE(contents(file), QByteArray("[General]\nkeyboard=old\n"));
        QVERIFY(!WriteProfileString("General", "keyboard", "x", dir.filePath("no/such/dir.ini")));
    }
};

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
