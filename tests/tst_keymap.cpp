#include "KeyMap.h"
#include "KeyboardPicture.h"
#include "Main.h"
#include "TestSupport.h"

#include <QAccessible>
#include <QBuffer>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QtMath>

namespace {

const QColor Amber(255, 191, 0);

TKeyMap MapWith(std::initializer_list<std::pair<const char*, const char*>> entries) {
    TKeyMap map;
    for (auto [name, value] : entries)
        map[KeyGroupIndex(name)] = value;
    return map;
}

QString ConvertError(const QString& value) {
    try {
        ParseKeyRects(value);
    } catch (const EConvertError& error) {
        return QString::fromUtf8(error.what());
    }
    return QString();
}

// A picture of 1536 x 522: white, with a black vertical line at x 100..103.
QImage LinePicture() {
    QImage picture(1536, 522, QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (int y = 0; y < 522; ++y)
        for (int x = 100; x < 104; ++x)
            picture.setPixel(x, y, qRgb(0, 0, 0));
    return picture;
}

// A picture with fine detail, so that stretching it smooths every pixel differently.
QImage DetailedPicture() {
    QImage picture(1536, 522, QImage::Format_RGB32);
    for (int y = 0; y < 522; ++y)
        for (int x = 0; x < 1536; ++x)
            picture.setPixel(x, y,
                             (x / 3 + y / 2) % 5 == 0 ? qRgb(20, 40, 60)
                                                      : qRgb(255, 255 - x % 7, 250 + y % 6));
    return picture;
}

// The keyboard as composed by drawing: white, the black outline, the amber rectangles, and the
// picture stretched smoothly over it with a bitwise AND.
QImage DrawnKeyboard(QSize size, const std::vector<TKeyRect>& rects, const QImage& picture) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, size.width() - 1, size.height() - 1);
    for (const TKeyRect& r : rects)
        painter.fillRect(QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top), Amber);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    painter.drawImage(image.rect(), picture);
    return image;
}

QImage ShippedPicture() {
    return LoadKeyboardPicture(QStringLiteral(FW_DATA_DIR "/us.bmp"), QString());
}

} // namespace

using TRects = std::vector<TKeyRect>;

class TestKeyMap : public QObject {
    Q_OBJECT

    std::unique_ptr<TProgramFolder> folder;
    std::unique_ptr<TMainForm> form;

    // A main window 2575 pixels wide, so that the paint box is exactly 1536 pixels wide.
    void Open(const QByteArray& layout) {
        folder = std::make_unique<TProgramFolder>();
        folder->Write("kb.bmp", BmpBytes(LinePicture()));
        folder->Write("test.kb", layout + "\n[Bitmap]\nbitmap=kb.bmp\n");
        form.reset(CreateForms());
        form->ProgramFileName = folder->ProgramFile();
        form->FirstShow = false;
        form->resize(2575, 1000);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        form->LayoutFileName = folder->FilePath("test.kb");
        form->LoadLayoutFile();
        form->ShowPage(1);
        QCOMPARE(form->PaintBox->width(), 1536);
    }

    void Move(int x, int y) {
        QMouseEvent move(QEvent::MouseMove, QPointF(x, y),
                         form->PaintBox->mapToGlobal(QPointF(x, y)), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(form->PaintBox, &move);
    }

    void Click(int x, int y) {
        QTest::mouseClick(form->PaintBox, Qt::LeftButton, {}, QPoint(x, y));
    }

    QColor ShownAt(int x, int y) { return form->PaintBox->ShownImage().pixelColor(x, y); }

    static constexpr const char* Layout = R"(
[Explanation texts]
title-0=One
image-0=letter
title-1=Areas
image-1=entire
title-2=Arrows A
image-2=ARROW
title-3=Bad
image-3=tab
title-4=Arrows B
image-4=arrow
title-5=Case
image-5=Letter
[Key co-ordinates]
entire=,0,0,1536,522
typing=,0,100,800,522
letter=,200,200,300,250,400,200,500,250
shift=,250,220,450,240
numpad=,1200,200,1500,500
arrow=,900,400,1000,450
enter=100,100,200,200
[Key descriptions]
descr-letter=Letters: a description longer than twenty-nine characters
descr-numpad=Numeric keypad
descr-typing=Typing keys
)";

private slots:
    void cleanup() {
        form.reset();
        folder.reset();
    }

