// Shared pieces of the benchmarks: medians, the table of results, and the round trip that makes
// sure the X server has put the last drawing on the screen.
#pragma once

#include <QImage>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

class QWidget;

namespace bench {

// Whether the program draws on a real X server (platform xcb) rather than offscreen.
bool OnXServer();

// Waits until the X server has handled every request sent so far, the screen copies of the
// painted windows among them. Nothing to wait for offscreen.
void RoundTrip();

// Delivers the pending paint requests and completes their screen copy.
void FinishPainting();

// Whether the screen shows what the widget drew: its pixels read back from the X server match
// the expected image, by default the widget's own rendering. Always true offscreen, where there is
// no screen to read.
bool ShownOnScreen(QWidget* widget, const QImage& expected = QImage());

double Median(std::vector<double> samples);

// Times a case and its floor in alternation, each call on its own; medians in milliseconds.
struct TPair {
    double Case = 0;
    double Floor = 0;
};
TPair TimeInterleaved(int iterations, const std::function<void()>& runCase,
                      const std::function<void()>& runFloor);
double TimeAlone(int iterations, const std::function<void()>& run);

// One row of the table: a figure, its floor (if any), its target and whether it was met.
struct TRow {
    QString Name;
    double Value = 0;
    QString Unit = QStringLiteral("ms");
    std::optional<double> Floor;
    QString FloorName;
    QString Target;
    std::optional<bool> Met;
    QString Proof; // what showed the work happened
};

void PrintTable(const QString& title, const std::vector<TRow>& rows);

} // namespace bench
