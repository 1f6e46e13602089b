// Start-up and memory, measured from outside: the time from starting the program's process to its
// first page fully drawn on the screen, and the process's peak resident memory, against a trivial
// Qt window started the same way. Runs are interleaved; medians are printed.
//
// The first page counts as fully drawn when the screen shows what it finally settles on: rows of
// the screen are read back from the X server every millisecond or so, and the moment the last
// unchanging picture first appeared is the figure. Needs an X server (DISPLAY, platform xcb) with
// the screen size to measure and a window manager that maximises windows (openbox).
//
//   bench_startup PROGRAM TRIVIAL_WINDOW [RUNS]
#include "BenchSupport.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <cstdio>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char** environ;

using namespace bench;

namespace {

constexpr int SampledRows = 24;
constexpr qint64 SettledNs = 800'000'000;   // unchanged this long: the final picture
constexpr qint64 GiveUpNs = 10'000'000'000; // no final picture within this: a failed run

// A digest of evenly spaced full-width rows of the screen.
QByteArray ScreenDigest(QScreen* screen) {
    QCryptographicHash hash(QCryptographicHash::Md5);
    const QRect area = screen->geometry();
    for (int i = 0; i < SampledRows; ++i) {
        const int y = area.height() * (2 * i + 1) / (2 * SampledRows);
        const QImage row = screen->grabWindow(0, 0, y, area.width(), 1).toImage();
        hash.addData(
            QByteArrayView(reinterpret_cast<const char*>(row.constBits()), row.sizeInBytes()));
    }
    return hash.result();
}

struct TRun {
    double FirstDrawnMs = -1;
    long PeakKiB = -1;
};

// Starts the program, waits for its final picture, ends it and reads its peak memory.
TRun MeasureOnce(QScreen* screen, const QString& program) {
    const QByteArray before = ScreenDigest(screen);
    const QByteArray path = program.toLocal8Bit();
    char* args[] = {const_cast<char*>(path.constData()), nullptr};
    QElapsedTimer clock;
    clock.start();
    pid_t pid = 0;
    if (posix_spawn(&pid, path.constData(), nullptr, nullptr, args, environ) != 0)
        return {};
    QByteArray last = before;
    qint64 lastChange = 0;
    bool changed = false;
    while (clock.nsecsElapsed() < GiveUpNs) {
        const QByteArray digest = ScreenDigest(screen);
        const qint64 now = clock.nsecsElapsed();
        if (digest != last) {
            last = digest;
            lastChange = now;
            changed = true;
        } else if (changed && now - lastChange >= SettledNs) {
            break;
        }
        QThread::usleep(500);
    }
    TRun run;
    if (changed && clock.nsecsElapsed() < GiveUpNs)
        run.FirstDrawnMs = double(lastChange) / 1e6;
    kill(pid, SIGTERM);
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) == pid)
        run.PeakKiB = usage.ru_maxrss;
    // The next run starts on the empty screen again.
    for (int i = 0; i < 2000 && ScreenDigest(screen) != before; ++i)
        QThread::usleep(1000);
    return run;
}

// A folder with a copy of the program, the US layout and a settings file naming it, so that the
// program starts straight on its first page.
QString PrepareProgram(const QTemporaryDir& folder, const QString& program) {
    const QString copy = folder.filePath(QStringLiteral("fingerwise"));
    QFile::copy(program, copy);
    QFile::setPermissions(copy, QFile::permissions(program));
    const QString data = QFileInfo(program).absolutePath();
    for (const char* name : {"en-US.kb", "us.bmp"})
        QFile::copy(data + u'/' + QLatin1String(name), folder.filePath(QLatin1String(name)));
    QFile settings(folder.filePath(QStringLiteral("fingerwise.ini")));
    if (settings.open(QIODevice::WriteOnly))
        settings.write("[General]\nkeyboard=en-US\n");
    return copy;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc < 3 || !OnXServer()) {
        std::fprintf(stderr,
                     "usage: bench_startup PROGRAM TRIVIAL_WINDOW [RUNS], on an X server\n");
        return 2;
    }
    const int runs = argc > 3 ? std::atoi(argv[3]) : 9;
    QTemporaryDir folder;
    const QString program = PrepareProgram(folder, QString::fromLocal8Bit(argv[1]));
    const QString trivial = QString::fromLocal8Bit(argv[2]);
    QScreen* screen = QGuiApplication::primaryScreen();

    std::vector<double> programMs, trivialMs, programKiB, trivialKiB;
    int failed = 0;
    MeasureOnce(screen, program); // warms the file cache
    MeasureOnce(screen, trivial);
    for (int i = 0; i < runs; ++i) {
        for (const bool isProgram : {true, false}) {
            const TRun run = MeasureOnce(screen, isProgram ? program : trivial);
            if (run.FirstDrawnMs < 0 || run.PeakKiB < 0) {
                ++failed;
                continue;
            }
            (isProgram ? programMs : trivialMs).push_back(run.FirstDrawnMs);
            (isProgram ? programKiB : trivialKiB).push_back(double(run.PeakKiB));
        }
    }
    const QSize size = screen->geometry().size();
    const double startTarget = size.width() >= 3840 ? 1.3 : 1.15;
    const QString proof = QStringLiteral("%1+%2 runs drew, %3 failed")
                              .arg(programMs.size())
                              .arg(trivialMs.size())
                              .arg(failed);
    TRow start;
    start.Name =
        QStringLiteral("start to first page drawn, %1x%2").arg(size.width()).arg(size.height());
    start.Value = Median(programMs);
    start.Floor = Median(trivialMs);
    start.FloorName = QStringLiteral("trivial Qt window");
    start.Target = QStringLiteral("<= %1x floor").arg(startTarget);
    start.Met = start.Value <= startTarget * *start.Floor;
    start.Proof = proof;
    TRow memory;
    memory.Name = QStringLiteral("peak memory, %1x%2").arg(size.width()).arg(size.height());
    memory.Unit = QStringLiteral("MiB");
    memory.Value = Median(programKiB) / 1024;
    memory.Floor = Median(trivialKiB) / 1024;
    memory.FloorName = QStringLiteral("trivial Qt window");
    memory.Target = QStringLiteral("<= 1.15x floor");
    memory.Met = memory.Value <= 1.15 * *memory.Floor;
    memory.Proof = proof;
    PrintTable(QStringLiteral("Fingerwise start-up, medians of %1 interleaved runs, X server %2")
                   .arg(runs)
                   .arg(qEnvironmentVariable("DISPLAY")),
               {start, memory});
    return failed == 0 ? 0 : 1;
}