    void parsesValuesFromTheLastRectangleToTheFirst() {
        using R = std::vector<TKeyRect>;
        QCOMPARE(ParseKeyRects(",100,50,180,120"), R({{100, 50, 180, 120}}));
        QCOMPARE(ParseKeyRects(",0,0,10,10,20,0,30,10"), R({{20, 0, 30, 10}, {0, 0, 10, 10}}));
        QCOMPARE(ParseKeyRects("100,50,180,120"), R());
        QCOMPARE(ParseKeyRects(""), R());
        QCOMPARE(ParseKeyRects(", 1,-2,+3,$10"), R({{1, -2, 3, 16}}));
        QCOMPARE(ParseKeyRects(",0x1F,0,0X0a,-$2"), R({{31, 0, 10, -2}}));
        QCOMPARE(ParseKeyRects(",9,1,2,3,4"), R({{1, 2, 3, 4}})); // the incomplete group is ignored
        QCOMPARE(ParseKeyRects(",-2147483648,2147483647,0,0"), R({{INT_MIN, INT_MAX, 0, 0}}));
    }

    void rejectsNumbersThatAreNotIntegers() {
        QCOMPARE(ConvertError(",1,2,3,x4"), QString("'x4' is not a valid integer value"));
        QCOMPARE(ConvertError(",1,2,,4"), QString("'' is not a valid integer value"));
        QCOMPARE(ConvertError(",1,2,3,4 "), QString("'4 ' is not a valid integer value"));
        QCOMPARE(ConvertError(",1,2,3,2147483648"),
                 QString("'2147483648' is not a valid integer value"));
        QCOMPARE(ConvertError(",1,2,3,$"), QString("'$' is not a valid integer value"));
        QCOMPARE(ConvertError(",1,2,3,-"), QString("'-' is not a valid integer value"));
        QCOMPARE(ConvertError(",1,2,3, 4"), QString());
    }

    void scalesByThePaintBoxWidthTowardZero() {
        const TKeyRect rect = ScaleKeyRect({10, 20, 30, 40}, 768);
        QCOMPARE(rect, TKeyRect({5, 10, 15, 20}));
        QVERIFY(rect.Contains(5, 10));
        QVERIFY(!rect.Contains(15, 12));
        QVERIFY(!rect.Contains(10, 20));
        QCOMPARE(ScaleKeyRect({3, -3, 0, 0}, 1000), TKeyRect({1, -1, 0, 0}));
        QCOMPARE(ScaleKeyRect({INT_MAX, 0, 0, 0}, 3000).Left,
                 int(3000LL * INT_MAX / 1536 > INT_MAX ? INT_MAX : 0));
    }

    void findsTheFirstReactingGroup() {
        const TKeyMap map = MapWith({{"entire", ",0,0,1536,522"},
                                     {"typing", ",0,0,800,522"},
                                     {"letter", ",100,100,200,200"},
                                     {"shift", ",150,150,300,200"},
                                     {"function", ",900,0,1000,50"},
                                     {"numpad", ",1200,100,1500,500"}});
        QCOMPARE(KeyGroupAt(map, 1, 1536, 160, 160), KeyGroupIndex("letter"));
        QCOMPARE(KeyGroupAt(map, 1, 1536, 250, 160), KeyGroupIndex("shift"));
        QCOMPARE(KeyGroupAt(map, 1, 1536, 50, 50), -1); // only entire and typing lie there
        QCOMPARE(KeyGroupAt(map, 2, 1536, 160, 160), KeyGroupIndex("typing"));
        QCOMPARE(KeyGroupAt(map, 2, 1536, 950, 10), KeyGroupIndex("function"));
        QCOMPARE(KeyGroupAt(map, 3, 1536, 950, 10), KeyGroupIndex("function"));
        QCOMPARE(KeyGroupAt(map, 2, 768, 1300 / 2, 300 / 2), KeyGroupIndex("numpad"));
        int onPage2 = 0, elsewhere = 0;
        for (int i = 0; i < KeyGroupCount; ++i) {
            onPage2 += ReactsOnPage(i, 2);
            elsewhere += ReactsOnPage(i, 7);
        }
        QCOMPARE(onPage2, 6);
        QCOMPARE(elsewhere, 22);
    }

