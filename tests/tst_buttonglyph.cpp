// The fancy button's drawing machinery: which strip cell each state shows, the shared glyph
// lists and their slots, the generated disabled pictures, and where the caption goes.
#include "FancyButton.h"

#include <QApplication>
#include <QPainter>
#include <QtTest>

#include <memory>

using State = TFancyButton::TFancyButtonState;

namespace {

constexpr int W = 23; // never a whole multiple of H: the count is set, not detected
constexpr int H = 10;

const QColor Face(200, 210, 220);
const QColor Light(250, 240, 230);
const QColor Dark(90, 80, 70);

// A strip of n cells, cell i filled with CellColor(i).
QColor CellColor(int i) {
    return QColor(10 + 40 * i, 200 - 30 * i, 50 + i);
}

// The glyph of a strip of n pictures.
void SetStrip(TButtonGlyph& glyph, const QImage& strip, int n) {
    glyph.SetBitmap(strip);
    glyph.SetImageCount(n);
}

QImage SolidStrip(int n) {
    QImage strip(W * n, H, QImage::Format_RGB32);
    for (int i = 0; i < n; ++i)
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                strip.setPixel(i * W + x, y, CellColor(i).rgb());
    return strip;
}

QSet<QPoint> PixelsOf(const QImage& image, QRgb color) {
    QSet<QPoint> points;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == (color & 0xFFFFFF))
                points.insert(QPoint(x, y));
    return points;
}

QSet<QPoint> Shifted(const QSet<QPoint>& points, QPoint by) {
    QSet<QPoint> moved;
    for (const QPoint& p : points)
        moved.insert(p + by);
    return moved;
}

QRect Bounds(const QSet<QPoint>& points) {
    QRect r;
    for (const QPoint& p : points)
        r |= QRect(p, QSize(1, 1));
    return r;
}

QImage DisabledImage(TButtonGlyph& glyph) {
    const int slot = glyph.PrepareImage(TFancyButton::fbsDisabled, false);
    return glyph.List()->Image(slot);
}

} // namespace

class TestButtonGlyph : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void cellRule_data();
    void cellRule();
    void downSharesUpBelowThreePictures();
    void countFromStripShape();
    void listsSharedPerSizeAndDestroyedWithLastUser();
    void slotsReusedLowestFirst();
    void recolouredDisabledPicture();
    void whiteTransparentColourEndsAsFace();
    void embossedDisabledPicture();
    void disabledRebuiltInPlaceOnColourChange();
    void drawnThroughMask();
    void captionPlaceOffsetAndShadow();
    void disabledCaptionEmbossed();
    void emptyStripDrawsCaptionOnly();
};

void TestButtonGlyph::initTestCase() {
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Button, Face);
    palette.setColor(QPalette::Light, Light);
    palette.setColor(QPalette::Dark, Dark);
    QApplication::setPalette(palette);
}

void TestButtonGlyph::cleanup() {
    // Every glyph of a test is gone: so is the shared cache.
    QVERIFY(SharedGlyphCache == nullptr);
}

void TestButtonGlyph::cellRule_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<QList<int>>("cells"); // for fbsUp, fbsDown, fbsMouseOut, fbsExclusive
    QTest::newRow("1") << 1 << QList<int>{0, 0, 0, 0};
    QTest::newRow("2") << 2 << QList<int>{0, 0, 0, 0};
    QTest::newRow("3") << 3 << QList<int>{0, 1, 2, 0};
    QTest::newRow("4") << 4 << QList<int>{0, 1, 2, 1};
    QTest::newRow("5") << 5 << QList<int>{0, 1, 2, 1};
}

void TestButtonGlyph::cellRule() {
    QFETCH(int, count);
    QFETCH(QList<int>, cells);
    TButtonGlyph glyph;
    SetStrip(glyph, SolidStrip(count), count);
    QCOMPARE(glyph.GetImageCount(), count);
    for (int state = TFancyButton::fbsUp; state <= TFancyButton::fbsExclusive; ++state) {
        const int slot = glyph.PrepareImage(State(state), false);
        QVERIFY(slot >= 0);
        const QImage image = glyph.List()->Image(slot);
        QCOMPARE(image.size(), QSize(W, H));
        QCOMPARE(image.pixelColor(W / 2, H / 2), CellColor(cells[state]));
        QCOMPARE(glyph.CellFor(State(state)), cells[state]);
    }
    QCOMPARE(glyph.CellFor(TFancyButton::fbsDisabled), count == 5 ? 4 : 0);
}

