// The animated label: what each animation type paints at given ticks, and its timer.

#include "AnimatedLabel.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

namespace {

const QColor ButtonFace(192, 192, 192);
const QColor WindowColor(10, 200, 30);
const QRgb Untouched = qRgb(0x12, 0x34, 0x56);
const QString Blocks = QString(20, QChar(0x2588)); // full blocks: solid text

void Tick(TAnimatedLabel& label, int ticks) {
    for (int i = 0; i < ticks; ++i)
        label.OnTimer();
}

// What the label paints over an image that shows `Untouched` beforehand.
QImage Render(TAnimatedLabel& label) {
    QImage image(label.size(), QImage::Format_RGB32);
    image.fill(Untouched);
    label.render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
    return image;
}

// The first and last columns of `row` in the text's colour; (-1, -1) when none. (The glyphs'
// smoothed edges, in between colours, do not count.)
std::pair<int, int> TextColumns(const QImage& image, int row) {
    int first = -1;
    int last = -1;
    for (int x = 0; x < image.width(); ++x) {
        if (image.pixelColor(x, row) == QColor(Qt::black)) {
            if (first < 0)
                first = x;
            last = x;
        }
    }
    return {first, last};
}

int MiddleRow() {
    return QFontMetrics(QFont()).ascent() / 2;
}

} // namespace