    void composesAmberUnderThePicture() {
        const QImage picture = LinePicture();
        const QImage image = ComposeKeyboardImage(QSize(768, 261), {{50, 20, 60, 40}}, &picture);
        QCOMPARE(image.pixelColor(0, 0), QColor(Qt::black)); // outline
        QCOMPARE(image.pixelColor(767, 260), QColor(Qt::black));
        QCOMPARE(image.pixelColor(55, 30), Amber);
        QCOMPARE(image.pixelColor(49, 30), QColor(Qt::white));
        QCOMPARE(image.pixelColor(60, 30), QColor(Qt::white));
        QCOMPARE(image.pixelColor(55, 40), QColor(Qt::white));
        // The line at x 100..103 of the picture lands at 50..51: dark, amber or not.
        QVERIFY(image.pixelColor(50, 30).value() < 100);
        QVERIFY(image.pixelColor(50, 100).value() < 100);
        for (int y = 1; y < 260; ++y)
            for (int x = 1; x < 767; ++x) {
                const QColor c = image.pixelColor(x, y);
                const bool inside = x >= 50 && x < 60 && y >= 20 && y < 40;
                if (!inside)
                    QVERIFY2(c.red() == c.green() && c.green() == c.blue(), "amber outside");
            }

        const QImage bare = ComposeKeyboardImage(QSize(100, 34), {{10, 10, 20, 20}}, nullptr);
        QCOMPARE(bare.pixelColor(15, 15), Amber);
        QCOMPARE(bare.pixelColor(5, 5), QColor(Qt::white));
        QCOMPARE(bare.pixelColor(0, 20), QColor(Qt::black));
        QVERIFY(ComposeKeyboardImage(QSize(0, 0), {}, nullptr).isNull());
    }

    void theKeptPictureComposesAsDrawingItAfresh_data() {
        QTest::addColumn<QImage>("picture");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<TRects>("rects");
        const QImage detailed = DetailedPicture();
        const QImage shipped = ShippedPicture();
        QCOMPARE(shipped.format(), QImage::Format_Indexed8); // stretched from its palette
        const TRects letters = {{100, 60, 180, 90}, {150, 80, 260, 120}};
        QTest::newRow("759 x 257, two overlapping") << detailed << QSize(759, 257) << letters;
        QTest::newRow("1152 x 391, none") << detailed << QSize(1152, 391) << TRects();
        QTest::newRow("1527 x 518, over the outline")
            << detailed << QSize(1527, 518) << TRects({{-5, -5, 40, 30}, {1500, 500, 1600, 600}});
        QTest::newRow("2295 x 779, the whole picture")
            << detailed << QSize(2295, 779) << TRects({{0, 0, 2295, 779}});
        QTest::newRow("1536 x 522, unscaled") << detailed << QSize(1536, 522) << letters;
        QTest::newRow("100 x 34, tiny") << detailed << QSize(100, 34) << TRects({{0, 10, 1, 20}});
        QTest::newRow("shipped picture, 1152 x 391") << shipped << QSize(1152, 391) << letters;
        QTest::newRow("shipped picture, 759 x 257")
            << shipped << QSize(759, 257) << TRects({{0, 0, 759, 257}});
    }