void TestButtonGlyph::downSharesUpBelowThreePictures() {
    for (int count : {1, 2, 3}) {
        TButtonGlyph glyph;
        SetStrip(glyph, SolidStrip(count), count);
        const int up = glyph.PrepareImage(TFancyButton::fbsUp, false);
        const int down = glyph.PrepareImage(TFancyButton::fbsDown, false);
        QCOMPARE(down == up, count < 3);
        QCOMPARE(glyph.PrepareImage(TFancyButton::fbsUp, false), up); // prepared once
    }
}

void TestButtonGlyph::countFromStripShape() {
    TButtonGlyph glyph;
    glyph.SetBitmap(QImage(240, 48, QImage::Format_RGB32));
    QCOMPARE(glyph.GetImageCount(), 5);
    glyph.SetBitmap(QImage(250, 48, QImage::Format_RGB32));
    QCOMPARE(glyph.GetImageCount(), 5); // not a whole multiple: the count stays
    glyph.SetBitmap(QImage(288, 48, QImage::Format_RGB32));
    QCOMPARE(glyph.GetImageCount(), 1); // six pictures are too many: taken as one
    glyph.SetBitmap(QImage(96, 48, QImage::Format_RGB32));
    QCOMPARE(glyph.GetImageCount(), 2);
    glyph.SetImageCount(0);
    QCOMPARE(glyph.GetImageCount(), 2);
    glyph.SetBitmap(QImage());
    QCOMPARE(glyph.GetImageCount(), 2);
    QCOMPARE(glyph.PrepareImage(TFancyButton::fbsUp, false), -1);
    QVERIFY(glyph.List() == nullptr);
}

void TestButtonGlyph::listsSharedPerSizeAndDestroyedWithLastUser() {
    auto first = std::make_unique<TButtonGlyph>();
    auto second = std::make_unique<TButtonGlyph>();
    auto other = std::make_unique<TButtonGlyph>();
    SetStrip(*first, SolidStrip(5), 5);
    SetStrip(*second, SolidStrip(4), 4);
    other->SetBitmap(QImage(30, 30, QImage::Format_RGB32));
    QVERIFY(first->List() == nullptr); // nothing prepared yet
    for (State s : {TFancyButton::fbsUp, TFancyButton::fbsDown, TFancyButton::fbsMouseOut}) {
        first->PrepareImage(s, false);
        second->PrepareImage(s, false);
    }
    other->PrepareImage(TFancyButton::fbsUp, false);
    QVERIFY(first->List() != nullptr);
    QCOMPARE(first->List(), second->List());
    QVERIFY(other->List() != first->List());
    QCOMPARE(SharedGlyphCache->Count(), 2);
    TGlyphList* shared = first->List();
    QCOMPARE(shared->UsedCount(), 6);
    QCOMPARE(shared->Count(), 6);
    QSet<int> firstSlots;
    for (State s : {TFancyButton::fbsUp, TFancyButton::fbsDown, TFancyButton::fbsMouseOut})
        firstSlots.insert(first->SlotOf(s));
    QCOMPARE(firstSlots.size(), 3);

    first.reset(); // frees only its own slots
    QCOMPARE(SharedGlyphCache->Count(), 2);
    QCOMPARE(shared->UsedCount(), 3);
    QCOMPARE(shared->Count(), 6); // freed images stay until reused
    for (int slot : firstSlots)
        QVERIFY(!shared->IsUsed(slot));
    QVERIFY(shared->IsUsed(second->SlotOf(TFancyButton::fbsUp)));

    other.reset(); // the last user of its size: that list goes
    QCOMPARE(SharedGlyphCache->Count(), 1);
    second.reset(); // the last user of all: the cache goes too
    QVERIFY(SharedGlyphCache == nullptr);

    // A later glyph makes a new cache.
    TButtonGlyph later;
    QVERIFY(SharedGlyphCache != nullptr);
    QVERIFY(SharedGlyphCache->IsEmpty());
}

