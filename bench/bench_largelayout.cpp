// What a layout file at the 4 MiB read limit costs: one decode per file version, and then a page
// load, a keystroke check and a hover that take well under a millisecond more than with a shipped
// layout file. Run: QT_QPA_PLATFORM=offscreen build/bench/bench_largelayout
#include "IniFile.h"
#include "Main.h"

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>
#include <memory>

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
    std::printf("%-48s %9.3f ms  (target %6.2f ms)  %s\n", name, meanMs, targetMs,
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

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QTemporaryDir folder;
    for (const char* name : {"en-US.kb", "us.bmp"})
        QFile::copy(QStringLiteral(FW_DATA_DIR "/") + name, folder.filePath(name));
    const QString layout = folder.filePath(QStringLiteral("en-US.kb"));

    std::unique_ptr<TMainForm> form(CreateForms());
    form->ProgramFileName = folder.filePath(QStringLiteral("fingerwise"));
    form->FirstShow = false;
    form->resize(2575, 1300);
    form->show();

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

    return failures == 0 ? 0 : 1;
}
