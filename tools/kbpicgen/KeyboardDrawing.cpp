#include "KeyboardDrawing.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <limits>

namespace kbpicgen {

namespace {

// The rounding of outline corners. A corner rounded more would leave the corner of its box
// outside the line, where a highlight would show.
constexpr double CornerRadius = 3.5;
constexpr double FacePadding = 4;      // between a key's outline and its legends
constexpr double NarrowestText = 0.75; // how far text may be squeezed sideways to fit

enum class TextSize { Letter, Pair, Word, SmallWord, Light };

QFont LegendFont(TextSize size) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleStrategy(
        QFont::StyleStrategy(QFont::PreferAntialias | QFont::NoSubpixelAntialias));
    font.setHintingPreference(QFont::PreferNoHinting);
    switch (size) {
    case TextSize::Letter:
        font.setPixelSize(27);
        font.setBold(true);
        break;
    case TextSize::Pair:
        font.setPixelSize(23);
        font.setBold(true);
        break;
    case TextSize::Word:
        font.setPixelSize(18);
        break;
    case TextSize::SmallWord:
        font.setPixelSize(14);
        break;
    case TextSize::Light:
        font.setPixelSize(15);
        font.setBold(true);
        break;
    }
    return font;
}

// One character is drawn large, a word smaller.
bool IsOneCharacter(const QString& text) {
    return text.size() == 1;
}

struct FittedFont {
    QFont font;
    double squeeze = 1; // horizontal scale
};

// The font, made smaller where needed, and the sideways squeeze with which text fits `area`:
// first squeezed, then in smaller type.
FittedFont FitText(const QRectF& area, const QString& text, QFont font) {
    const QStringList lines = text.split(u'\n');
    for (;;) {
        const QFontMetricsF metrics(font);
        double widest = 0;
        for (const QString& line : lines)
            widest = std::max(widest, metrics.horizontalAdvance(line));
        const double height = (lines.size() - 1) * metrics.lineSpacing() + metrics.capHeight();
        const double squeeze = widest > 0 ? std::min(1.0, area.width() / widest) : 1.0;
        if ((squeeze >= NarrowestText && height <= area.height()) || font.pixelSize() <= 8)
            return {font, squeeze};
        font.setPixelSize(font.pixelSize() - 1);
    }
}

// Where text goes in `area`: shrunk to fit, centred, lines placed by the height of capitals, so
// that a letter sits in the middle of its area. A sign drawn below the baseline, such as "_", is
// lifted until its ink ends above `inkFloor`, clear of the key's outline.
struct TextPlacement {
    FittedFont fitted;
    double baseline = 0; // of the first line
    double inkTop = 0;
    double inkBottom = 0;