void TestButtonGlyph::slotsReusedLowestFirst() {
    TGlyphList list(W, H);
    const QImage image = SolidStrip(1);
    QCOMPARE(list.AddImage(image, Qt::black), 0);
    QCOMPARE(list.AddImage(image, Qt::black), 1);
    QCOMPARE(list.AddImage(image, Qt::black), 2);
    list.FreeSlot(2);
    list.FreeSlot(0);
    list.FreeSlot(0); // freeing a free slot changes nothing
    QCOMPARE(list.UsedCount(), 1);
    QCOMPARE(list.AddImage(image, Qt::black), 0);
    QCOMPARE(list.AddImage(image, Qt::black), 2);
    QCOMPARE(list.Count(), 3);
    QCOMPARE(list.AddImage(image, Qt::black), 3); // full: grows by one
    QCOMPARE(list.Count(), 4);
    QCOMPARE(list.UsedCount(), 4);
}

void TestButtonGlyph::recolouredDisabledPicture() {
    // Cells of key colour with a white, a grey and a coloured pixel; n = 2..4 recolour cell 0,
    // n = 5 recolours cell 4.
    const QColor key(0, 128, 128);
    const QColor other(12, 34, 56);
    for (int count = 2; count <= 5; ++count) {
        QImage strip(W * count, H, QImage::Format_RGB32);
        strip.fill(other);
        const int source = count == 5 ? 4 : 0;
        const int x0 = source * W;
        strip.fill(Qt::magenta); // cells not meant to be used
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                strip.setPixelColor(x0 + x, y, key);
        strip.setPixelColor(x0 + 1, 1, Qt::white);
        strip.setPixelColor(x0 + 2, 1, QColor(128, 128, 128));
        strip.setPixelColor(x0 + 3, 1, other);
        strip.setPixelColor(x0 + 4, 1, QColor(254, 255, 255)); // nearly white: kept
        // Each cell's bottom-left pixel is the key colour.
        for (int i = 0; i < count; ++i)
            strip.setPixelColor(i * W, H - 1, key);

        TButtonGlyph glyph;
        SetStrip(glyph, strip, count);
        QCOMPARE(glyph.GetMaskColor(), QColorToColor(key));
        const int slot = glyph.PrepareImage(TFancyButton::fbsDisabled, false);
        const QImage image = glyph.List()->Image(slot);
        QCOMPARE(image.pixelColor(1, 1), Light);
        QCOMPARE(image.pixelColor(2, 1), Dark);
        QCOMPARE(image.pixelColor(3, 1), other);
        QCOMPARE(image.pixelColor(4, 1), QColor(254, 255, 255));
        QCOMPARE(image.pixelColor(5, 5), Face);
        // The former key colour, now the face colour, is transparent again.
        const QImage mask = glyph.List()->Mask(slot);
        QCOMPARE(mask.pixelIndex(5, 5), 1);
        QCOMPARE(mask.pixelIndex(1, 1), 0);
        QCOMPARE(mask.pixelIndex(3, 1), 0);
    }
}

void TestButtonGlyph::whiteTransparentColourEndsAsFace() {
    // White matches both the white rule and the transparent colour: the later rule wins.
    QImage strip(W * 4, H, QImage::Format_RGB32);
    strip.fill(Qt::white);
    strip.setPixelColor(3, 3, QColor(128, 128, 128));
    TButtonGlyph glyph;
    SetStrip(glyph, strip, 4);
    const QImage image = DisabledImage(glyph);
    QCOMPARE(image.pixelColor(0, 0), Face);
    QCOMPARE(image.pixelColor(3, 3), Dark);
}

