// The installed tree, as `cmake --install` leaves it in a fresh prefix (the fixture
// install_into_prefix): the program and its data, the desktop's files, the control set's package
// in its own component, the program's command line, and the data-directory lookup.
#include "CommandLine.h"
#include "LayoutFile.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

namespace {

const QString AllPrefix = QStringLiteral(FW_INSTALL_PREFIX "/all");
const QString TutorialPrefix = QStringLiteral(FW_INSTALL_PREFIX "/tutorial");
const QString AppId = QStringLiteral("com.brightmoss.Fingerwise");

QString Installed(const QString& path) {
    return AllPrefix + u'/' + path;
}

struct TRun {
    int ExitCode = -1;
    QString Out;
    QString Err;
};

// Runs a program with the environment of a machine without a display.
TRun RunWithoutDisplay(const QString& program, const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForFinished(20000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

} // namespace

class TestInstall : public QObject {
    Q_OBJECT

private slots:
    void programAndData() {
        QVERIFY(QFileInfo(Installed("bin/fingerwise")).isExecutable());
        const QDir source(QStringLiteral(FW_DATA_DIR));
        const QStringList shipped = source.entryList({"*.kb", "*.bmp"}, QDir::Files);
        QVERIFY(shipped.contains("en-US.kb"));
        for (const QString& file : shipped)
            QVERIFY2(QFileInfo::exists(Installed("share/fingerwise/" + file)), qPrintable(file));
        // The installed program reads its layout files from there.
        QCOMPARE(LayoutDirectory(Installed("bin/fingerwise")), Installed("share/fingerwise"));
    }

    void desktopFiles_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("size"); // of an icon picture; 0 for other files
        QTest::newRow("menu entry") << "share/applications/" + AppId + ".desktop" << 0;
        QTest::newRow("metainfo") << "share/metainfo/" + AppId + ".metainfo.xml" << 0;
        QTest::newRow("manual page") << "share/man/man1/fingerwise.1" << 0;
        QTest::newRow("scalable icon") << "share/icons/hicolor/scalable/apps/fingerwise.svg" << 0;
        for (int size : {16, 32, 48, 64, 128, 256})
            QTest::addRow("icon %d", size)
                << QStringLiteral("share/icons/hicolor/%1x%1/apps/fingerwise.png").arg(size)
                << size;
    }

    void desktopFiles() {
        QFETCH(QString, path);
        QFETCH(int, size);
        QVERIFY2(QFileInfo(Installed(path)).size() > 0, qPrintable(path));
        if (size != 0)
            QCOMPARE(QImage(Installed(path)).size(), QSize(size, size));
    }

    void validatorsAcceptTheDesktopFiles_data() {
        QTest::addColumn<QString>("validator");
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("desktop entry")
            << "desktop-file-validate"
            << QStringList{Installed("share/applications/" + AppId + ".desktop")};
        QTest::newRow("metainfo") << "appstreamcli"
                                  << QStringList{
                                         "validate", "--no-net",
                                         Installed("share/metainfo/" + AppId + ".metainfo.xml")};
    }

    void validatorsAcceptTheDesktopFiles() {
        QFETCH(QString, validator);
        QFETCH(QStringList, arguments);
        const QString program = QStandardPaths::findExecutable(validator);
        if (program.isEmpty())
            QSKIP(qPrintable(validator + " is not installed"));
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(program, arguments);
        QVERIFY(process.waitForFinished(60000));
        QVERIFY2(process.exitCode() == 0, process.readAll().constData());
    }

    void controlsAreTheirOwnComponent() {
        const QString lib = QStringLiteral(FW_LIBDIR "/");
        for (const QString& path :
             {QStringLiteral("include/BrightmossControls/FancyButton.h"),
              QStringLiteral("include/BrightmossControls/Colors.h"),
              lib + "libBrightmossControls.a", lib + "libBrightmossPlatform.a",
              lib + "cmake/BrightmossControls/BrightmossControlsConfig.cmake",
              lib + "cmake/BrightmossControls/BrightmossControlsConfigVersion.cmake"})
            QVERIFY2(QFileInfo::exists(Installed(path)), qPrintable(path));
        const QDir headers(QStringLiteral(FW_CONTROLS_DIR));
        for (const QString& header : headers.entryList({"*.h"}, QDir::Files))
            QVERIFY2(QFileInfo::exists(Installed("include/BrightmossControls/" + header)),
                     qPrintable(header));
#ifdef FW_DESIGNER_PLUGIN_DIR
        QVERIFY(QFileInfo::exists(
            Installed(QStringLiteral(FW_DESIGNER_PLUGIN_DIR "/libfingerwise_controls.so"))));
#endif
        // The tutorial alone carries none of it.
        QVERIFY(QFileInfo(TutorialPrefix + "/bin/fingerwise").isExecutable());
        QVERIFY(!QFileInfo::exists(TutorialPrefix + "/include"));
        QVERIFY(!QFileInfo::exists(TutorialPrefix + "/lib"));
        QVERIFY(!QFileInfo::exists(TutorialPrefix + '/' + lib));
    }

    void helpAndVersionWithoutADisplay() {
        const TRun version = RunWithoutDisplay(Installed("bin/fingerwise"), {"--version"});
        QCOMPARE(version.ExitCode, 0);
        QCOMPARE(version.Out, QString("Fingerwise " FW_PROJECT_VERSION "\n"));
        for (const QString& option : {QStringLiteral("--help"), QStringLiteral("-h")}) {
            const TRun help = RunWithoutDisplay(Installed("bin/fingerwise"), {option});
            QCOMPARE(help.ExitCode, 0);
            QVERIFY2(help.Out.contains("--version") && help.Out.contains("--help"),
                     qPrintable(help.Out));
            QCOMPARE(help.Err, QString());
        }
    }

    void withoutADisplayItSaysSoInOneSentence() {
        const TRun run = RunWithoutDisplay(Installed("bin/fingerwise"), {});
        QCOMPARE(run.ExitCode, 1);
        QCOMPARE(run.Err, NoDisplayMessage + u'\n');
        QCOMPARE(run.Out, QString());
    }
};

QTEST_GUILESS_MAIN(TestInstall)
#include "tst_install.moc"
