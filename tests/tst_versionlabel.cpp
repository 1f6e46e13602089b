// The version label: its caption from the program file's version record, with every kind of
// missing or unusual record, and its cache.

#include "Version.h"
#include "VersionRecord.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace VersionRecord;

Q_DECLARE_METATYPE(std::optional<VersionRecord::TVersionInfo>)

namespace {

TVersionInfo WithFileVersion(const QString& fileVersion) {
    return ProgramVersionInfo(fileVersion);
}

} // namespace

class TestVersionLabel : public QObject {
    Q_OBJECT

    QTemporaryDir Dir;
    QString ProgramFile;
    int Reads = 0;

    // Makes the program file hold `contents`, with a version record of `info` in the middle.
    void WriteProgram(const std::optional<TVersionInfo>& info) {
        QFile file(ProgramFile);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArray(4096, '\x7f'));
        if (info)
            file.write(EncodeRecord(*info));
        file.write(QByteArray(1024, '\0'));
    }

private slots:
    void init() {
        ProgramFile = Dir.filePath("program");
        Reads = 0;
        SetProgramFileNameFunction([this] {
            ++Reads;
            return ProgramFile;
        });
    }

    void cleanup() { SetProgramFileNameFunction({}); }

    void captionShowsTheFileVersionOnceLoaded() {
        WriteProgram(WithFileVersion("1.1.3.0"));
        TVersionLabel label;
        label.setText("Version 4.0.14.11");
        QCOMPARE(label.text(), "Version 4.0.14.11"); // nothing read before the form is loaded
        QCOMPARE(Reads, 0);
        label.Loaded();
        QCOMPARE(label.text(), "Version 1.1.3.0");
    }

    void withoutARecordTheCaptionEndsAfterTheBlank_data() {
        QTest::addColumn<bool>("fileExists");
        QTest::addColumn<std::optional<TVersionInfo>>("info");
        TVersionInfo noTranslation = WithFileVersion("1.0");
        noTranslation.Translations.clear();
        TVersionInfo noTable = WithFileVersion("1.0");
        noTable.StringTables.clear();
        TVersionInfo noFileVersion = WithFileVersion("1.0");
        noFileVersion.StringTables[0].Entries = {{"ProductVersion", "1.0"}};
        TVersionInfo otherTable = WithFileVersion("1.0");
        otherTable.StringTables[0].CodePage = 0x04B0;

        QTest::newRow("no program file") << false << std::optional<TVersionInfo>();
        QTest::newRow("no record") << true << std::optional<TVersionInfo>();
        QTest::newRow("no translation") << true << std::optional(noTranslation);
        QTest::newRow("no string table") << true << std::optional(noTable);
        QTest::newRow("no FileVersion") << true << std::optional(noFileVersion);
        QTest::newRow("table of another code page") << true << std::optional(otherTable);
    }

    void withoutARecordTheCaptionEndsAfterTheBlank() {
        QFETCH(bool, fileExists);
        QFETCH(std::optional<TVersionInfo>, info);
        if (fileExists)
            WriteProgram(info);
        else
            QFile::remove(ProgramFile);
        TVersionLabel label;
        label.Loaded();
        QCOMPARE(label.text(), "Version ");
        QCOMPARE(label.GetVersion(), QString());
    }

    void aFailedReadingIsTriedAgain() {
        WriteProgram(std::nullopt);
        TVersionLabel label;
        QCOMPARE(label.GetVersion(), QString());
        WriteProgram(WithFileVersion("3.1.4.1"));
        QCOMPARE(label.GetVersion(), "3.1.4.1");
    }

    void aSuccessfulReadingIsKeptWithoutReadingAgain() {
        WriteProgram(WithFileVersion("1.1.3.0"));
        TVersionLabel label;
        QCOMPARE(label.GetVersion(), "1.1.3.0");
        const int reads = Reads;
        QFile::remove(ProgramFile);
        QCOMPARE(label.GetVersion(), "1.1.3.0");
        label.Loaded();
        QCOMPARE(label.text(), "Version 1.1.3.0");
        QCOMPARE(Reads, reads);
    }

    void theFirstOfSeveralTranslationsIsUsed() {
        TVersionInfo info;
        // The first translation's table is stored second, and a table of a later translation
        // comes first.
        info.Translations = {{0x0407, 0x04E4}, {0x0409, 0x04E4}};
        info.StringTables = {
            {0x0409, 0x04E4, {{"FileVersion", "1.0.0.0"}}},
            {0x0407, 0x04E4, {{"FileVersion", "2.5.0.1"}}},
        };
        WriteProgram(info);
        TVersionLabel label;
        label.Loaded();
        QCOMPARE(label.text(), "Version 2.5.0.1");
    }

    void aLongVersionIsCutToTheCache() {
        const QString longVersion = QString(70, QLatin1Char('9'));
        WriteProgram(WithFileVersion(longVersion));
        TVersionLabel label;
        QCOMPARE(label.GetVersion(), longVersion.left(TVersionLabel::VersionCapacity));
        QVERIFY(TVersionLabel::VersionCapacity >= 64);
    }

    void aCutNeverSplitsACharacter() {
        // 63 digits, then a two-byte character across the 64th byte.
        const QString version = QString(63, QLatin1Char('1')) + QString::fromUtf8("é") + "2";
        WriteProgram(WithFileVersion(version));
        TVersionLabel label;
        QCOMPARE(label.GetVersion(), QString(63, QLatin1Char('1')));
    }

    void theRunningProgramsOwnRecordIsRead() {
        SetProgramFileNameFunction({});
        TVersionLabel label;
        label.Loaded();
        QCOMPARE(label.text(), QStringLiteral("Version " FW_PROJECT_VERSION));
    }
};

QTEST_MAIN(TestVersionLabel)
#include "tst_versionlabel.moc"