void TestButtonGlyph::embossedDisabledPicture() {
    QImage strip(W, H, QImage::Format_RGB32);
    strip.fill(QColor(0, 128, 128));
    strip.setPixelColor(4, 4, Qt::black);
    strip.setPixelColor(5, 4, Qt::black);
    strip.setPixelColor(5, 5, QColor(1, 0, 0));   // not black: not engraved
    strip.setPixelColor(W - 1, H - 1, Qt::black); // its light edge falls outside
    TButtonGlyph glyph;
    glyph.SetBitmap(strip); // not a whole multiple of its height: one picture
    QCOMPARE(glyph.GetImageCount(), 1);
    const int slot = glyph.PrepareImage(TFancyButton::fbsDisabled, false);
    const QImage image = glyph.List()->Image(slot);
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            const QPoint p(x, y);
            QColor expected = Face;
            if (p == QPoint(5, 5) || p == QPoint(6, 5))
                expected = Light; // one pixel right of and below a dark pixel
            if (p == QPoint(4, 4) || p == QPoint(5, 4) || p == QPoint(W - 1, H - 1))
                expected = Dark;
            QCOMPARE(image.pixelColor(p), expected);
        }
    }
    QCOMPARE(glyph.List()->Mask(slot).pixelIndex(0, 0), 1); // the face is transparent

    // A two-colour picture engraves its white pixels.
    QImage mono(W, H, QImage::Format_Mono);
    mono.setColor(0, qRgb(0, 0, 0));
    mono.setColor(1, qRgb(255, 255, 255));
    mono.fill(0);
    mono.setPixel(2, 2, 1);
    TButtonGlyph monoGlyph;
    monoGlyph.SetBitmap(mono);
    QCOMPARE(monoGlyph.GetMaskColor(), clWhite);
    const QImage monoImage = DisabledImage(monoGlyph);
    QCOMPARE(monoImage.pixelColor(2, 2), Dark);
    QCOMPARE(monoImage.pixelColor(3, 3), Light);
    QCOMPARE(monoImage.pixelColor(0, 0), Face);
}

void TestButtonGlyph::disabledRebuiltInPlaceOnColourChange() {
    QImage strip(W * 5, H, QImage::Format_RGB32);
    strip.fill(QColor(0, 128, 128));
    strip.setPixelColor(4 * W + 2, 2, QColor(128, 128, 128));
    TButtonGlyph glyph;
    SetStrip(glyph, strip, 5);
    glyph.PrepareImage(TFancyButton::fbsUp, false);
    const int slot = glyph.PrepareImage(TFancyButton::fbsDisabled, false);
    const int used = glyph.List()->UsedCount();

    const QPalette saved = QApplication::palette();
    QPalette changed = saved;
    changed.setColor(QPalette::Dark, QColor(1, 2, 3));
    QApplication::setPalette(changed);
    QCOMPARE(glyph.PrepareImage(TFancyButton::fbsDisabled, false), slot); // not rebuilt
    QCOMPARE(glyph.List()->Image(slot).pixelColor(2, 2), Dark);
    QCOMPARE(glyph.PrepareImage(TFancyButton::fbsDisabled, true), slot); // rebuilt in place
    QCOMPARE(glyph.List()->Image(slot).pixelColor(2, 2), QColor(1, 2, 3));
    QCOMPARE(glyph.List()->UsedCount(), used);
    QApplication::setPalette(saved);
}

void TestButtonGlyph::drawnThroughMask() {
    const QColor key(0, 128, 128);
    QImage strip(W, H, QImage::Format_RGB32);
    strip.fill(key);
    strip.setPixelColor(3, 2, QColor(10, 20, 30));
    strip.setPixelColor(4, 2, QColor(0, 128, 129));
    TButtonGlyph glyph;
    glyph.SetBitmap(strip);
    QImage canvasImage(40, 30, QImage::Format_RGB32);
    canvasImage.fill(Qt::magenta);
    {
        QPainter canvas(&canvasImage);
        glyph.DrawImage(canvas, 7, 5, TFancyButton::fbsUp);
    }
    QCOMPARE(PixelsOf(canvasImage, qRgb(255, 0, 255)).size(), 40 * 30 - 2);
    QCOMPARE(canvasImage.pixelColor(10, 7), QColor(10, 20, 30));
    QCOMPARE(canvasImage.pixelColor(11, 7), QColor(0, 128, 129));
}

