// The main window at a device pixel ratio of 2: the keyboard picture composed at device pixels
// with its highlight exact to the device pixel, and glyph buttons drawn without blur.
#include "KeyboardPicture.h"
#include "Main.h"
#include "TestSupport.h"

#include <QLabel>
#include <QMouseEvent>

namespace {

const QColor Amber(255, 191, 0);

// White, with a black vertical line at x 1000..1003 (reference units, beyond every test rectangle).
QImage LinePicture() {
    QImage picture(1536, 522, QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (int y = 0; y < 522; ++y)
        for (int x = 1000; x < 1004; ++x)
            picture.setPixel(x, y, qRgb(0, 0, 0));
    return picture;
}

constexpr const char* Layout = R"(
[Explanation texts]
title-0=One
image-0=letter
title-1=Areas
image-1=entire
[Key co-ordinates]
entire=,0,0,1536,522
typing=,0,100,800,522
letter=,200,200,300,250,401,201,503,251
numpad=,1200,200,1500,500
[Key descriptions]
descr-numpad=Numeric keypad
descr-typing=Typing keys
[Bitmap]
bitmap=kb.bmp
)";

} // namespace

class TestHiDpi : public QObject {
    Q_OBJECT

    std::unique_ptr<TProgramFolder> folder;
    std::unique_ptr<TMainForm> form;

    // A main window 1295 pixels wide, so that the paint box is 768 pixels wide: half the
    // reference width, 1536 device pixels.
    void Open() {
        folder = std::make_unique<TProgramFolder>();
        folder->Write("kb.bmp", BmpBytes(LinePicture()));
        folder->Write("test.kb", Layout);
        form.reset(CreateForms());
        form->ProgramFileName = folder->ProgramFile();
        form->FirstShow = false;
        form->resize(1295, 700);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        form->LayoutFileName = folder->FilePath("test.kb");
        form->LoadLayoutFile();
        form->ShowPage(1);
        form->PaintBox->repaint();
        QCOMPARE(form->PaintBox->width(), 768);
    }

    void Move(int x, int y) {
        QMouseEvent move(QEvent::MouseMove, QPointF(x, y),
                         form->PaintBox->mapToGlobal(QPointF(x, y)), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(form->PaintBox, &move);
    }

    QColor ShownAt(int x, int y) const { return form->PaintBox->ShownImage().pixelColor(x, y); }

private slots:
    void cleanup() {
        form.reset();
        folder.reset();
    }

    void thePictureIsComposedAtDevicePixels() {
        Open();
        QCOMPARE(form->PaintBox->devicePixelRatio(), 2.0);
        const QImage& shown = form->PaintBox->ShownImage();
        QCOMPARE(shown.size(), QSize(1536, 522));
        QCOMPARE(shown.devicePixelRatio(), 2.0);
        // The picture's line lies where it lies in the picture: not doubled from a smaller one.
        QCOMPARE(ShownAt(999, 300), QColor(Qt::white));
        QCOMPARE(ShownAt(1000, 300), QColor(Qt::black));
        QCOMPARE(ShownAt(1003, 300), QColor(Qt::black));
        QCOMPARE(ShownAt(1004, 300), QColor(Qt::white));
        // The outline is one window pixel wide: two device pixels.
        QCOMPARE(ShownAt(1, 300), QColor(Qt::black));
        QCOMPARE(ShownAt(2, 300), QColor(Qt::white));
        QCOMPARE(ShownAt(1533, 300), QColor(Qt::white));
        QCOMPARE(ShownAt(1534, 300), QColor(Qt::black));
        QCOMPARE(ShownAt(1535, 521), QColor(Qt::black));
    }

    void theHighlightIsExactToTheDevicePixel_data() {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<bool>("lit");
        // letter: (200, 200, 300, 250) in a 768 pixel box is (100, 100)..(150, 125), device
        // pixels (200, 200)..(299, 249); (401, 201, 503, 251) is (200, 100)..(251, 125).
        QTest::newRow("top left") << QPoint(200, 200) << true;
        QTest::newRow("left of it") << QPoint(199, 200) << false;
        QTest::newRow("above it") << QPoint(200, 199) << false;
        QTest::newRow("bottom right") << QPoint(299, 249) << true;
        QTest::newRow("right of it") << QPoint(300, 249) << false;
        QTest::newRow("below it") << QPoint(299, 250) << false;
        QTest::newRow("second, odd edges: left") << QPoint(400, 220) << true;
        QTest::newRow("second: left of it") << QPoint(399, 220) << false;
        QTest::newRow("second: last column") << QPoint(501, 220) << true;
        QTest::newRow("second: right of it") << QPoint(502, 220) << false;
    }

    void theHighlightIsExactToTheDevicePixel() {
        QFETCH(QPoint, point);
        QFETCH(bool, lit);
        Open();
        QCOMPARE(ShownAt(point.x(), point.y()), lit ? Amber : QColor(Qt::white));
    }

    void hoverOnTheAreasPageHighlightsAtDevicePixels() {
        Open();
        form->ShowPage(2);
        form->PaintBox->repaint();
        QCOMPARE(ShownAt(998, 50), Amber); // "entire" is lit, the line stays black
        QCOMPARE(ShownAt(1000, 50), QColor(Qt::black));
        Move(650, 150); // numpad: (600, 100)..(750, 250) in window pixels
        QCOMPARE(form->TooltipLabel->text(), QString("Numeric keypad"));
        QCOMPARE(ShownAt(1200, 200), Amber);
        QCOMPARE(ShownAt(1199, 200), QColor(Qt::white));
        QCOMPARE(ShownAt(1499, 499), Amber);
        QCOMPARE(ShownAt(1500, 499), QColor(Qt::white));
        QCOMPARE(ShownAt(1200, 500), QColor(Qt::white));
        const QImage shown = form->PaintBox->ShownImage();
        QCOMPARE(shown, ComposeKeyboardImage(
                            form->StretchedPicture.For(&*form->KeyboardPicture, QSize(768, 261), 2),
                            {{600, 100, 750, 250}}));
        // The box shows its device pixels one to one (once the hover's own paint is done, a paint
        // shows the page's own group again).
        QCoreApplication::processEvents();
        QImage window = form->PaintBox->grab().toImage().convertToFormat(QImage::Format_RGB32);
        window.setDevicePixelRatio(2);
        QCOMPARE(window, form->PaintBox->ShownImage());
        QCOMPARE(window.pixelColor(999, 300), Amber);
        QCOMPARE(window.pixelColor(1000, 300), QColor(Qt::black));
    }

    void glyphButtonsAreDrawnWithoutBlur() {
        Open();
        for (TFancyButton* button : {form->BackBtn, form->NextBtn, form->ExitBtn}) {
            button->SetCaption(QString()); // the strip alone
            QImage one(button->size(), QImage::Format_RGB32);
            one.setDevicePixelRatio(1);
            button->render(&one);
            QImage two(button->size() * 2, QImage::Format_RGB32);
            two.setDevicePixelRatio(2);
            button->render(&two);
            // Every device pixel repeats a pixel of the strip: no colour made up in between.
            for (int y = 0; y < two.height(); ++y)
                for (int x = 0; x < two.width(); ++x)
                    if (two.pixel(x, y) != one.pixel(x / 2, y / 2))
                        QFAIL(qPrintable(QStringLiteral("%1: pixel %2, %3")
                                             .arg(button->objectName())
                                             .arg(x)
                                             .arg(y)));
        }
    }
};

int main(int argc, char** argv) {
    // Set before the application starts, as a learner's desktop would.
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    TestHiDpi test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_hidpi.moc"
