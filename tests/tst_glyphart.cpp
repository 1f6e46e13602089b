// The button artwork and the icon: compiled into the program, of the sizes and roles the buttons
// need, and the same as what glyphgen draws today.
#include "FancyButton.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct TStrip {
    const char* Name;
    int Pictures;
};

const TStrip Strips[] = {{"back", 5}, {"next", 5}, {"exit", 4}, {"ok", 4}};

QImage Load(const QString& path) {
    return QImage(path).convertToFormat(QImage::Format_RGB32);
}

} // namespace

class TestGlyphArt : public QObject {
    Q_OBJECT

private slots:
    void stripsInResources();
    void iconInResources();
    void committedArtworkIsGeneratorOutput();
};

void TestGlyphArt::stripsInResources() {
    for (const TStrip& s : Strips) {
        const QString path = QStringLiteral(":/buttons/%1.bmp").arg(QLatin1String(s.Name));
        const QImage strip = Load(path);
        QVERIFY2(!strip.isNull(), qPrintable(path));
        QCOMPARE(strip.size(), QSize(100 * s.Pictures, 48));

        // One transparent colour fills the bottom-left corner of every picture.
        const QRgb key = strip.pixel(0, 47);
        for (int cell = 0; cell < s.Pictures; ++cell)
            for (QPoint p : {QPoint(0, 47), QPoint(1, 47), QPoint(0, 46), QPoint(2, 45)})
                QCOMPARE(strip.pixel(cell * 100 + p.x(), p.y()), key);

        // The hover, pressed and resting pictures differ; each has an opaque face.
        for (int cell = 0; cell < 3; ++cell) {
            QVERIFY(strip.pixel(cell * 100 + 50, 24) != key);
            for (int other = cell + 1; other < 3; ++other)
                QVERIFY(strip.copy(cell * 100, 0, 100, 48) != strip.copy(other * 100, 0, 100, 48));
        }

        // The disabled picture's source holds only the exact colours that get recoloured.
        if (s.Pictures == 5) {
            int grey = 0;
            for (int y = 0; y < 48; ++y) {
                for (int x = 400; x < 500; ++x) {
                    const QRgb c = strip.pixel(x, y);
                    QVERIFY(c == key || c == qRgb(128, 128, 128) || c == qRgb(255, 255, 255));
                    grey += c == qRgb(128, 128, 128);
                }
            }
            QVERIFY(grey > 100);
        }

        // A button of it takes the size of one picture.
        TFancyButton button;
        button.SetGlyph(QPixmap(path));
        button.SetNumGlyphs(s.Pictures);
        QCOMPARE(button.size(), QSize(100, 48));
    }
}

void TestGlyphArt::iconInResources() {
    for (int size : {16, 32, 48}) {
        const QImage icon(QStringLiteral(":/icon/fingerwise-%1.png").arg(size));
        QCOMPARE(icon.size(), QSize(size, size));
        QVERIFY(icon.hasAlphaChannel());
        QCOMPARE(qAlpha(icon.pixel(size / 2, size / 2)), 255);
    }
}

void TestGlyphArt::committedArtworkIsGeneratorOutput() {
    QTemporaryDir out;
    QVERIFY(out.isValid());
    QCOMPARE(QProcess::execute(QStringLiteral(GLYPHGEN), {out.path()}), 0);
    QStringList compiledIn;
    for (const TStrip& s : Strips)
        compiledIn << QStringLiteral("buttons/%1.bmp").arg(QLatin1String(s.Name));
    for (int size : {16, 32, 48})
        compiledIn << QStringLiteral("icon/fingerwise-%1.png").arg(size);
    // The installed icon theme's sizes beyond those.
    QStringList installedOnly;
    for (int size : {64, 128, 256})
        installedOnly << QStringLiteral("icon/fingerwise-%1.png").arg(size);
    const QString redraw = QStringLiteral(": run `cmake --build build --target glyphs`");
    for (const QString& file : compiledIn + installedOnly) {
        const QImage drawn(out.filePath(file));
        const QImage committed(QStringLiteral(FW_DATA_DIR "/") + file);
        QVERIFY2(!drawn.isNull() && !committed.isNull(), qPrintable(file));
        QVERIFY2(drawn == committed, qPrintable(file + redraw));
        if (compiledIn.contains(file))
            QVERIFY2(QImage(QStringLiteral(":/") + file) == committed, qPrintable(file));
    }
    QFile drawnSvg(out.filePath(QStringLiteral("icon/fingerwise.svg")));
    QFile committedSvg(QStringLiteral(FW_DATA_DIR "/icon/fingerwise.svg"));
    QVERIFY(drawnSvg.open(QIODevice::ReadOnly) && committedSvg.open(QIODevice::ReadOnly));
    QVERIFY2(drawnSvg.readAll() == committedSvg.readAll(),
             qPrintable(QStringLiteral("icon/fingerwise.svg") + redraw));
}

QTEST_MAIN(TestGlyphArt)
#include "tst_glyphart.moc"