void TestButtonGlyph::captionPlaceOffsetAndShadow() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(19);
    font.setBold(true);
    font.setStyleStrategy(QFont::NoAntialias);
    const QRect client(0, 0, 100, 48);
    const QColor text(128, 255, 255);
    auto render = [&](TColor shadow, QPoint offset, State state, QRect* returned) {
        QImage image(100, 48, QImage::Format_RGB32);
        image.fill(Qt::magenta);
        QPainter canvas(&image);
        canvas.setFont(font);
        TButtonGlyph glyph;
        *returned =
            glyph.Draw(canvas, client, offset, QStringLiteral("OK"), state, shadow, text, 0);
        return image;
    };
    QRect plainRect;
    QRect shadowRect;
    const QImage plain = render(clNone, QPoint(0, 0), TFancyButton::fbsUp, &plainRect);
    const QImage shadowed = render(clBlack, QPoint(-2, 0), TFancyButton::fbsUp, &shadowRect);
    const QSet<QPoint> plainText = PixelsOf(plain, text.rgb());
    QVERIFY(plainText.size() > 50);

    // Without a shadow or offset the caption stands centred.
    const QRect box = Bounds(plainText);
    QVERIFY2(qAbs((box.left() + box.right()) - 99) <= 3,
             qPrintable(QStringLiteral("caption at %1..%2").arg(box.left()).arg(box.right())));
    QVERIFY2(qAbs((box.top() + box.bottom()) - 47) <= 8,
             qPrintable(QStringLiteral("caption at %1..%2").arg(box.top()).arg(box.bottom())));
    QCOMPARE(shadowRect, plainRect.translated(-2, 0));

    // With an offset of (-2, 0) and a shadow: the shadow stands where the text would stand
    // with the offset, the text itself two pixels further up and left.
    const QSet<QPoint> atOffset = Shifted(plainText, QPoint(-2, 0));
    QCOMPARE(PixelsOf(shadowed, text.rgb()), Shifted(atOffset, QPoint(-2, -2)));
    const QSet<QPoint> shadowPixels = PixelsOf(shadowed, qRgb(0, 0, 0));
    QVERIFY(!shadowPixels.isEmpty());
    QVERIFY(atOffset.contains(shadowPixels));
    QCOMPARE(shadowPixels | PixelsOf(shadowed, text.rgb()).intersect(atOffset), atOffset);
}

void TestButtonGlyph::disabledCaptionEmbossed() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(16);
    font.setStyleStrategy(QFont::NoAntialias);
    auto render = [&](State state, TColor shadow) {
        QImage image(100, 48, QImage::Format_RGB32);
        image.fill(Qt::magenta);
        QPainter canvas(&image);
        canvas.setFont(font);
        TButtonGlyph glyph;
        glyph.Draw(canvas, QRect(0, 0, 100, 48), QPoint(3, 1), QStringLiteral("Next"), state,
                   shadow, Qt::blue, 0);
        return image;
    };
    const QSet<QPoint> plain = PixelsOf(render(TFancyButton::fbsUp, clNone), qRgb(0, 0, 255));
    const QImage disabled = render(TFancyButton::fbsDisabled, clBlack); // shadow not used
    QCOMPARE(PixelsOf(disabled, Dark.rgb()), plain);
    QCOMPARE(PixelsOf(disabled, Light.rgb()), Shifted(plain, QPoint(1, 1)) - plain);
    QVERIFY(PixelsOf(disabled, qRgb(0, 0, 0)).isEmpty());
    QVERIFY(PixelsOf(disabled, qRgb(0, 0, 255)).isEmpty());
}

void TestButtonGlyph::emptyStripDrawsCaptionOnly() {
    QImage image(60, 30, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QPainter canvas(&image);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(16);
    font.setStyleStrategy(QFont::NoAntialias);
    canvas.setFont(font);
    TButtonGlyph glyph;
    glyph.Draw(canvas, QRect(0, 0, 60, 30), QPoint(), QStringLiteral("X"), TFancyButton::fbsUp,
               clNone, Qt::blue, 0);
    canvas.end();
    QVERIFY(glyph.List() == nullptr);
    QVERIFY(!PixelsOf(image, qRgb(0, 0, 255)).isEmpty());
}

QTEST_MAIN(TestButtonGlyph)
#include "tst_buttonglyph.moc"
