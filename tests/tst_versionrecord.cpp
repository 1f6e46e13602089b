// The version record: what the writer stores is what the reader finds, in a file among other
// bytes, and the reader survives files without a record or with a damaged one.

#include "VersionRecord.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace VersionRecord;

namespace {

TVersionInfo TwoTranslations() {
    TVersionInfo info;
    info.Translations = {{0x0407, 0x04E4}, {0x0409, 0x04B0}};
    info.StringTables = {
        {0x0409, 0x04B0, {{"FileVersion", "1.0.0.0"}, {"ProductName", "English"}}},
        {0x0407, 0x04E4, {{"FileVersion", "2.0.0.7"}, {"ProductName", QString::fromUtf8("Übung")}}},
    };
    return info;
}

QByteArray Junk(int size, char seed) {
    QByteArray junk(size, '\0');
    for (int i = 0; i < size; ++i)
        junk[i] = char(seed + i * 31);
    return junk;
}

// The value of `path` in the block of the file, or a null text when it is not found.
QByteArray Query(const QString& fileName, const QString& path) {
    const std::uint32_t size = GetFileVersionInfoSize(fileName);
    if (size == 0)
        return {};
    QByteArray block(size + 1, '\0');
    if (!GetFileVersionInfo(fileName, size + 1, block.data()))
        return {};
    const char* value = nullptr;
    std::uint32_t length = 0;
    if (!VerQueryValue(block.constData(), size, path, &value, &length))
        return {};
    return QByteArray(value, length);
}

QString Text(const QByteArray& value) {
    return QString::fromUtf8(value.constData());
}

} // namespace

class TestVersionRecord : public QObject {
    Q_OBJECT

    QTemporaryDir Dir;

    QString Write(const QString& name, const QByteArray& contents) {
        const QString fileName = Dir.filePath(name);
        QFile file(fileName);
        if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
            qFatal("cannot write %s", qPrintable(fileName));
        return fileName;
    }

private slots:
    void recordAmongOtherBytesIsFoundWithAllItsValues() {
        const QString fileName =
            Write("program", Junk(5000, 3) + EncodeRecord(TwoTranslations()) + Junk(3000, 7));
        QCOMPARE(GetFileVersionInfoSize(fileName),
                 std::uint32_t(EncodeBlock(TwoTranslations()).size()));

        const QByteArray translations = Query(fileName, "\\VarFileInfo\\Translation");
        QCOMPARE(translations.size(), 8);
        QCOMPARE(qFromLittleEndian<std::uint32_t>(translations.constData()), 0x04E40407u);
        QCOMPARE(qFromLittleEndian<std::uint32_t>(translations.constData() + 4), 0x04B00409u);

        QCOMPARE(Text(Query(fileName, "\\StringFileInfo\\040704E4\\FileVersion")), "2.0.0.7");
        QCOMPARE(Text(Query(fileName, "\\StringFileInfo\\040904B0\\FileVersion")), "1.0.0.0");
        QCOMPARE(Text(Query(fileName, "\\StringFileInfo\\040704E4\\ProductName")),
                 QString::fromUtf8("Übung"));
        // Text values end with their zero inside the block.
        QCOMPARE(Query(fileName, "\\StringFileInfo\\040704E4\\FileVersion"),
                 QByteArray("2.0.0.7", 8));
    }

    void namesMatchWithoutRegardToCase() {
        const QString fileName = Write("cases", EncodeRecord(ProgramVersionInfo("1.1.3.0")));
        QCOMPARE(Text(Query(fileName, "\\StringFileInfo\\040904e4\\FileVersion")), "1.1.3.0");
        QCOMPARE(Text(Query(fileName, "\\stringfileinfo\\040904E4\\FILEVERSION")), "1.1.3.0");
        QVERIFY(Query(fileName, "\\StringFileInfo\\040904e4\\FileVersio").isNull());
        QVERIFY(Query(fileName, "\\StringFileInfo\\040704e4\\FileVersion").isNull());
    }

    void programRecordHoldsOneTranslationAndTheVersion() {
        const QString fileName =
            Write("program-record", EncodeRecord(ProgramVersionInfo("9.8.7.6")));
        const QByteArray translations = Query(fileName, "\\VarFileInfo\\Translation");
        QCOMPARE(translations.size(), 4);
        QCOMPARE(qFromLittleEndian<std::uint32_t>(translations.constData()), 0x04E40409u);
        QCOMPARE(Text(Query(fileName, "\\StringFileInfo\\040904E4\\FileVersion")), "9.8.7.6");
        QCOMPARE(Text(Query(fileName, "\\StringFileInfo\\040904E4\\CompanyName")),
                 "Brightmoss Software");
    }

