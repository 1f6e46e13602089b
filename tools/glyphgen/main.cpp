// glyphgen: draws the fancy buttons' glyph strips and the program icon.
//
//   glyphgen DATA_DIR
//
// writes DATA_DIR/buttons/{back,next,exit,ok}.bmp (strips of 100 x 48 pictures: hover, pressed,
// resting, placeholder and, for Back and Next, the faint outline that the disabled picture is
// recoloured from) and the program icon, a keyboard key: DATA_DIR/icon/fingerwise-N.png in the
// sizes of the desktop's icon theme (16 to 256) and the scalable DATA_DIR/icon/fingerwise.svg.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>

#include <functional>

namespace {

constexpr int CellWidth = 100;
constexpr int CellHeight = 48;

// The strips' transparent colour: the main window's background, so that the smoothed edges of
// the pictures blend into the window they stand on.
const QColor Transparent(227, 227, 240);

// The exact colours that the disabled picture is recoloured from.
const QColor OutlineGrey(128, 128, 128);
const QColor OutlineWhite(255, 255, 255);

enum class TLook { Hover, Pressed, Resting };

// A symbol beside the caption, drawn into a path in cell coordinates.
using TSymbol = std::function<QPainterPath()>;

const QRectF Body(3.5, 3.5, 92, 40);
constexpr qreal BodyRadius = 13;

QPainterPath BodyPath() {
    QPainterPath path;
    path.addRoundedRect(Body, BodyRadius, BodyRadius);
    return path;
}

QPainterPath BackArrow() {
    QPainterPath path;
    path.moveTo(11, 22);
    path.lineTo(23, 11.5);
    path.lineTo(23, 18);
    path.lineTo(35, 18);
    path.lineTo(35, 26);
    path.lineTo(23, 26);
    path.lineTo(23, 32.5);
    path.closeSubpath();
    return path;
}

QPainterPath NextArrow() {
    QTransform mirror;
    mirror.translate(CellWidth, 0);
    mirror.scale(-1, 1);
    return mirror.map(BackArrow());
}

QPainterPath Cross() {
    // Two crossed bars with round ends.
    QPainterPath bar;
    bar.addRoundedRect(QRectF(-9.5, -2.6, 19, 5.2), 2.6, 2.6);
    QPainterPath path;
    for (qreal angle : {45.0, -45.0}) {
        QTransform t;
        t.translate(76.5, 22);
        t.rotate(angle);
        path = path.united(t.map(bar));
    }
    return path;
}

QPainterPath Tick() {
    QPainterPath stroke;
    stroke.moveTo(71, 22.5);
    stroke.lineTo(76.5, 28.5);
    stroke.lineTo(88, 14);
    QPainterPathStroker stroker;
    stroker.setWidth(5);
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    return stroker.createStroke(stroke).simplified();
}

void DrawButton(QPainter& p, TLook look, const TSymbol& symbol) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const bool pressed = look == TLook::Pressed;
    const bool hover = look == TLook::Hover;

    // Soft shadow under the button (none when pressed into the window).
    if (!pressed) {
        for (int i = 3; i >= 1; --i) {
            QPainterPath shadow;
            shadow.addRoundedRect(
                Body.translated(0.5, 1.0 + i * 0.6).adjusted(-0.2 * i, 0, 0.2 * i, 0), BodyRadius,
                BodyRadius);
            p.fillPath(shadow, QColor(60, 60, 110, 28));
        }
    }

    const QPointF shift = pressed ? QPointF(1, 1) : QPointF(0, 0);
    p.translate(shift);
    const QPainterPath body = BodyPath();

    QLinearGradient face(0, Body.top(), 0, Body.bottom());
    if (hover) {
        face.setColorAt(0, QColor(156, 156, 236));
        face.setColorAt(0.5, QColor(112, 112, 204));
        face.setColorAt(1, QColor(84, 84, 176));
    } else if (pressed) {
        face.setColorAt(0, QColor(52, 52, 118));
        face.setColorAt(0.5, QColor(70, 70, 146));
        face.setColorAt(1, QColor(96, 96, 180));
    } else {
        face.setColorAt(0, QColor(128, 128, 212));
        face.setColorAt(0.5, QColor(86, 86, 171));
        face.setColorAt(1, QColor(62, 62, 140));
    }
    p.fillPath(body, face);