    void theKeptPictureComposesAsDrawingItAfresh() {
        QFETCH(QImage, picture);
        QFETCH(QSize, size);
        QFETCH(TRects, rects);
        TStretchedPicture kept;
        const QImage& stretched = kept.For(&picture, size, 1);
        const QImage drawn = DrawnKeyboard(size, rects, picture);
        QCOMPARE(ComposeKeyboardImage(stretched, rects), drawn);
        // Every later compose starts from the same kept picture and gives the same pixels.
        ComposeKeyboardImage(stretched, TRects({{0, 0, size.width(), size.height()}}));
        QCOMPARE(ComposeKeyboardImage(kept.For(&picture, size, 1), rects), drawn);
        QCOMPARE(ComposeKeyboardImage(size, rects, &picture), drawn);
    }

    // Lighting other keys changes only the pixels around the keys lit before and now: every
    // keyboard in a sequence gives the pixels of drawing it afresh, and says which pixels changed.
    void composingAgainGivesTheSamePixels_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<std::vector<TRects>>("sequence");
        const TRects letters = {{100, 60, 180, 90}, {150, 80, 260, 120}};
        const TRects outline = {{-5, -5, 40, 30}, {700, 200, 800, 300}};
        const TRects whole = {{0, 0, 759, 257}};
        QTest::newRow("between areas and back")
            << QSize(759, 257) << std::vector<TRects>{letters, {{300, 100, 500, 200}}, letters};
        QTest::newRow("overlapping the keys before")
            << QSize(759, 257) << std::vector<TRects>{letters, {{120, 70, 400, 110}}};
        QTest::newRow("over the outline and off it")
            << QSize(759, 257) << std::vector<TRects>{outline, letters, outline, TRects()};
        QTest::newRow("the whole picture, then none")
            << QSize(759, 257) << std::vector<TRects>{whole, TRects(), whole};
        QTest::newRow("the same keys again")
            << QSize(1152, 391) << std::vector<TRects>{letters, letters};
    }
    void composingAgainGivesTheSamePixels() {
        QFETCH(QSize, size);
        QFETCH(std::vector<TRects>, sequence);
        const QImage picture = DetailedPicture();
        TStretchedPicture kept;
        TLitKeyboard keyboard;
        QImage before;
        for (std::size_t i = 0; i < sequence.size(); ++i) {
            keyboard.Light(kept.For(&picture, size, 1), sequence[i]);
            const QImage image = keyboard.Image();
            QCOMPARE(image, DrawnKeyboard(size, sequence[i], picture));
            const QRegion changed = keyboard.Changed();
            if (i == 0)
                QCOMPARE(changed, QRegion(image.rect()));
            else if (sequence[i] == sequence[i - 1])
                QVERIFY(changed.isEmpty());
            for (int y = 0; i > 0 && y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    if (image.pixel(x, y) != before.pixel(x, y))
                        QVERIFY2(changed.contains(QPoint(x, y)),
                                 qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
            before = image;
        }
    }

    void thePictureIsStretchedOncePerSizeAndRatio() {
        const QImage picture = DetailedPicture();
        TStretchedPicture kept;
        const qint64 first = kept.For(&picture, QSize(759, 257), 1).cacheKey();
        QCOMPARE(kept.For(&picture, QSize(759, 257), 1).cacheKey(), first);
        const QImage& wider = kept.For(&picture, QSize(1152, 391), 1);
        QCOMPARE(wider.size(), QSize(1152, 391));
        QVERIFY(wider.cacheKey() != first);
        const QImage& sharp = kept.For(&picture, QSize(1152, 391), 2);
        QCOMPARE(sharp.size(), QSize(2304, 782));
        QCOMPARE(sharp.devicePixelRatio(), 2.0);
        const qint64 atRatio2 = sharp.cacheKey();
        QCOMPARE(kept.For(&picture, QSize(1152, 391), 2).cacheKey(), atRatio2);
        // Another picture, even of the same size, is stretched anew.
        const QImage other = LinePicture();
        QVERIFY(kept.For(&other, QSize(1152, 391), 2).cacheKey() != atRatio2);
        QImage white(10, 4, QImage::Format_RGB32);
        white.fill(Qt::white);
        QCOMPARE(kept.For(nullptr, QSize(10, 4), 1), white); // no picture: the white below shows
        QVERIFY(kept.For(&picture, QSize(0, 4), 1).isNull());
    }

    void composesAtDevicePixels_data() {
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<TRects>("rects");
        QTest::addColumn<QRect>("amber"); // in device pixels
        QTest::newRow("ratio 2") << 2.0 << TRects({{50, 20, 60, 40}}) << QRect(100, 40, 20, 40);
        QTest::newRow("ratio 3") << 3.0 << TRects({{50, 20, 60, 40}}) << QRect(150, 60, 30, 60);
        QTest::newRow("ratio 1.5") << 1.5 << TRects({{50, 20, 60, 40}}) << QRect(75, 30, 15, 30);
        QTest::newRow("ratio 2, over the outline")
            << 2.0 << TRects({{-4, 0, 10, 10}}) << QRect(0, 0, 20, 20);
    }

    void composesAtDevicePixels() {
        QFETCH(qreal, ratio);
        QFETCH(TRects, rects);
        QFETCH(QRect, amber);
        // White with a black line at x 100..103: in a 768 pixel box it lies at 50..51.
        const QImage picture = LinePicture();
        TStretchedPicture kept;
        const QImage image =
            ComposeKeyboardImage(kept.For(&picture, QSize(768, 261), ratio), rects);
        QCOMPARE(image.size(), DeviceSize(QSize(768, 261), ratio));
        QCOMPARE(image.devicePixelRatio(), ratio);
        const int outline = qRound(ratio);
        const int lineEnd = qCeil(52 * ratio); // the line's smoothed right edge
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                if (x >= 50 * ratio - 1 && x <= lineEnd)
                    continue; // the stretched line
                const bool onOutline = x < outline || y < outline || x >= image.width() - outline ||
                                       y >= image.height() - outline;
                const QColor expected = amber.contains(x, y) ? Amber
                                        : onOutline          ? QColor(Qt::black)
                                                             : QColor(Qt::white);
                if (image.pixelColor(x, y) != expected)
                    QFAIL(qPrintable(QStringLiteral("pixel %1, %2").arg(x).arg(y)));
            }
    }

    void composesRectanglesWhosePixelsPass32Bits_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("width");
        QTest::addColumn<QPoint>("inside");
        const QString whole = ",-2147483648,-2147483648,2147483647,2147483647";
        QTest::newRow("whole range, 769 wide") << whole << 769 << QPoint(400, 100);
        QTest::newRow("whole range, 1536 wide") << whole << 1536 << QPoint(1, 1);
        QTest::newRow("whole range, 3000 wide") << whole << 3000 << QPoint(2998, 975);
        QTest::newRow("from far left") << ",-2147483648,0,10,10" << 1536 << QPoint(5, 5);
        QTest::newRow("to far below") << ",100,100,110,2147483647" << 1536 << QPoint(105, 500);
    }

    // Rectangles are scaled and clipped in 64 bits, so far-off co-ordinates fill what lies in
    // the picture like any other rectangle.
    void composesRectanglesWhosePixelsPass32Bits() {
        QFETCH(QString, value);
        QFETCH(int, width);
        QFETCH(QPoint, inside);
        std::vector<TKeyRect> rects = ParseKeyRects(value);
        for (TKeyRect& rect : rects)
            rect = ScaleKeyRect(rect, width);
        const QSize size(width, width * 522 / 1536);
        const QImage image = ComposeKeyboardImage(size, rects, nullptr);
        QCOMPARE(image.pixelColor(inside), Amber);
        QCOMPARE(image.pixelColor(width - 1, size.height() - 1) == Amber,
                 rects.front().Right >= width && rects.front().Bottom >= size.height());
    }

    void paintsThePagesGroup() {
        Open(Layout);
        form->PaintBox->repaint();
        QCOMPARE(ShownAt(250, 225), Amber);
        QCOMPARE(ShownAt(450, 225), Amber);
        QCOMPARE(ShownAt(350, 225), QColor(Qt::white));
        QVERIFY(ShownAt(101, 225).value() < 60);
        // "Letter" is not a group name: nothing is drawn and the box keeps its picture.
        form->ShowPage(6);
        form->PaintBox->repaint();
        QCOMPARE(ShownAt(250, 225), Amber);
    }

    void hoverShowsTheDescription() {
        Open(Layout);
        Move(250, 225); // letter and shift overlap: letter comes first
        QCOMPARE(form->TooltipLabel->text(), QString("Letters: a description longer"));
        Move(320, 230);
        QCOMPARE(form->TooltipLabel->text(), QString()); // shift has no description
        Move(1300, 300);
        QCOMPARE(form->TooltipLabel->text(), QString("Numeric keypad"));
        Move(10, 10);
        QCOMPARE(form->TooltipLabel->text(), QString());
        Move(150, 150); // enter's value lacks the leading comma
        QCOMPARE(form->TooltipLabel->text(), QString());
    }

    void theDescriptionIsTheNameScreenReadersRead() {
        Open(Layout);
        QAccessibleInterface* label = QAccessible::queryAccessibleInterface(form->TooltipLabel);
        QVERIFY(label);
        QCOMPARE(label->text(QAccessible::Description), QString("Key description"));
        for (auto [x, y, description] :
             {std::tuple(1300, 300, "Numeric keypad"),
              std::tuple(250, 225, "Letters: a description longer"), std::tuple(10, 10, "")}) {
            Move(x, y);
            QCOMPARE(label->text(QAccessible::Name), QString(description));
        }
    }

    void theAreasPageHighlightsWhatThePointerIsOver() {
        Open(Layout);
        form->ShowPage(2);
        form->PaintBox->repaint();
        QCOMPARE(ShownAt(1300, 300), Amber); // "entire" is lit
        Move(1300, 300);
        QCOMPARE(form->TooltipLabel->text(), QString("Numeric keypad"));
        QCOMPARE(ShownAt(1300, 300), Amber);
        QCOMPARE(ShownAt(600, 300), QColor(Qt::white));
        Move(300, 300);
        QCOMPARE(form->TooltipLabel->text(), QString("Typing keys"));
        QCOMPARE(ShownAt(600, 300), Amber);
        QCOMPARE(ShownAt(1300, 300), QColor(Qt::white));
        // The box paints what the hover lit, not the page's own group.
        QCoreApplication::processEvents();
        QCOMPARE(ShownAt(600, 300), Amber);
        QCOMPARE(ShownAt(1300, 300), QColor(Qt::white));
        Move(1000, 50); // outside the areas: the page's own group again
        QCOMPARE(form->TooltipLabel->text(), QString());
        QCOMPARE(ShownAt(1300, 300), Amber);
        QCOMPARE(ShownAt(1000, 50), Amber);
        // Elsewhere the same point shows the text but leaves the picture alone.
        form->ShowPage(1);
        form->PaintBox->repaint();
        Move(1300, 300);
        QCOMPARE(form->TooltipLabel->text(), QString("Numeric keypad"));
        QCOMPARE(ShownAt(1300, 300), QColor(Qt::white));
    }

    void hoverComposesFromTheKeptPictureUntilTheBoxIsResized() {
        Open(Layout);
        form->ShowPage(2);
        form->PaintBox->repaint();
        auto kept = [this] {
            return form->StretchedPicture.For(&*form->KeyboardPicture, form->PaintBox->size(), 1)
                .cacheKey();
        };
        const qint64 before = kept();
        for (const QPoint& p : {QPoint(1300, 300), QPoint(300, 300), QPoint(1000, 50)})
            Move(p.x(), p.y());
        QCOMPARE(kept(), before);
        Move(1300, 300);
        const TRects numpad = {{1200, 200, 1500, 500}};
        QCOMPARE(form->PaintBox->ShownImage(),
                 ComposeKeyboardImage(QSize(1536, 522), numpad, &*form->KeyboardPicture));
        form->resize(1600, 800);
        QTRY_VERIFY(form->PaintBox->width() != 1536);
        const int width = form->PaintBox->width();
        Move(1300 * width / 1536, 300 * width / 1536);
        QCOMPARE(form->TooltipLabel->text(), QString("Numeric keypad"));
        QVERIFY(kept() != before);
        QCOMPARE(form->PaintBox->ShownImage(),
                 ComposeKeyboardImage(form->PaintBox->size(), {ScaleKeyRect(numpad.front(), width)},
                                      &*form->KeyboardPicture));
    }

    void clickingAKeyVisitsEveryPageAboutIt() {
        Open(Layout);
        Click(950, 420);
        QCOMPARE(form->PageNumber, 5);
        QCOMPARE(form->HistoryDepth, 2);
        form->BackBtnClick();
        QCOMPARE(form->PageNumber, 3);
        // "Letter" on page 6 matches the click on the letters, whatever its case.
        Click(250, 225);
        QCOMPARE(form->PageNumber, 6);
        Click(10, 10);
        QCOMPARE(form->PageNumber, 6);
    }

    void anInvalidNumberIsReportedAndChangesNothing() {
        Open(Layout);
        QString message;
        TModalAnswerer answerer([&](QWidget* w) {
            message = static_cast<QMessageBox*>(w)->text();
            static_cast<QDialog*>(w)->accept();
        });
        form->KeyMap[KeyGroupIndex("tab")] = ",10,10,20,abc";
        form->ShowPage(4);
        form->PaintBox->repaint();
        QTRY_COMPARE(answerer.Answered, 1);
        QCOMPARE(message, QString("'abc' is not a valid integer value"));
        form->PaintBox->repaint(); // the same failure is not reported at every repaint
        QTest::qWait(50);
        QCOMPARE(answerer.Answered, 1);
        form->ShowPage(1);
        form->TooltipLabel->setText("kept");
        form->KeyMap[KeyGroupIndex("letter")] = ",1,2,3,4x";
        Move(10, 10); // letter is tried first and fails
        QTRY_COMPARE(answerer.Answered, 2);
        QCOMPARE(form->TooltipLabel->text(), QString("kept"));
        Click(950, 420); // the click meets the same broken value: abandoned without a word
        QTest::qWait(50);
        QCOMPARE(answerer.Answered, 2);
        QCOMPARE(form->PageNumber, 1);
    }

    void aBrokenValueIsShownOncePerLoadAndHoveringGoesOn() {
        Open(QByteArray(Layout).replace("shift=,250,220,450,240", "shift=,250,220,450,2x40"));
        QStringList messages;
        TModalAnswerer answerer([&](QWidget* w) {
            messages << static_cast<QMessageBox*>(w)->text();
            static_cast<QDialog*>(w)->accept();
        });
        Move(10, 10); // every group before shift misses the point: shift's value is read
        QTRY_COMPARE(answerer.Answered, 1);
        QCOMPARE(messages, QStringList("'2x40' is not a valid integer value"));
        form->TooltipLabel->setText("kept");
        for (const QPoint& p : {QPoint(10, 10), QPoint(320, 230), QPoint(1300, 300)})
            Move(p.x(), p.y());
        Click(950, 420);
        QTest::qWait(50);
        QCOMPARE(answerer.Answered, 1);
        QCOMPARE(form->TooltipLabel->text(), QString("kept"));
        QCOMPARE(form->PageNumber, 1);
        Move(250, 225); // letter comes before shift and still reacts
        QCOMPARE(form->TooltipLabel->text(), QString("Letters: a description longer"));
        // A new load of the layout file shows the error once more.
        form->LoadLayoutFile();
        Move(10, 10);
        QTRY_COMPARE(answerer.Answered, 2);
    }
};

QTEST_MAIN(TestKeyMap)
#include "tst_keymap.moc"