    void damagedOrChanceMarksArePassedOver() {
        const QByteArray good = EncodeRecord(ProgramVersionInfo("1.2.3.4"));
        QByteArray damaged = EncodeRecord(ProgramVersionInfo("6.6.6.6"));
        damaged[damaged.size() - 3] = char(damaged[damaged.size() - 3] ^ 0x20); // checksum fails
        const QByteArray markOnly = good.left(8) + Junk(40, 1);
        QByteArray tooLong = good.left(16) + Junk(20, 9);
        qToLittleEndian(std::uint32_t(0x7FFFFFFF), tooLong.data() + 8); // length beyond the file

        const QString fileName =
            Write("chance", markOnly + tooLong + damaged + Junk(100, 5) + good + Junk(10, 2));
        QCOMPARE(Text(Query(fileName, "\\StringFileInfo\\040904E4\\FileVersion")), "1.2.3.4");
    }

    void filesWithoutAValidRecordGiveNothing_data() {
        QTest::addColumn<QByteArray>("contents");
        const QByteArray record = EncodeRecord(ProgramVersionInfo("1.1.3.0"));
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("other bytes") << Junk(10000, 4);
        QTest::newRow("cut short") << Junk(100, 4) + record.left(record.size() - 1);
        QTest::newRow("header only") << record.left(16);
        QTest::newRow("mark at the very end") << Junk(100, 4) + record.left(10);
    }

    void filesWithoutAValidRecordGiveNothing() {
        QFETCH(QByteArray, contents);
        const QString fileName = Write("invalid", contents);
        QCOMPARE(GetFileVersionInfoSize(fileName), 0u);
        char buffer[64];
        QVERIFY(!GetFileVersionInfo(fileName, sizeof(buffer), buffer));
    }

    void missingFileGivesNothing() {
        QCOMPARE(GetFileVersionInfoSize(Dir.filePath("no such file")), 0u);
        QCOMPARE(GetFileVersionInfoSize(QString()), 0u);
        char buffer[64];
        QVERIFY(!GetFileVersionInfo(Dir.filePath("no such file"), sizeof(buffer), buffer));
    }

    void shortBufferGetsTheBlockCut() {
        const QString fileName = Write("short", EncodeRecord(ProgramVersionInfo("1.1.3.0")));
        const QByteArray block = EncodeBlock(ProgramVersionInfo("1.1.3.0"));
        QByteArray buffer(20, 'x');
        QVERIFY(GetFileVersionInfo(fileName, 10, buffer.data()));
        QCOMPARE(buffer.left(10), block.left(10));
        QCOMPARE(buffer.mid(10), QByteArray(10, 'x'));
    }

    // Blocks whose lengths point outside them are read without going out of bounds.
    void damagedBlocksAreRejectedByTheLookUp() {
        const QByteArray block = EncodeBlock(ProgramVersionInfo("1.1.3.0"));
        const QString path = "\\StringFileInfo\\040904E4\\FileVersion";
        const char* value = nullptr;
        std::uint32_t length = 0;
        QVERIFY(VerQueryValue(block.constData(), block.size(), path, &value, &length));

        QVERIFY(!VerQueryValue(block.constData(), 8, path, &value, &length));
        QVERIFY(!VerQueryValue(block.constData(), block.size() - 1, path, &value, &length));
        for (int offset = 0; offset + 4 <= block.size(); offset += 4) {
            for (std::uint32_t bad : {0u, 3u, 13u, 0xFFFFFFF0u}) {
                QByteArray damaged = block;
                qToLittleEndian(bad, damaged.data() + offset);
                // Either found inside the block or not found; never a value reaching outside.
                if (VerQueryValue(damaged.constData(), damaged.size(), path, &value, &length)) {
                    QVERIFY(value >= damaged.constData());
                    QVERIFY(value + length <= damaged.constData() + damaged.size());
                }
            }
        }
        QVERIFY(!VerQueryValue(nullptr, 0, path, &value, &length));
    }

    void theRootIsNamedByABackslash() {
        const QByteArray block = EncodeBlock(ProgramVersionInfo("1.1.3.0"));
        const char* value = nullptr;
        std::uint32_t length = 99;
        QVERIFY(VerQueryValue(block.constData(), block.size(), "\\", &value, &length));
        QCOMPARE(length, 0u);
    }

    void theProgramCarriesTheProjectVersion() {
        QCOMPARE(Text(Query(FW_PROGRAM_FILE, "\\StringFileInfo\\040904E4\\FileVersion")),
                 FW_PROJECT_VERSION);
        QCOMPARE(QStringLiteral(FW_PROJECT_VERSION), "1.1.3.0");
    }

    void programFileNameCanBeReplacedAndRestored() {
        QCOMPARE(ProgramFileName(), QCoreApplication::applicationFilePath());
        SetProgramFileNameFunction([] { return QStringLiteral("/elsewhere/program"); });
        QCOMPARE(ProgramFileName(), "/elsewhere/program");
        SetProgramFileNameFunction({});
        QCOMPARE(ProgramFileName(), QCoreApplication::applicationFilePath());
    }
};

QTEST_GUILESS_MAIN(TestVersionRecord)
#include "tst_versionrecord.moc"
