// The text widgets draw large glyphs from kept images: what they show must be what Qt's own label
// and text box show, glyph for glyph and in the same place, and nothing may go missing.
#include "TextWidgets.h"

#include <QApplication>
#include <QTest>

namespace {

constexpr QRgb Background = 0xFFE0E0F0;
constexpr QRgb Ink = 0xFF5050A0;

void Style(QWidget* widget, int pixelSize, QSize size) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    widget->setFont(font);
    QPalette palette = widget->palette();
    for (const QPalette::ColorRole role : {QPalette::Window, QPalette::Base})
        palette.setColor(role, QColor::fromRgba(Background));
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text})
        palette.setColor(role, QColor::fromRgba(Ink));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
    widget->resize(size);
}

// Whether the colours differ by more than half the contrast between ink and background.
bool Differs(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
               std::abs(qBlue(a) - qBlue(b)) >
           184;
}

// Whether no pixel of the other image within one pixel of (x, y) matches this one.
bool Unmatched(const QImage& image, const QImage& other, int x, int y) {
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (other.rect().contains(x + dx, y + dy) &&
                !Differs(image.pixel(x, y), other.pixel(x + dx, y + dy)))
                return false;
    return true;
}

struct TComparison {
    int InkPixels = 0; // pixels of Qt's own drawing away from the background
    int Different = 0; // pixels of either drawing that the other has nowhere near
};

// Compares the drawings. Glyphs are placed on whole pixels, so edges may lie up to half a pixel
// from Qt's: a pixel counts as different only when the other drawing has no match for it within
// one pixel. A glyph missing, moved or misshapen differs in many pixels.
TComparison Compare(QWidget& ours, QWidget& qts) {
    const QImage a = ours.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage b = qts.grab().toImage().convertToFormat(QImage::Format_RGB32);
    TComparison result;
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x) {
            result.InkPixels += Differs(b.pixel(x, y), Background);
            result.Different += Unmatched(a, b, x, y) || Unmatched(b, a, x, y);
        }
    return result;
}

void VerifyAlike(const TComparison& result) {
    QVERIFY2(result.InkPixels > 500, "Qt's drawing shows text");
    QVERIFY2(result.Different * 100 < result.InkPixels,
             qPrintable(QStringLiteral("%1 of %2 ink pixels differ")
                            .arg(result.Different)
                            .arg(result.InkPixels)));
}

} // namespace

class TestTextWidgets : public QObject {
    Q_OBJECT

private slots:
    void labelDrawsAsQLabel_data() {
        QTest::addColumn<int>("pixelSize");
        QTest::addColumn<int>("alignment");
        QTest::addColumn<QString>("text");
        const int centreTop = Qt::AlignHCenter | Qt::AlignTop;
        QTest::newRow("title on a 4K screen")
            << 103 << centreTop << QStringLiteral("The space bar");
        QTest::newRow("just above Qt's limit") << 66 << centreTop << QStringLiteral("Num Lock");
        QTest::newRow("Qt's own glyphs") << 40 << centreTop << QStringLiteral("Num Lock");
        QTest::newRow("left, centred vertically")
            << 90 << int(Qt::AlignLeft | Qt::AlignVCenter) << QStringLiteral("Backspace");
        QTest::newRow("right, bottom, two lines")
            << 80 << int(Qt::AlignRight | Qt::AlignBottom) << QStringLiteral("Caps\nLock");
        QTest::newRow("accents and digits")
            << 120 << centreTop << QStringLiteral("Élève 1234 äöü ß");
    }
    void labelDrawsAsQLabel() {
        QFETCH(int, pixelSize);
        QFETCH(int, alignment);
        QFETCH(QString, text);
        TTextLabel ours(text);
        QLabel qts(text);
        for (QLabel* label : {static_cast<QLabel*>(&ours), &qts}) {
            Style(label, pixelSize, QSize(1400, 3 * pixelSize));
            label->setAlignment(Qt::Alignment(alignment));
        }
        VerifyAlike(Compare(ours, qts));
    }

    // Glyphs are rendered once: another paint of the same text adds no image.
    void glyphsAreKept() {
        TTextLabel label(QStringLiteral("Kept glyphs"));
        Style(&label, 100, QSize(900, 200));
        label.grab();
        const int kept = KeptGlyphImageCount();
        QVERIFY(kept > 0);
        label.grab();
        QCOMPARE(KeptGlyphImageCount(), kept);
    }

    // A glyph whose image alone is larger than all that is kept is drawn, and not kept.
    void aGlyphLargerThanTheCacheIsDrawn() {
        TTextLabel ours(QStringLiteral("W"));
        QLabel qts(QStringLiteral("W"));
        for (QLabel* label : {static_cast<QLabel*>(&ours), &qts})
            Style(label, 3000, QSize(3100, 3300));
        const int kept = KeptGlyphImageCount();
        VerifyAlike(Compare(ours, qts));
        QCOMPARE(KeptGlyphImageCount(), kept);
    }

    void textBoxDrawsAsQPlainTextEdit_data() {
        QTest::addColumn<int>("pixelSize");
        QTest::addColumn<bool>("centred");
        QTest::addColumn<bool>("selection");
        const QString explanation = QStringLiteral(
            "The space bar is the long key at the bottom. It puts a space between words.");
        QTest::newRow("explanation, wrapped") << 100 << false << false;
        QTest::newRow("task, centred") << 90 << true << false;
        QTest::newRow("with a selection") << 90 << false << true;
        QTest::newRow("Qt's own glyphs") << 30 << true << false;
    }
    void textBoxDrawsAsQPlainTextEdit() {
        QFETCH(int, pixelSize);
        QFETCH(bool, centred);
        QFETCH(bool, selection);
        TTextBox ours;
        QPlainTextEdit qts;
        for (QPlainTextEdit* box : {static_cast<QPlainTextEdit*>(&ours), &qts}) {
            Style(box, pixelSize, QSize(1500, 8 * pixelSize));
            box->setFrameShape(QFrame::NoFrame);
            if (centred)
                box->document()->setDefaultTextOption(QTextOption(Qt::AlignHCenter));
            box->setPlainText(QStringLiteral("The space bar is the long key at the bottom. It "
                                             "puts a space between words.\nGoodmorning"));
            QTextCursor cursor = box->textCursor();
            cursor.setPosition(selection ? 4 : 9);
            if (selection)
                cursor.setPosition(13, QTextCursor::KeepAnchor);
            box->setTextCursor(cursor);
        }
        VerifyAlike(Compare(ours, qts));
    }
};

QTEST_MAIN(TestTextWidgets)
#include "tst_textwidgets.moc"
