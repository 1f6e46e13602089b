#include "TextWidgets.h"

#include <QCache>
#include <QGlyphRun>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>
#include <QStyle>
#include <QTextBlock>
#include <QTextLayout>

namespace {

// Qt's own limit: glyphs up to this many device pixels high are kept in its glyph cache.
constexpr qreal MaxCachedGlyphSize = 64;
// Room for every glyph of a few large fonts in a few colours.
constexpr qsizetype KeptGlyphBytes = 16 * 1024 * 1024;

struct TGlyphKey {
    QRawFont Font;
    quint32 Glyph;
    QRgb Colour;
    qreal DevicePixelRatio;

    bool operator==(const TGlyphKey&) const = default;
};

size_t qHash(const TGlyphKey& key, size_t seed = 0) {
    return qHashMulti(seed, key.Font, key.Glyph, key.Colour, key.DevicePixelRatio);
}

// A glyph rendered at device pixels, and where its top left lies from the glyph's origin.
struct TGlyphImage {
    QImage Image;
    QPoint Offset;
};

QCache<TGlyphKey, TGlyphImage>& KeptGlyphs() {
    static QCache<TGlyphKey, TGlyphImage> kept(KeptGlyphBytes);
    return kept;
}

TGlyphImage RenderGlyph(const TGlyphKey& key) {
    const QPainterPath outline = QTransform::fromScale(key.DevicePixelRatio, key.DevicePixelRatio)
                                     .map(key.Font.pathForGlyph(key.Glyph));
    const QRect bounds = outline.boundingRect().toAlignedRect();
    if (bounds.isEmpty())
        return {}; // a space
    TGlyphImage glyph{QImage(bounds.size(), QImage::Format_ARGB32_Premultiplied), bounds.topLeft()};
    if (glyph.Image.isNull())
        return {}; // beyond what an image can hold
    glyph.Image.fill(Qt::transparent);
    QPainter painter(&glyph.Image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(-bounds.topLeft());
    painter.fillPath(outline, QColor::fromRgba(key.Colour));
    painter.end();
    glyph.Image.setDevicePixelRatio(key.DevicePixelRatio);
    return glyph;
}

// The glyph's image, kept for later paints unless it alone is larger than all that is kept.
TGlyphImage KeptGlyph(const TGlyphKey& key) {
    if (const TGlyphImage* kept = KeptGlyphs().object(key))
        return *kept;
    const TGlyphImage glyph = RenderGlyph(key);
    const qsizetype cost = std::max<qsizetype>(glyph.Image.sizeInBytes(), 1);
    if (cost <= KeptGlyphs().maxCost())
        KeptGlyphs().insert(key, new TGlyphImage(glyph), cost);
    return glyph;
}

void DrawKeptGlyphs(QPainter& painter, QPointF origin, const QGlyphRun& run, QRgb colour) {
    const qreal ratio = painter.device()->devicePixelRatioF();
    const QList<quint32> glyphs = run.glyphIndexes();
    const QList<QPointF> positions = run.positions();
    for (qsizetype i = 0; i < glyphs.size(); ++i) {
        const TGlyphImage glyph = KeptGlyph({run.rawFont(), glyphs[i], colour, ratio});
        if (glyph.Image.isNull())
            continue;
        const QPoint devicePlace = ((origin + positions[i]) * ratio).toPoint() + glyph.Offset;
        painter.drawImage(QPointF(devicePlace) / ratio, glyph.Image);
    }
}

// Whether the widget's own font is drawn from outlines on the screen it is on.
bool FontDrawnFromOutlines(const QWidget& widget) {
    return DrawnFromOutlines(QFontInfo(widget.font()).pixelSize(), widget.devicePixelRatioF());
}

} // namespace

bool DrawnFromOutlines(qreal pixelSize, qreal devicePixelRatio) {
    return pixelSize * devicePixelRatio > MaxCachedGlyphSize;
}

void DrawGlyphRuns(QPainter& painter, QPointF origin, const QList<QGlyphRun>& runs,
                   const QColor& colour) {
    const qreal ratio = painter.device()->devicePixelRatioF();
    painter.setPen(colour);
    for (const QGlyphRun& run : runs) {
        if (DrawnFromOutlines(run.rawFont().pixelSize(), ratio))
            DrawKeptGlyphs(painter, origin, run, colour.rgba());
        else
            painter.drawGlyphRun(origin, run);
    }
}

int KeptGlyphImageCount() {
    return int(KeptGlyphs().count());
}

// ---------------------------------------------------------------------------------------------

bool TTextLabel::DrawsItself() const {
    const bool plainText = textFormat() == Qt::PlainText ||
                           (textFormat() == Qt::AutoText && !Qt::mightBeRichText(text()));
    return FontDrawnFromOutlines(*this) && plainText && !wordWrap() && pixmap().isNull();
}

void TTextLabel::paintEvent(QPaintEvent* event) {
    if (!DrawsItself()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    drawFrame(&painter);
    const QRect area = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    const Qt::Alignment align = QStyle::visualAlignment(layoutDirection(), alignment());
    QTextLayout layout(QString(text()).replace(u'\n', QChar::LineSeparator), font(), this);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setTextDirection(layoutDirection());
    layout.setTextOption(option);
    qreal height = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(area.width());
        const qreal room = area.width() - line.naturalTextWidth();
        const qreal x = align & Qt::AlignRight ? room : align & Qt::AlignHCenter ? room / 2 : 0;
        line.setPosition(QPointF(x, height));
        height += line.height();
    }
    layout.endLayout();
    const qreal room = area.height() - height;
    const qreal y = align & Qt::AlignBottom ? room : align & Qt::AlignVCenter ? room / 2 : 0;
    DrawGlyphRuns(painter, QPointF(area.left(), area.top() + y), layout.glyphRuns(),
                  palette().color(foregroundRole()));
}

// ---------------------------------------------------------------------------------------------

bool TTextBox::DrawsItself() const {
    const QTextCursor cursor = textCursor();
    const bool placeholderShown = document()->isEmpty() && !placeholderText().isEmpty();
    return FontDrawnFromOutlines(*this) && !cursor.hasSelection() && extraSelections().isEmpty() &&
           !overwriteMode() && cursor.block().layout()->preeditAreaText().isEmpty() &&
           !placeholderShown && !backgroundVisible();
}

// As QPlainTextEdit paints its blocks, with each block's glyphs drawn by DrawGlyphRuns.
void TTextBox::paintEvent(QPaintEvent* event) {
    if (!DrawsItself()) {
        QPlainTextEdit::paintEvent(event);
        return;
    }
    QPainter painter(viewport());
    QPointF offset = contentOffset();
    QRect area = event->rect();
    const qreal documentWidth = document()->documentLayout()->documentSize().width();
    area.setRight(std::min<int>(area.right(),
                                offset.x() + std::max<qreal>(viewport()->width(), documentWidth) -
                                    document()->documentMargin() + cursorWidth()));
    painter.setClipRect(area);
    const QAbstractTextDocumentLayout::PaintContext context = getPaintContext();
    const QColor colour = context.palette.text().color();
    const bool caretShown = !isReadOnly() || textInteractionFlags() & Qt::TextSelectableByKeyboard;
    for (QTextBlock block = firstVisibleBlock();
         block.isValid() && offset.y() <= viewport()->height(); block = block.next()) {
        const QRectF bounds = blockBoundingRect(block).translated(offset);
        if (block.isVisible() && bounds.bottom() >= area.top() && bounds.top() <= area.bottom()) {
            QTextLayout* layout = block.layout();
            // A block's layout holds no text of its own: the glyphs are asked for by range.
            DrawGlyphRuns(painter, offset + layout->position(),
                          layout->glyphRuns(0, block.length()), colour);
            const int caret = context.cursorPosition - block.position();
            if (caretShown && caret >= 0 && caret < block.length())
                layout->drawCursor(&painter, offset, caret, cursorWidth());
        }
        offset.ry() += bounds.height();
    }
}