    void moveDown(double by) {
        baseline += by;
        inkTop += by;
        inkBottom += by;
    }
};

TextPlacement PlaceText(const QRectF& area, const QString& text, const QFont& font,
                        double inkFloor = std::numeric_limits<double>::infinity()) {
    TextPlacement placed{FitText(area, text, font)};
    const QFontMetricsF metrics(placed.fitted.font);
    const QStringList lines = text.split(u'\n');
    const double blockHeight = (lines.size() - 1) * metrics.lineSpacing() + metrics.capHeight();
    placed.baseline = area.center().y() - blockHeight / 2 + metrics.capHeight();
    const double lastBaseline = placed.baseline + (lines.size() - 1) * metrics.lineSpacing();
    placed.inkTop = placed.baseline + metrics.tightBoundingRect(lines.front()).top();
    placed.inkBottom = lastBaseline + metrics.tightBoundingRect(lines.back()).bottom();
    if (placed.inkBottom > inkFloor)
        placed.moveDown(inkFloor - placed.inkBottom);
    return placed;
}

// Draws text, line by line, centred across `area`, where `placed` puts it.
void DrawPlacedText(QPainter& p, const QRectF& area, const QString& text,
                    const TextPlacement& placed) {
    const QFontMetricsF metrics(placed.fitted.font);
    p.save();
    p.setFont(placed.fitted.font);
    p.setPen(Qt::black);
    p.translate(area.left(), 0);
    p.scale(placed.fitted.squeeze, 1);
    const double width = area.width() / placed.fitted.squeeze;
    double baseline = placed.baseline;
    for (const QString& line : text.split(u'\n')) {
        p.drawText(QPointF((width - metrics.horizontalAdvance(line)) / 2, baseline), line);
        baseline += metrics.lineSpacing();
    }
    p.restore();
}

void DrawFittedText(QPainter& p, const QRectF& area, const QString& text, const QFont& font,
                    double inkFloor = std::numeric_limits<double>::infinity()) {
    DrawPlacedText(p, area, text, PlaceText(area, text, font, inkFloor));
}

// Two legends one above the other. Where the ink of the upper one would come near the lower
// one's (a cedilla over an accent, a brace over a bracket), the upper one rises into the padding
// above, at most through its inner half, and then the lower one sinks towards `inkFloor`.
void DrawStackedText(QPainter& p, const QRectF& face, const QString& upper, const QFont& upperFont,
                     const QString& lower, const QFont& lowerFont, double inkFloor) {
    constexpr double gap = 1; // blank pixels between the two legends' ink
    const double inkCeiling = face.top() - FacePadding / 2;
    const QRectF upperHalf = face.adjusted(0, 0, 0, -face.height() / 2);
    const QRectF lowerHalf = face.adjusted(0, face.height() / 2, 0, 0);
    TextPlacement above = PlaceText(upperHalf, upper, upperFont, inkFloor);
    TextPlacement below = PlaceText(lowerHalf, lower, lowerFont, inkFloor);
    const double overlap = above.inkBottom + gap - below.inkTop;
    if (overlap > 0) {
        const double rise = std::clamp(above.inkTop - inkCeiling, 0.0, overlap);
        above.moveDown(-rise);
        below.moveDown(std::clamp(inkFloor - below.inkBottom, 0.0, overlap - rise));
    }
    DrawPlacedText(p, upperHalf, upper, above);
    DrawPlacedText(p, lowerHalf, lower, below);
}

void DrawWindowsLogo(QPainter& p, QPointF centre) {
    constexpr double pane = 9;
    constexpr double gap = 2;
    const double left = centre.x() - pane - gap / 2;
    const double top = centre.y() - pane - gap / 2;
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 2; ++column)
            p.fillRect(QRectF(left + column * (pane + gap), top + row * (pane + gap), pane, pane),
                       Qt::black);
}

// A sheet with lines of text, and a pointer.
void DrawMenuSymbol(QPainter& p, QPointF centre) {
    p.save();
    p.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    const QRectF sheet(centre.x() - 10, centre.y() - 11, 18, 22);
    p.drawRect(sheet);
    for (int i = 0; i < 4; ++i) {
        const double y = sheet.top() + 5 + 4 * i;
        p.drawLine(QPointF(sheet.left() + 4, y), QPointF(sheet.right() - 4, y));
    }
    QPolygonF pointer;
    pointer << QPointF(centre.x() + 3, centre.y() + 1) << QPointF(centre.x() + 3, centre.y() + 15)
            << QPointF(centre.x() + 7, centre.y() + 11)
            << QPointF(centre.x() + 12, centre.y() + 12);
    p.setBrush(Qt::white);
    p.drawPolygon(pointer);
    p.restore();
}

// The outline's path: through the middle of the outermost pixels of the key's boxes, its corners
// rounded.
QPainterPath OutlinePath(const QList<Box>& shape) {
    QPainterPath area;
    area.setFillRule(Qt::WindingFill); // so that overlapping boxes unite
    for (const Box& box : shape)
        area.addRect(QRectF(box.left + 0.5, box.top + 0.5, box.width() - 1, box.height() - 1));
    area = area.simplified();

    QPolygonF corners;
    for (const QPointF& point : area.toFillPolygon()) {
        if (!corners.isEmpty() && corners.back() == point)
            continue;
        // drop a point in line with the two before it
        if (corners.size() >= 2) {
            const QPointF a = corners[corners.size() - 2];
            const QPointF b = corners.back();
            if ((a.x() == b.x() && b.x() == point.x()) || (a.y() == b.y() && b.y() == point.y()))
                corners.removeLast();
        }
        corners.append(point);
    }
    if (corners.size() > 1 && corners.front() == corners.back())
        corners.removeLast();

    QPainterPath path;
    const qsizetype n = corners.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QPointF corner = corners[i];
        const QPointF before = corners[(i + n - 1) % n];
        const QPointF after = corners[(i + 1) % n];
        const auto towards = [&](QPointF to) {
            const QPointF d = to - corner;
            return corner + d * (CornerRadius / std::hypot(d.x(), d.y()));
        };
        if (i == 0)
            path.moveTo(towards(before));
        else
            path.lineTo(towards(before));
        path.quadTo(corner, towards(after));
    }
    path.closeSubpath();
    return path;
}

