#include "DirIterators.h"
#include "LayoutFile.h"
#include "TypingText.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestLayoutLogic : public QObject {
    Q_OBJECT

private slots:
    void settingsFileSitsBesideTheProgram() {
        QCOMPARE(SettingsFilePath("/opt/app/fingerwise"), QString("/opt/app/fingerwise.ini"));
        QCOMPARE(SettingsFilePath("/opt/app/fingerwise.exe"), QString("/opt/app/fingerwise.ini"));
        QCOMPARE(SettingsFilePath("/opt/app.d/fingerwise"), QString("/opt/app.d/fingerwise.ini"));
        QCOMPARE(SettingsFilePath("/opt/app.d/finger.wise.bin"),
                 QString("/opt/app.d/finger.wise.ini"));
        QCOMPARE(ProgramDirectory("/opt/app.d/fingerwise"), QString("/opt/app.d"));
        QCOMPARE(LayoutFilePath("/opt/app", "en-US"), QString("/opt/app/en-US.kb"));
        QCOMPARE(PageKey("title", 1), QString("title-0"));
        QCOMPARE(PageKey("correction", 30), QString("correction-29"));
    }

    void layoutsBesideTheProgramComeBeforeTheDataDirectory() {
        // An installed program keeps its data in <prefix>/share/fingerwise.
        QCOMPARE(DataDirectory("/usr/bin/fingerwise"), QString("/usr/share/fingerwise"));
        QCOMPARE(DataDirectory("/opt/fw/bin/fingerwise"), QString("/opt/fw/share/fingerwise"));

        QTemporaryDir prefix;
        QVERIFY(QDir(prefix.path()).mkpath("bin") &&
                QDir(prefix.path()).mkpath("share/fingerwise"));
        const QString program = prefix.filePath("bin/fingerwise");
        const QString data = prefix.filePath("share/fingerwise");
        QCOMPARE(DataDirectory(program), data);
        QCOMPARE(LayoutDirectory(program), data);
        // A folder named like a layout file is no layout file.
        QVERIFY(QDir(prefix.path()).mkpath("bin/folder.kb"));
        QCOMPARE(LayoutDirectory(program), data);
        // A layout file beside the program makes it a portable copy, whatever the data holds.
        QFile beside(prefix.filePath("bin/en-US.KB"));
        QVERIFY(beside.open(QIODevice::WriteOnly));
        beside.close();
        QCOMPARE(LayoutDirectory(program), prefix.filePath("bin"));
    }

    // Where the program's folder cannot take the settings file (no such folder, or the name is a
    // link), the choice goes to the user's own file; a name beside the program always wins.
    void theChoiceIsRememberedWhereItCanBe_data() {
        QTest::addColumn<QString>("beside");    // the settings file beside the program
        QTest::addColumn<QString>("user");      // the user's own settings file
        QTest::addColumn<QString>("writtenTo"); // where the choice lands; empty: nowhere
        QTest::newRow("portable copy") << "fingerwise.ini"
                                       << "config/fingerwise.ini"
                                       << "fingerwise.ini";
        QTest::newRow("program folder gone") << "gone/fingerwise.ini"
                                             << "config/fingerwise.ini"
                                             << "config/fingerwise.ini";
        QTest::newRow("settings beside are a link") << "link.ini"
                                                    << "config/fingerwise.ini"
                                                    << "config/fingerwise.ini";
        QTest::newRow("neither") << "gone/fingerwise.ini"
                                 << "file/fingerwise.ini"
                                 << "";
        QTest::newRow("no user folder known") << "gone/fingerwise.ini"
                                              << ""
                                              << "";
    }

    void theChoiceIsRememberedWhereItCanBe() {
        QFETCH(QString, beside);
        QFETCH(QString, user);
        QFETCH(QString, writtenTo);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QFile file(dir.filePath("file")); // a file where the user's folder would be made
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(QFile::link(dir.filePath("elsewhere.ini"), dir.filePath("link.ini")));
        const auto path = [&](const QString& name) {
            return name.isEmpty() ? QString() : dir.filePath(name);
        };
        const TSettingsFiles files{path(beside), path(user)};

        QCOMPARE(RememberLayoutName(files, "de-DE"), !writtenTo.isEmpty());
        QCOMPARE(ReadRememberedLayout(files), writtenTo.isEmpty() ? QString() : "de-DE");
        if (!writtenTo.isEmpty())
            QCOMPARE(ReadLayoutText(path(writtenTo), "General", "keyboard"), QString("de-DE"));
        QVERIFY(!QFile::exists(dir.filePath("elsewhere.ini")));
    }

    void aLayoutNamedBesideTheProgramWins() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const TSettingsFiles files{dir.filePath("fingerwise.ini"), dir.filePath("user.ini")};
        QVERIFY(RememberLayoutName({files.User, QString()}, "fr-FR"));
        QCOMPARE(ReadRememberedLayout(files), QString("fr-FR"));
        QVERIFY(RememberLayoutName(files, "en-GB"));
        QCOMPARE(ReadRememberedLayout(files), QString("en-GB"));
        QCOMPARE(ReadLayoutText(files.User, "General", "keyboard"), QString("fr-FR"));
    }

    void caretOffsetsCountTwoPerLineBreak() {
        const QString text = "abc\ndef\n";
        const QList<QPair<int, int>> offsetToPosition = {
            {0, 0}, {3, 3}, {4, 3}, {5, 4}, {7, 6}, {10, 8}, {11, 8}, {5000, 8}, {-3, 0}};
        for (auto [offset, position] : offsetToPosition)
            QCOMPARE(CaretOffsetToPosition(text, offset), position);
        for (int position : {0, 3, 4, 6, 8})
            QCOMPARE(CaretOffsetToPosition(text, PositionToCaretOffset(text, position)), position);
        QCOMPARE(PositionToCaretOffset(text, 8), 10);
        const QString lines = NumberedLines("This is line number ");
        QCOMPARE(PositionToCaretOffset(lines, lines.size()), 2392);
        QCOMPARE(ExerciseText("", ""), QString());
        QCOMPARE(ExerciseText("", "b"), QString("b\n"));
        QCOMPARE(ExerciseText("a", "b"), QString("a\nb\n"));
    }

    void modesAndColours() {
        QCOMPARE(TypingModeOf("HIDDEN"), TypingMode::Hidden);
        QCOMPARE(TypingModeOf("Lines"), TypingMode::NumberedLines);
        QCOMPARE(TypingModeOf(" lines"), TypingMode::Exercise);
        QCOMPARE(TypingModeOf(""), TypingMode::Exercise);
        // Carries pass from red into green and from green into blue; one out of blue is lost.
        QCOMPARE(NextTypingColor(0x0000E0), 0x33CD13);
        QCOMPARE(NextTypingColor(0x00FF00), 0x34CB33);
        QCOMPARE(NextTypingColor(0xFFFFFF), 0x33CC32);
    }

    void wildcardsIgnoreCase() {
        QVERIFY(MatchesWildcard("en-US.kb", "*.kb"));
        QVERIFY(MatchesWildcard("UPPER.KB", "*.kb"));
        QVERIFY(MatchesWildcard("en.us.kb", "*.kb"));
        QVERIFY(MatchesWildcard(".kb", "*.kb"));
        QVERIFY(!MatchesWildcard("en.kbd", "*.kb"));
        QVERIFY(!MatchesWildcard("kb", "*.kb"));
        QVERIFY(MatchesWildcard("a.kb.kb", "*.kb"));
        QVERIFY(MatchesWildcard("abc", "a?c"));
        QCOMPARE(BaseName({"en.us.kb", false}), QString("en.us"));
        QCOMPARE(BaseName({"noextension", false}), QString());
    }
};

QTEST_GUILESS_MAIN(TestLayoutLogic)
#include "tst_layoutlogic.moc"
