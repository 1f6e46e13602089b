// Speed and memory of the tutorial's hot paths, against the targets a learner needs: a pointer
// move over the picture must redraw well within one frame, a page must load without a visible
// pause. Run: QT_QPA_PLATFORM=offscreen build/bench/bench_tutorial
#include "IniFile.h"
#include "KeyMap.h"
#include "KeyboardPicture.h"
#include "Main.h"

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QMouseEvent>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

namespace {

int failures = 0;

// The mean time of an operation in milliseconds, after one run to warm up.
double MeanMs(int repetitions, const std::function<void()>& run) {
    run();
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < repetitions; ++i)
        run();
    return double(timer.nsecsElapsed()) / 1e6 / repetitions;
}

// Runs an operation repeatedly and reports its mean time in milliseconds against a target.
void Measure(const char* name, int repetitions, double targetMs, const std::function<void()>& run) {
    const double meanMs = MeanMs(repetitions, run);
    const bool ok = meanMs <= targetMs;
    failures += !ok;
    std::printf("%-44s %9.3f ms  (target %6.2f ms)  %s\n", name, meanMs, targetMs,
                ok ? "ok" : "TOO SLOW");
}

// A layout file just under the 4 MiB limit: the given layout's sections after 4 MiB of others, so
// that every value lies beyond them. Its modification time lies in the past, as that of a layout
// file the learner starts with.
void WriteLargeLayout(const QString& from, const QString& to) {
    QFile source(from);
    source.open(QIODevice::ReadOnly);
    const QByteArray layout = source.readAll();
    QByteArray padding;
    for (int section = 0; padding.size() < 4 * 1024 * 1024 - layout.size() - 4096; ++section) {
        padding += "[Padding " + QByteArray::number(section) + "]\n";
        for (int key = 0; key < 100; ++key)
            padding += "title-" + QByteArray::number(key) + "=A page of another layout\n";
    }
    QFile file(to);
    file.open(QIODevice::WriteOnly);
    file.write(padding + layout);
    file.setFileTime(QDateTime::currentDateTime().addDays(-1), QFileDevice::FileModificationTime);
}

long PeakResidentKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

} // namespace

int main(int argc, char** argv) {
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

    // With a 4 MiB layout file, reading adds well under a millisecond to a page load, a keystroke
    // check and a hover: each version of the file is decoded once.
    const QString large = folder.filePath(QStringLiteral("large.kb"));
    WriteLargeLayout(layout, large);
    int version = 0;
    Measure("decode a 4 MiB layout file (new version)", 5, 500.0, [&] {
        QFile file(large);
        file.open(QIODevice::ReadWrite);
        file.setFileTime(QDateTime::currentDateTime().addDays(-2).addSecs(++version),
                         QFileDevice::FileModificationTime);
        ReadProfileString(QStringLiteral("Messages"), QStringLiteral("continue"), QString(), 200,
                          large);
    });
    const QPointF key(1800, 200);
    const std::pair<const char*, std::function<void()>> handlers[] = {
        {"load a page, 4 MiB layout file (+ shipped)", [&] { form->ShowPage(18); }},
        {"keystroke check, 4 MiB layout file (+ shipped)", [&] { form->TypingBoxChange(); }},
        {"hover, 4 MiB layout file (+ shipped)",
         [&] { form->PaintBoxMouseMove(int(key.x()), int(key.y())); }},
    };
    for (const auto& [name, handler] : handlers) {
        form->LayoutFileName = layout;
        form->LoadLayoutFile();
        form->ShowPage(18);
        const double shippedMs = MeanMs(500, handler);
        form->LayoutFileName = large;
        form->LoadLayoutFile();
        form->ShowPage(18);
        Measure(name, 500, shippedMs + 1.0, handler);
    }

    const long peak = PeakResidentKiB();
    const bool memoryOk = peak >= 0 && peak < 200 * 1024;
    failures += !memoryOk;
    std::printf("%-44s %9ld KiB (target < 200 MiB)  %s\n", "peak resident memory", peak,
                memoryOk ? "ok" : "TOO LARGE");
    return failures == 0 ? 0 : 1;
}