    // Glass: a light sheen over the upper half.
    if (!pressed) {
        QPainterPath sheen;
        sheen.addRoundedRect(QRectF(Body.left() + 3, Body.top() + 1.5, Body.width() - 6, 17), 10,
                             10);
        QLinearGradient gloss(0, Body.top(), 0, Body.top() + 19);
        gloss.setColorAt(0, QColor(255, 255, 255, hover ? 120 : 95));
        gloss.setColorAt(1, QColor(255, 255, 255, 8));
        p.fillPath(sheen, gloss);
    } else {
        // Pressed in: a shade along the top edge.
        QLinearGradient inner(0, Body.top(), 0, Body.top() + 8);
        inner.setColorAt(0, QColor(20, 20, 60, 110));
        inner.setColorAt(1, QColor(20, 20, 60, 0));
        p.fillPath(body, inner);
    }

    // Rim.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(hover ? QColor(150, 240, 255) : QColor(44, 44, 104), hover ? 1.6 : 1.0));
    p.drawPath(body);

    // The symbol, light cyan like the captions, over a dark shadow.
    const QPainterPath mark = symbol();
    p.fillPath(mark.translated(1.2, 1.4), QColor(10, 10, 40, 150));
    const QColor ink = hover     ? QColor(214, 255, 255)
                       : pressed ? QColor(118, 228, 236)
                                 : QColor(150, 250, 255);
    p.fillPath(mark, ink);
    p.setPen(QPen(QColor(24, 40, 90, 160), 0.8));
    p.drawPath(mark);
    p.restore();
}

void DrawPlaceholder(QPainter& p) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.fillPath(BodyPath(), QColor(86, 86, 171));
    p.restore();
}

// The faint outline of button and symbol in exact grey with a white line below and right of
// it: recoloured to the system's shadow and highlight colours, it becomes an engraved button.
void DrawOutline(QPainter& p, const TSymbol& symbol) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
    const QPainterPath body = BodyPath();
    const QPainterPath mark = symbol();
    p.setPen(QPen(OutlineWhite, 1));
    p.drawPath(body.translated(1, 1));
    p.drawPath(mark.translated(1, 1));
    p.setPen(QPen(OutlineGrey, 1));
    p.drawPath(body);
    p.drawPath(mark);
    p.restore();
}

QImage Strip(int count, const TSymbol& symbol) {
    QImage strip(CellWidth * count, CellHeight, QImage::Format_RGB32);
    strip.fill(Transparent);
    QPainter p(&strip);
    const TLook looks[] = {TLook::Hover, TLook::Pressed, TLook::Resting};
    for (int cell = 0; cell < count; ++cell) {
        p.save();
        p.setClipRect(cell * CellWidth, 0, CellWidth, CellHeight);
        p.translate(cell * CellWidth, 0);
        if (cell < 3)
            DrawButton(p, looks[cell], symbol);
        else if (cell == 3)
            DrawPlaceholder(p);
        else
            DrawOutline(p, symbol);
        p.restore();
    }
    return strip;
}

// A keyboard key seen from above: a light top face on a darker body, with an "F" on it. The
// geometry is in a 48 x 48 square; the pictures scale it, the scalable icon states it.
const QRectF IconBody(2, 3, 44, 43);
constexpr qreal IconBodyRadius = 8;
const QColor IconBodyTop(120, 120, 196), IconBodyBottom(56, 56, 128), IconBodyEdge(34, 34, 84);
const QRectF IconFace(8, 6, 32, 31);
constexpr qreal IconFaceRadius = 6;
const QColor IconFaceTop(250, 250, 255), IconFaceBottom(206, 206, 232);
const QRectF IconBars[] = {QRectF(17, 12, 6, 20), QRectF(17, 12, 15, 5), QRectF(17, 20, 12, 4.5)};
const QColor IconBarColor(86, 86, 171);

qreal IconEdgeWidth(int size) {
    return size <= 16 ? 3.0 : 1.5;
}