class TestAnimatedLabel : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QPalette colors = QApplication::palette();
        colors.setColor(QPalette::Button, ButtonFace);
        colors.setColor(QPalette::Base, WindowColor);
        colors.setColor(QPalette::WindowText, Qt::black);
        QApplication::setPalette(colors);
    }

    void flyMovesTheCaptionInFromTheRight() {
        TAnimatedLabel label;
        label.resize(100, 20);
        label.setText(Blocks);
        label.SetAnimationType(TAnimatedLabel::atFly);
        const int row = MiddleRow();
        const int textWidth = QFontMetrics(QFont()).horizontalAdvance(Blocks);
        QVERIFY(textWidth > 100);

        // t = 0: at x = 100, out of sight.
        QCOMPARE(TextColumns(Render(label), row), std::pair(-1, -1));

        Tick(label, 1);
        QCOMPARE(label.FlyPosition(), 98);
        QCOMPARE(TextColumns(Render(label), row), std::pair(98, 99));

        Tick(label, 49);
        QCOMPARE(label.FlyPosition(), 0);
        QCOMPARE(TextColumns(Render(label), row).first, 0);

        Tick(label, 49); // t = 99
        QCOMPARE(label.FlyPosition(), -98);
        const auto [first, last] = TextColumns(Render(label), row);
        QCOMPARE(first, 0);
        QVERIFY2(std::abs(last - (textWidth - 98 - 1)) <= 1, qPrintable(QString::number(last)));

        Tick(label, 1); // t = 100: back at the right edge
        QCOMPARE(label.FlyPosition(), 100);
        const QImage blank = Render(label);
        QCOMPARE(TextColumns(blank, row), std::pair(-1, -1));
        QCOMPARE(blank.pixelColor(50, 19), ButtonFace); // the whole label is filled
    }

    void flyWithoutWidthDrawsNoCaption() {
        TAnimatedLabel label;
        label.setText(Blocks);
        label.SetAnimationType(TAnimatedLabel::atFly);
        label.resize(0, 20);
        Tick(label, 7);
        QCOMPARE(label.FlyPosition(), std::nullopt);
        label.resize(1, 20);
        QCOMPARE(label.FlyPosition(), 1); // t mod 1 is 0: always just out of sight
        QCOMPARE(TextColumns(Render(label), MiddleRow()), std::pair(-1, -1));
    }

    void fadeRunsFromTheBackgroundToTheFontColourAndBack_data() {
        QTest::addColumn<int>("ticks");
        QTest::addColumn<QColor>("expected");
        QTest::newRow("in, n = 0") << 0 << ButtonFace;
        QTest::newRow("in, n = 4") << 4 << QColor(107, 107, 107);
        QTest::newRow("in, n = 9") << 9 << QColor(0, 0, 0);
        QTest::newRow("out, n = 0") << 10 << QColor(0, 0, 0);
        QTest::newRow("out, n = 4") << 14 << QColor(85, 85, 85);
        QTest::newRow("out, n = 9") << 19 << ButtonFace;
        QTest::newRow("in again, n = 4") << 24 << QColor(107, 107, 107);
    }

    void fadeRunsFromTheBackgroundToTheFontColourAndBack() {
        QFETCH(int, ticks);
        QFETCH(QColor, expected);
        TAnimatedLabel label;
        label.resize(100, 20);
        label.setText(Blocks.left(3));
        label.SetFontColor(clBlack);
        label.SetAnimationType(TAnimatedLabel::atFade);
        Tick(label, ticks);
        QCOMPARE(ColorToQColor(label.FadeColor()), expected);
        const QImage image = Render(label);
        QCOMPARE(image.pixelColor(3, MiddleRow()), expected);
        // Only the caption's cell is painted.
        QCOMPARE(image.pixel(99, 19), Untouched);
    }

    void fadeTakesTheColoursAsTheyAreStored_data() {
        QTest::addColumn<TColor>("fontColor");
        QTest::addColumn<TColor>("color");
        QTest::addColumn<int>("ticks");
        QTest::addColumn<QColor>("expected");
        // The font colour is not resolved: clWindowText is red 8, green 0, blue 0.
        QTest::newRow("window text as font colour")
            << clWindowText << clBtnFace << 9 << QColor(8, 0, 0);
        // The background is resolved as a system colour, except black.
        QTest::newRow("window as background") << clWhite << clWindow << 0 << WindowColor;
        QTest::newRow("black background") << clWhite << clBlack << 0 << QColor(0, 0, 0);
        QTest::newRow("black background, n = 4")
            << clWhite << clBlack << 4 << QColor(113, 113, 113);
        // A plain colour counts as the system colour of its low byte, unknown here: black.
        QTest::newRow("plain grey background")
            << clWhite << RGBColor(192, 192, 192) << 0 << QColor(0, 0, 0);
    }

    void fadeTakesTheColoursAsTheyAreStored() {
        QFETCH(TColor, fontColor);
        QFETCH(TColor, color);
        QFETCH(int, ticks);
        QFETCH(QColor, expected);
        TAnimatedLabel label;
        label.resize(100, 20);
        label.setText(Blocks.left(3));
        label.SetFontColor(fontColor);
        label.SetColor(color);
        label.SetAnimationType(TAnimatedLabel::atFade);
        Tick(label, ticks);
        QCOMPARE(Render(label).pixelColor(3, MiddleRow()), expected);
    }

    void flashBlanksForTenTicksThenShowsForTen() {
        TAnimatedLabel label;
        label.resize(100, 20);
        label.setText(Blocks.left(3));
        label.SetColor(clWhite);
        label.SetAnimationType(TAnimatedLabel::atFlash);
        const int row = MiddleRow();
        for (int t = 0; t < 30; ++t) {
            const QImage image = Render(label);
            const bool shown = (t / 10) % 2 == 1;
            // Shown: the plain painting on the label's colour; blank: button face only.
            QCOMPARE(image.pixelColor(99, 19), shown ? QColor(Qt::white) : ButtonFace);
            QCOMPARE(image.pixelColor(3, row) == QColor(Qt::black), shown);
            label.OnTimer();
        }
    }

    void plainPaintingFillsWithTheLabelsColour() {
        TAnimatedLabel label;
        label.resize(100, 20);
        label.setText(Blocks.left(3));
        label.SetColor(clWindow);
        const QImage image = Render(label);
        QCOMPARE(image.pixelColor(99, 19), WindowColor);
        QCOMPARE(image.pixelColor(3, MiddleRow()), QColor(Qt::black));
    }

    // The fly and fade modes draw in the font that the last plain painting left behind.
    void animatedModesUseTheFontOfTheLastPlainPainting() {
        TAnimatedLabel label;
        label.resize(100, 60);
        label.setText(Blocks.left(3));
        QFont big = label.font();
        big.setPixelSize(50);
        label.setFont(big);
        label.SetAnimationType(TAnimatedLabel::atFly);
        Tick(label, 50); // x = 0
        const int defaultHeight = QFontMetrics(QFont()).height();
        QCOMPARE(Render(label).pixelColor(3, defaultHeight + 5), ButtonFace);

        label.SetAnimationType(TAnimatedLabel::atNone);
        Render(label);
        label.SetAnimationType(TAnimatedLabel::atFly);
        QCOMPARE(label.GetTick(), 50); // the counter goes on through changes of mode
        QCOMPARE(Render(label).pixelColor(3, defaultHeight + 5), QColor(Qt::black));
    }

    void timerTicksFromConstructionAndIntervalZeroStopsIt() {
        TAnimatedLabel label;
        QCOMPARE(label.GetInterval(), 100);
        auto* timer = label.findChild<QTimer*>();
        QVERIFY(timer);
        QVERIFY(timer->isActive());
        label.SetInterval(10);
        QTRY_VERIFY_WITH_TIMEOUT(label.GetTick() >= 3, 2000);

        label.SetInterval(0);
        QCOMPARE(label.GetInterval(), 0);
        const int stopped = label.GetTick();
        QTest::qWait(100);
        QCOMPARE(label.GetTick(), stopped);

        label.SetInterval(10);
        QTRY_VERIFY_WITH_TIMEOUT(label.GetTick() > stopped, 2000);
        QVERIFY(label.GetTick() < stopped + 1000); // resumed, not reset or jumped
    }

    void theTimerBelongsToTheLabel() {
        QPointer<QTimer> timer;
        {
            TAnimatedLabel label;
            timer = label.findChild<QTimer*>();
            QVERIFY(timer);
        }
        QVERIFY(timer.isNull());
    }
};

QTEST_MAIN(TestAnimatedLabel)
#include "tst_animatedlabel.moc"
