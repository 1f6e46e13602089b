// Speed and memory of the tutorial's hot paths, against the targets a learner needs: a pointer
// move over the picture must redraw well within one frame, a page must load without a visible
// pause. Run: QT_QPA_PLATFORM=offscreen build/bench/bench_tutorial
#include "IniFile.h"
#include "KeyMap.h"
#include "KeyboardPicture.h"
#include "Main.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMouseEvent>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

namespace {

int failures = 0;

// Runs an operation repeatedly and reports its mean time in milliseconds against a target.
void Measure(const char* name, int repetitions, double targetMs, const std::function<void()>& run)
{
    run(); // warm up
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < repetitions; ++i)
        run();
    const double meanMs = double(timer.nsecsElapsed()) / 1e6 / repetitions;
    const bool ok = meanMs <= targetMs;
    failures += !ok;
    std::printf("%-44s %9.3f ms  (target %6.2f ms)  %s\n", name, meanMs, targetMs,
                ok ? "ok" : "TOO SLOW");
}

long PeakResidentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTemporaryDir folder;
    for (const char* name : {"en-US.kb", "us.bmp"})
        QFile::copy(QStringLiteral(FW_DATA_DIR "/") + name, folder.filePath(name));
    const QString layout = folder.filePath(QStringLiteral("en-US.kb"));

    Measure("read one layout value", 2000, 0.5, [&] {
        ReadProfileString(QStringLiteral("Key descriptions"), QStringLiteral("descr-windows"),
                          QString(), 30, layout);
    });

    TKeyMap keyMap;
    for (int i = 0; i < KeyGroupCount; ++i)
        keyMap[i] = ReadProfileString(QStringLiteral("Key co-ordinates"), KeyGroupNames[i],
                                      QString(), 200, layout);
    Measure("hit-test a point (all groups parsed)", 20000, 0.05,
            [&] { KeyGroupAt(keyMap, 7, 1536, 5, 5); });

    const QImage picture = LoadKeyboardPicture(folder.filePath(QStringLiteral("us.bmp")), layout);
    const auto rects = ParseKeyRects(keyMap[KeyGroupIndex(QStringLiteral("letter"))]);
    Measure("compose the picture at 1536 x 522", 200, 8.0,
            [&] { ComposeKeyboardImage(QSize(1536, 522), rects, &picture); });

    std::unique_ptr<TMainForm> form(CreateForms());
    form->ProgramFileName = folder.filePath(QStringLiteral("fingerwise"));
    form->FirstShow = false;
    form->resize(2575, 1300);
    form->show();
    form->LayoutFileName = layout;
    form->LoadLayoutFile();
    form->ShowPage(2);
    const QPointF numpad(1300, 300);
    Measure("pointer move on the areas page (redraw)", 200, 12.0, [&] {
        QMouseEvent move(QEvent::MouseMove, numpad, form->PaintBox->mapToGlobal(numpad),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(form->PaintBox, &move);
    });
    Measure("load a page", 200, 15.0, [&] { form->ShowPage(18); });

    const long peak = PeakResidentKiB();
    const bool memoryOk = peak >= 0 && peak < 200 * 1024;
    failures += !memoryOk;
    std::printf("%-44s %9ld KiB (target < 200 MiB)  %s\n", "peak resident memory", peak,
                memoryOk ? "ok" : "TOO LARGE");
    return failures == 0 ? 0 : 1;
}