// Where a key's legends go: inside its outline (in the upper part of the tall Enter), padded.
QRectF KeyFace(const Key& key) {
    const Box& box = key.shape.front();
    const double inset = LineWidth / 2.0 + 0.5 + FacePadding;
    return QRectF(box.left, box.top, box.width(), box.height())
        .adjusted(inset, inset, -inset, -inset);
}

// A legend that is one word or more, alone on its key (Backspace, Page Up).
bool IsWordLegend(const Legend& legend) {
    return legend.upper.isEmpty() && legend.altGr.isEmpty() && !IsOneCharacter(legend.main) &&
           legend.main != WindowsLogo && legend.main != MenuSymbol;
}

// The type size of word legends by the width of their key's face: the largest at which the words
// of every such key fit, so that keys of one width carry words of one size.
QHash<int, int> WordSizes(const Keyboard& keyboard, const LegendSet& legends) {
    QHash<int, int> sizes;
    for (const Key& key : keyboard.keys) {
        const Legend legend = legends.legend(key.name);
        if (!IsWordLegend(legend) || legend.main.isEmpty())
            continue;
        const QRectF face = KeyFace(key);
        const int size = FitText(face, legend.main, LegendFont(TextSize::Word)).font.pixelSize();
        const int width = qRound(face.width());
        sizes[width] = std::min(sizes.value(width, size), size);
    }
    return sizes;
}

void DrawLegend(QPainter& p, const Key& key, const Legend& legend,
                const QHash<int, int>& wordSizes) {
    const QRectF face = KeyFace(key);
    // Descenders may reach into the padding, but not across its inner half.
    const double inkFloor = face.bottom() + FacePadding / 2;
    if (legend.main == WindowsLogo) {
        DrawWindowsLogo(p, face.center());
        return;
    }
    if (legend.main == MenuSymbol) {
        DrawMenuSymbol(p, face.center());
        return;
    }
    if (IsWordLegend(legend)) {
        QFont font = LegendFont(TextSize::Word);
        font.setPixelSize(wordSizes.value(qRound(face.width()), font.pixelSize()));
        DrawFittedText(p, face, legend.main, font, inkFloor);
        return;
    }

    // With an AltGr legend, the others keep to the left and it takes the bottom right.
    QRectF column = face;
    if (!legend.altGr.isEmpty()) {
        column.setRight(face.left() + face.width() * 0.55);
        const QRectF corner(column.right(), face.center().y(), face.right() - column.right(),
                            face.height() / 2);
        DrawFittedText(p, corner, legend.altGr, LegendFont(TextSize::Word), inkFloor);
    }
    const QRectF upperHalf = column.adjusted(0, 0, 0, -column.height() / 2);
    if (legend.upper.isEmpty()) {
        if (legend.altGr.isEmpty())
            DrawFittedText(p, column, legend.main, LegendFont(TextSize::Letter), inkFloor);
        else
            DrawFittedText(p, upperHalf, legend.main, LegendFont(TextSize::Pair), inkFloor);
        return;
    }
    const auto font = [](const QString& text) {
        return LegendFont(IsOneCharacter(text) ? TextSize::Pair : TextSize::SmallWord);
    };
    DrawStackedText(p, column, legend.upper, font(legend.upper), legend.main, font(legend.main),
                    inkFloor);
}

void DrawHomingBump(QPainter& p, const Key& key) {
    const Box& box = key.shape.front();
    const double middle = (box.left + box.right) / 2.0;
    const double y = box.bottom - 7.5;
    p.save();
    p.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(middle - 6, y), QPointF(middle + 6, y));
    p.restore();
}

// Three lights in the case above the keypad, each with its lock's sign: 1 for Num Lock, A for
// Caps Lock and an arrow for Scroll Lock.
void DrawLockLights(QPainter& p, const Keyboard& keyboard) {
    const Key* numLock = keyboard.find("NMLK");
    const Key* subtract = keyboard.find("KPSU");
    const Key* escape = keyboard.find("ESC");
    const double left = numLock->shape.front().left;
    const double right = subtract->shape.front().right;
    const Box& row = escape->shape.front();
    const QStringList signs = {"1", "A", "\u2193"};
    for (int i = 0; i < signs.size(); ++i) {
        const double x = left + (right - left) * (i + 1) / (signs.size() + 1);
        p.save();
        p.setPen(QPen(Qt::black, 2));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(x, row.top + 16), 6, 6);
        p.restore();
        DrawFittedText(p, QRectF(x - 15, row.top + 30, 30, 24), signs[i],
                       LegendFont(TextSize::Light));
    }
}

