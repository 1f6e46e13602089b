#include "BenchSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#ifdef FW_BENCH_XCB
#include <xcb/xcb.h>
#endif

namespace bench {

bool OnXServer() {
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

void RoundTrip() {
#ifdef FW_BENCH_XCB
    if (!OnXServer())
        return;
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11)
        return;
    xcb_connection_t* connection = x11->connection();
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
#endif
}

void FinishPainting() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    RoundTrip();
}

bool ShownOnScreen(QWidget* widget, const QImage& expected) {
    if (!OnXServer())
        return true;
    FinishPainting();
    const QPoint origin = widget->mapToGlobal(QPoint(0, 0));
    const QImage onScreen =
        widget->screen()
            ->grabWindow(0, origin.x(), origin.y(), widget->width(), widget->height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    const QImage own = (expected.isNull() ? widget->grab().toImage() : expected)
                           .convertToFormat(QImage::Format_RGB32);
    return !own.isNull() && onScreen == own;
}

double Median(std::vector<double> samples) {
    if (samples.empty())
        return 0;
    std::sort(samples.begin(), samples.end());
    const size_t middle = samples.size() / 2;
    return samples.size() % 2 ? samples[middle] : (samples[middle - 1] + samples[middle]) / 2;
}

namespace {

double TimeOnce(const std::function<void()>& run) {
    QElapsedTimer timer;
    timer.start();
    run();
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

TPair TimeInterleaved(int iterations, const std::function<void()>& runCase,
                      const std::function<void()>& runFloor) {
    for (int i = 0; i < 3; ++i) { // warm-up
        runCase();
        runFloor();
    }
    std::vector<double> cases, floors;
    for (int i = 0; i < iterations; ++i) {
        cases.push_back(TimeOnce(runCase));
        floors.push_back(TimeOnce(runFloor));
    }
    return {Median(cases), Median(floors)};
}

double TimeAlone(int iterations, const std::function<void()>& run) {
    run();
    std::vector<double> samples;
    for (int i = 0; i < iterations; ++i)
        samples.push_back(TimeOnce(run));
    return Median(samples);
}

void PrintTable(const QString& title, const std::vector<TRow>& rows) {
    std::printf("\n%s\n", qPrintable(title));
    std::printf("| %-40s | %12s | %-34s | %7s | %-22s | %-7s | %s |\n", "case", "median",
                "floor (same run)", "ratio", "target", "met", "proof");
    std::printf("|%s|%s|%s|%s|%s|%s|%s|\n", QByteArray(42, '-').constData(),
                QByteArray(14, '-').constData(), QByteArray(36, '-').constData(),
                QByteArray(9, '-').constData(), QByteArray(24, '-').constData(),
                QByteArray(9, '-').constData(), "---");
    for (const TRow& row : rows) {
        const QString value = QStringLiteral("%1 %2").arg(row.Value, 0, 'f', 3).arg(row.Unit);
        QString floor = QStringLiteral("-");
        QString ratio = QStringLiteral("-");
        if (row.Floor) {
            floor =
                QStringLiteral("%1 %2 %3").arg(*row.Floor, 0, 'f', 3).arg(row.Unit, row.FloorName);
            if (*row.Floor > 0)
                ratio = QStringLiteral("%1x").arg(row.Value / *row.Floor, 0, 'f', 2);
        }
        const QString met = !row.Met
                                ? QStringLiteral("-")
                                : (*row.Met ? QStringLiteral("met") : QStringLiteral("NOT met"));
        std::printf("| %-40s | %12s | %-34s | %7s | %-22s | %-7s | %s |\n", qPrintable(row.Name),
                    qPrintable(value), qPrintable(floor), qPrintable(ratio),
                    qPrintable(row.Target.isEmpty() ? QStringLiteral("-") : row.Target),
                    qPrintable(met), qPrintable(row.Proof));
    }
    std::fflush(stdout);
}

} // namespace bench