QImage Icon(int size) {
    QImage icon(size, size, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 48.0, size / 48.0);
    QPainterPath outer;
    outer.addRoundedRect(IconBody, IconBodyRadius, IconBodyRadius);
    QLinearGradient side(0, IconBody.top(), 0, IconBody.bottom());
    side.setColorAt(0, IconBodyTop);
    side.setColorAt(1, IconBodyBottom);
    p.fillPath(outer, side);
    p.setPen(QPen(IconBodyEdge, IconEdgeWidth(size)));
    p.drawPath(outer);
    QPainterPath top;
    top.addRoundedRect(IconFace, IconFaceRadius, IconFaceRadius);
    QLinearGradient face(0, IconFace.top(), 0, IconFace.bottom());
    face.setColorAt(0, IconFaceTop);
    face.setColorAt(1, IconFaceBottom);
    p.fillPath(top, face);
    for (const QRectF& bar : IconBars)
        p.fillRect(bar, IconBarColor);
    return icon;
}

// The same key as a scalable picture, for desktops that draw the icon at any size.
QByteArray IconSvg() {
    auto rect = [](const QRectF& r, qreal radius, const QString& fill, const QString& extra) {
        return QStringLiteral("  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\" "
                              "fill=\"%6\"%7/>\n")
            .arg(r.x())
            .arg(r.y())
            .arg(r.width())
            .arg(r.height())
            .arg(radius)
            .arg(fill, extra);
    };
    auto gradient = [](const QString& id, const QRectF& r, const QColor& top,
                       const QColor& bottom) {
        return QStringLiteral("    <linearGradient id=\"%1\" gradientUnits=\"userSpaceOnUse\" "
                              "x1=\"0\" y1=\"%2\" x2=\"0\" y2=\"%3\">\n"
                              "      <stop offset=\"0\" stop-color=\"%4\"/>\n"
                              "      <stop offset=\"1\" stop-color=\"%5\"/>\n"
                              "    </linearGradient>\n")
            .arg(id)
            .arg(r.top())
            .arg(r.bottom())
            .arg(top.name(), bottom.name());
    };
    QString svg = QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"48\" "
                                 "height=\"48\" viewBox=\"0 0 48 48\">\n  <defs>\n");
    svg += gradient(QStringLiteral("body"), IconBody, IconBodyTop, IconBodyBottom);
    svg += gradient(QStringLiteral("face"), IconFace, IconFaceTop, IconFaceBottom);
    svg += QStringLiteral("  </defs>\n");
    svg += rect(IconBody, IconBodyRadius, QStringLiteral("url(#body)"),
                QStringLiteral(" stroke=\"%1\" stroke-width=\"%2\"")
                    .arg(IconBodyEdge.name())
                    .arg(IconEdgeWidth(48)));
    svg += rect(IconFace, IconFaceRadius, QStringLiteral("url(#face)"), QString());
    for (const QRectF& bar : IconBars)
        svg += rect(bar, 0, IconBarColor.name(), QString());
    svg += QStringLiteral("</svg>\n");
    return svg.toUtf8();
}

constexpr int IconSizes[] = {16, 32, 48, 64, 128, 256};

bool CannotWrite(const QString& path) {
    QTextStream(stderr) << "glyphgen: cannot write " << path << "\n";
    return false;
}

bool Save(const QImage& image, const QString& path) {
    return image.save(path) || CannotWrite(path);
}

bool Save(const QByteArray& text, const QString& path) {
    QFile file(path);
    return (file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
            file.write(text) == text.size()) ||
           CannotWrite(path);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: glyphgen DATA_DIR\n";
        return 2;
    }
    const QDir data(QString::fromLocal8Bit(argv[1]));
    if (!data.mkpath(QStringLiteral("buttons")) || !data.mkpath(QStringLiteral("icon"))) {
        QTextStream(stderr) << "glyphgen: cannot create the folders in " << data.path() << "\n";
        return 1;
    }
    bool ok = Save(Strip(5, BackArrow), data.filePath(QStringLiteral("buttons/back.bmp")));
    ok = Save(Strip(5, NextArrow), data.filePath(QStringLiteral("buttons/next.bmp"))) && ok;
    ok = Save(Strip(4, Cross), data.filePath(QStringLiteral("buttons/exit.bmp"))) && ok;
    ok = Save(Strip(4, Tick), data.filePath(QStringLiteral("buttons/ok.bmp"))) && ok;
    for (int size : IconSizes)
        ok = Save(Icon(size), data.filePath(QStringLiteral("icon/fingerwise-%1.png").arg(size))) &&
             ok;
    ok = Save(IconSvg(), data.filePath(QStringLiteral("icon/fingerwise.svg"))) && ok;
    return ok ? 0 : 1;
}