QColor GroupColour(int index, int count) {
    return QColor::fromHsv(index * 360 * 7 / count % 360, 255, 230, 110); // neighbours differ
}

} // namespace

QImage DrawKeyboard(const Keyboard& keyboard, const LegendSet& legends) {
    QImage image(PictureWidth, PictureHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setPen(QPen(Qt::black, LineWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);

    p.drawPath(OutlinePath({keyboard.caseBox}));
    const QHash<int, int> wordSizes = WordSizes(keyboard, legends);
    for (const Key& key : keyboard.keys) {
        p.drawPath(OutlinePath(key.shape));
        DrawLegend(p, key, legends.legend(key.name), wordSizes);
        if (key.homing)
            DrawHomingBump(p, key);
    }
    DrawLockLights(p, keyboard);
    return image;
}

QImage ToGreyBitmap(const QImage& picture) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    QImage grey(rgb.size(), QImage::Format_Indexed8);
    QList<QRgb> palette;
    for (int i = 0; i < 256; ++i)
        palette.append(qRgb(i, i, i));
    grey.setColorTable(palette);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        uchar* out = grey.scanLine(y);
        for (int x = 0; x < rgb.width(); ++x)
            out[x] = uchar(qGray(in[x]));
    }
    return grey;
}

QImage DrawHighlighted(const QImage& picture, const QList<Box>& boxes, int width) {
    const int height = width * PictureHeight / PictureWidth;
    QImage image(width, height, QImage::Format_RGB32);
    QPainter p(&image);
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawRect(0, 0, width - 1, height - 1);
    const auto scale = [&](int n) { return width * n / PictureWidth; };
    for (const Box& box : boxes)
        p.fillRect(QRect(QPoint(scale(box.left), scale(box.top)),
                         QPoint(scale(box.right) - 1, scale(box.bottom) - 1)),
                   QColor(255, 191, 0));
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    p.drawImage(QRect(0, 0, width, height), picture.convertToFormat(QImage::Format_RGB32));
    return image;
}

QImage DrawCheckSheet(const QImage& picture, const QList<KeyGroup>& groups) {
    constexpr int panelWidth = 770;
    constexpr int panelHeight = panelWidth * PictureHeight / PictureWidth;
    constexpr int caption = 26;
    constexpr int spacing = 12;
    constexpr int columns = 2;
    const int rows = int((groups.size() + columns - 1) / columns);
    QImage sheet(columns * panelWidth + (columns + 1) * spacing,
                 rows * (caption + panelHeight + spacing) + spacing, QImage::Format_RGB32);
    sheet.fill(QColor(225, 225, 225));
    QPainter p(&sheet);
    p.setRenderHint(QPainter::TextAntialiasing);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(17);
    font.setBold(true);
    p.setFont(font);
    for (qsizetype i = 0; i < groups.size(); ++i) {
        const int x = spacing + int(i % columns) * (panelWidth + spacing);
        const int y = spacing + int(i / columns) * (caption + panelHeight + spacing);
        p.drawText(QPoint(x, y + 19), QString("%1  %2").arg(i).arg(groups[i].name));
        p.drawImage(QPoint(x, y + caption), DrawHighlighted(picture, groups[i].boxes, panelWidth));
    }
    return sheet;
}

QImage DrawOverlay(const QImage& picture, const QList<KeyGroup>& groups) {
    static const QStringList areas = {"entire", "typing", "computer", "navigation"};
    QImage image = picture.convertToFormat(QImage::Format_RGB32);
    QPainter p(&image);
    for (qsizetype i = 0; i < groups.size(); ++i) {
        if (areas.contains(groups[i].name))
            continue;
        for (const Box& box : groups[i].boxes)
            p.fillRect(QRect(box.left, box.top, box.width(), box.height()),
                       GroupColour(int(i), int(groups.size())));
    }
    return image;
}

} // namespace kbpicgen
