#include "FancyButton.h"

#include "Registry.h"

#include <QAccessible>
#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QShortcutEvent>

// The button artwork and the program icon travel in the control library. Referring to the
// resource initialiser here keeps it in every program that uses the buttons, and the static
// object below registers the resources before main() runs.
static void InitFingerwiseResources() {
    Q_INIT_RESOURCE(resources);
}

namespace {

QAccessibleInterface* FancyButtonAccessibleFactory(const QString& className, QObject* object) {
    auto* button = qobject_cast<TFancyButton*>(object);
    if (button && className == QLatin1String(TFancyButton::staticMetaObject.className()))
        return new TFancyButtonAccessible(button);
    return nullptr;
}

struct TResourceRegistration {
    TResourceRegistration() {
        InitFingerwiseResources();
        QAccessible::installFactory(FancyButtonAccessibleFactory);
    }
} ResourceRegistration;

QRgb RgbOf(TColor color) {
    return ColorToQColor(color).rgb() | 0xFF000000u;
}

bool SameRgb(QRgb a, QRgb b) {
    return ((a ^ b) & 0x00FFFFFFu) == 0;
}

} // namespace

TGlyphCache* SharedGlyphCache = nullptr;

// ---------------------------------------------------------------------------------------------
// TGlyphList

TGlyphList::TGlyphList(int width, int height)
    : FWidth(width)
    , FHeight(height) {}

TGlyphList::~TGlyphList() = default;

bool TGlyphList::IsUsed(int slot) const {
    return slot >= 0 && slot < FUsedSlots.size() && FUsedSlots.testBit(slot);
}

int TGlyphList::AcquireSlot() {
    int slot = 0;
    while (slot < FUsedSlots.size() && FUsedSlots.testBit(slot))
        ++slot;
    if (slot >= FUsedSlots.size()) {
        QImage empty(FWidth, FHeight, QImage::Format_ARGB32);
        empty.fill(Qt::transparent);
        FImages.append(empty);
        slot = int(FImages.size()) - 1;
        FUsedSlots.resize(slot + 1);
    }
    FUsedSlots.setBit(slot);
    return slot;
}

int TGlyphList::AddImage(const QImage& image, const QColor& maskColor) {
    const int slot = AcquireSlot();
    ReplaceImage(slot, image, maskColor);
    ++FUsedCount;
    return slot;
}

void TGlyphList::ReplaceImage(int slot, const QImage& image, const QColor& maskColor) {
    if (slot < 0 || slot >= FImages.size())
        return;
    QImage masked(FWidth, FHeight, QImage::Format_ARGB32);
    masked.fill(Qt::transparent);
    const QImage source = image.convertToFormat(QImage::Format_RGB32);
    const QRgb transparent = maskColor.rgb();
    const int width = qMin(FWidth, source.width());
    const int height = qMin(FHeight, source.height());
    for (int y = 0; y < height; ++y) {
        const QRgb* from = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        QRgb* to = reinterpret_cast<QRgb*>(masked.scanLine(y));
        for (int x = 0; x < width; ++x)
            to[x] =
                SameRgb(from[x], transparent) ? (from[x] & 0x00FFFFFFu) : (from[x] | 0xFF000000u);
    }
    FImages[slot] = masked;
}

void TGlyphList::FreeSlot(int slot) {
    if (!IsUsed(slot))
        return;
    --FUsedCount;
    FUsedSlots.clearBit(slot);
}

QImage TGlyphList::Image(int slot) const {
    if (slot < 0 || slot >= FImages.size())
        return {};
    QImage image = FImages[slot].convertToFormat(QImage::Format_RGB32);
    return image;
}

QImage TGlyphList::Mask(int slot) const {
    if (slot < 0 || slot >= FImages.size())
        return {};
    QImage mask(FWidth, FHeight, QImage::Format_Mono);
    mask.setColor(0, qRgb(0, 0, 0));
    mask.setColor(1, qRgb(255, 255, 255));
    const QImage& image = FImages[slot];
    for (int y = 0; y < FHeight; ++y)
        for (int x = 0; x < FWidth; ++x)
            mask.setPixel(x, y, qAlpha(image.pixel(x, y)) == 0 ? 1 : 0);
    return mask;
}

void TGlyphList::Draw(QPainter& canvas, int slot, int x, int y) const {
    if (slot < 0 || slot >= FImages.size())
        return;
    canvas.save();
    canvas.setCompositionMode(QPainter::CompositionMode_SourceOver);
    canvas.setRenderHint(QPainter::SmoothPixmapTransform, false);
    canvas.drawImage(QPoint(x, y), FImages[slot]);
    canvas.restore();
}

// ---------------------------------------------------------------------------------------------
// TGlyphCache

TGlyphCache::~TGlyphCache() {
    qDeleteAll(FGlyphLists);
}

TGlyphList* TGlyphCache::ListFor(int width, int height) {
    for (auto it = FGlyphLists.crbegin(); it != FGlyphLists.crend(); ++it)
        if ((*it)->Width() == width && (*it)->Height() == height)
            return *it;
    auto* list = new TGlyphList(width, height);
    FGlyphLists.append(list);
    return list;
}

void TGlyphCache::GiveBack(TGlyphList* list) {
    if (list && list->UsedCount() == 0 && FGlyphLists.removeOne(list))
        delete list;
}

// ---------------------------------------------------------------------------------------------
// TButtonGlyph

TButtonGlyph::TButtonGlyph() {
    if (!SharedGlyphCache)
        SharedGlyphCache = new TGlyphCache;
}

TButtonGlyph::~TButtonGlyph() {
    FStrip = QImage();
    ReleaseImages();
    if (SharedGlyphCache && SharedGlyphCache->IsEmpty()) {
        delete SharedGlyphCache;
        SharedGlyphCache = nullptr;
    }
}

TColor TButtonGlyph::TransparentColorOf(const QImage& bitmap) {
    if (bitmap.isNull())
        return clNone;
    if (bitmap.depth() == 1)
        return clWhite;
    return QColorToColor(bitmap.pixelColor(0, bitmap.height() - 1));
}

void TButtonGlyph::SetBitmap(const QImage& value) {
    ReleaseImages();
    FMonochrome = !value.isNull() && value.depth() == 1;
    FStrip = value.isNull() ? QImage() : value.convertToFormat(QImage::Format_RGB32);
    BitmapChanged();
    if (!value.isNull() && value.height() > 0) {
        FMaskColor = TransparentColorOf(value);
        if (value.width() % value.height() == 0) {
            int count = value.width() / value.height();
            if (count > 5)
                count = 1;
            SetImageCount(count);
        }
    }
}

void TButtonGlyph::SetImageCount(int value) {
    if (value == FImageCount || value <= 0)
        return;
    ReleaseImages();
    FImageCount = value;
    BitmapChanged();
}

void TButtonGlyph::BitmapChanged() {
    FMaskColor = FMonochrome ? clWhite : TransparentColorOf(FStrip);
    ReleaseImages();
    if (OnChange)
        OnChange(this);
}

int TButtonGlyph::CellFor(TFancyButtonState state) const {
    if (state == TFancyButton::fbsDown && FImageCount < 3)
        state = TFancyButton::fbsUp;
    int cell = state;
    if (cell >= FImageCount)
        cell = 0;
    if (cell == 3)
        cell = 1;
    return cell;
}

int TButtonGlyph::PrepareImage(TFancyButtonState state, bool force) {
    if (state == TFancyButton::fbsDown && FImageCount < 3)
        state = TFancyButton::fbsUp;
    const int existing = FSlots[state];
    if (existing != -1 && !force)
        return existing;
    if (FStrip.width() == 0 || FStrip.height() == 0)
        return existing;
    const int width = FStrip.width() / FImageCount;
    const int height = FStrip.height();
    if (!FList) {
        if (!SharedGlyphCache)
            SharedGlyphCache = new TGlyphCache;
        FList = SharedGlyphCache->ListFor(width, height);
    }
    const QImage cell = FStrip.copy(CellFor(state) * width, 0, width, height);
    const QImage work = state == TFancyButton::fbsDisabled ? MakeDisabledImage(cell) : cell;
    // The automatic mask: the colour of the picture's bottom-left pixel is transparent.
    const QColor maskColor = work.pixelColor(0, height - 1);
    if (existing == -1)
        FSlots[state] = FList->AddImage(work, maskColor);
    else
        FList->ReplaceImage(existing, work, maskColor);
    return FSlots[state];
}

QImage TButtonGlyph::MakeDisabledImage(const QImage& cell) const {
    const QRgb face = RgbOf(clBtnFace);
    const QRgb highlight = RgbOf(clBtnHighlight);
    const QRgb shadow = RgbOf(clBtnShadow);
    QImage work(cell.size(), QImage::Format_RGB32);
    if (FImageCount > 1) {
        // Recoloured to the system's button colours, each rule judging the pixel as it was in
        // the strip, a later rule winning over an earlier one.
        const QRgb transparent = RgbOf(FMaskColor);
        for (int y = 0; y < cell.height(); ++y) {
            const QRgb* from = reinterpret_cast<const QRgb*>(cell.constScanLine(y));
            QRgb* to = reinterpret_cast<QRgb*>(work.scanLine(y));
            for (int x = 0; x < cell.width(); ++x) {
                QRgb pixel = from[x] | 0xFF000000u;
                const QRgb original = pixel;
                if (SameRgb(original, qRgb(255, 255, 255)))
                    pixel = highlight;
                if (SameRgb(original, qRgb(128, 128, 128)))
                    pixel = shadow;
                if (SameRgb(original, transparent))
                    pixel = face;
                to[x] = pixel;
            }
        }
        return work;
    }
    // Embossed: the picture's dark pixels (light ones for a two-colour picture) engraved into
    // a face-coloured field, lit from the top left.
    const QRgb ink = FMonochrome ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
    work.fill(face);
    auto paintMask = [&](int dx, int dy, QRgb color) {
        for (int y = 0; y < cell.height(); ++y) {
            const QRgb* from = reinterpret_cast<const QRgb*>(cell.constScanLine(y));
            for (int x = 0; x < cell.width(); ++x) {
                const int tx = x + dx;
                const int ty = y + dy;
                if (SameRgb(from[x], ink) && tx < work.width() && ty < work.height())
                    work.setPixel(tx, ty, color);
            }
        }
    };
    paintMask(1, 1, highlight);
    paintMask(0, 0, shadow);
    return work;
}

void TButtonGlyph::ReleaseImages() {
    for (int& slot : FSlots) {
        if (slot != -1 && FList)
            FList->FreeSlot(slot);
        slot = -1;
    }
    if (SharedGlyphCache)
        SharedGlyphCache->GiveBack(FList);
    FList = nullptr;
}

void TButtonGlyph::CalcLayout(QPainter& canvas, const QRect& client, const QPoint& offset,
                              const QString& caption, int textFlags, QPoint& glyphPos,
                              QRect& textBounds) const {
    const QSize clientSize(client.width(), client.height());
    const QSize glyphSize(FStrip.width() / FImageCount, FStrip.height());
    QSize textSize(0, 0);
    textBounds = QRect(0, 0, 0, 0);
    if (!caption.isEmpty()) {
        const QSize measured = canvas.fontMetrics().size(Qt::TextShowMnemonic | textFlags, caption);
        textBounds = QRect(0, 0, measured.width() + 5, measured.height());
        textSize = textBounds.size();
    }
    glyphPos = QPoint((clientSize.width() - glyphSize.width() + 1) / 2 + client.left(),
                      (clientSize.height() - glyphSize.height() + 1) / 2 + client.top());
    const QPoint textPos((clientSize.width() - textSize.width() + 1) / 2,
                         (clientSize.height() - textSize.height() + 1) / 2);
    textBounds.translate(textPos.x() + client.left() + offset.x(),
                         textPos.y() + client.top() + offset.y());
}

void TButtonGlyph::DrawImage(QPainter& canvas, int x, int y, TFancyButtonState state) {
    if (FStrip.width() == 0 || FStrip.height() == 0)
        return;
    const int slot = PrepareImage(state, false);
    if (FList)
        FList->Draw(canvas, slot, x, y);
}

void TButtonGlyph::DrawCaption(QPainter& canvas, const QString& caption, const QRect& textBounds,
                               TFancyButtonState state, TColor shadowColor, const QColor& fontColor,
                               int textFlags) const {
    const int flags = Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextShowMnemonic | textFlags;
    canvas.save();
    canvas.setBrush(Qt::NoBrush);
    if (state == TFancyButton::fbsDisabled) {
        canvas.setPen(ColorToQColor(clBtnHighlight));
        canvas.drawText(textBounds.translated(1, 1), flags, caption);
        canvas.setPen(ColorToQColor(clBtnShadow));
        canvas.drawText(textBounds, flags, caption);
    } else if (shadowColor != clNone) {
        canvas.setPen(ColorToQColor(shadowColor));
        canvas.drawText(textBounds, flags, caption);
        canvas.setPen(fontColor);
        canvas.drawText(textBounds.translated(-2, -2), flags, caption);
    } else {
        canvas.setPen(fontColor);
        canvas.drawText(textBounds, flags, caption);
    }
    canvas.restore();
}

QRect TButtonGlyph::Draw(QPainter& canvas, const QRect& client, const QPoint& offset,
                         const QString& caption, TFancyButtonState state, TColor shadowColor,
                         const QColor& fontColor, int textFlags) {
    QPoint glyphPos;
    QRect textBounds;
    CalcLayout(canvas, client, offset, caption, textFlags, glyphPos, textBounds);
    DrawImage(canvas, glyphPos.x(), glyphPos.y(), state);
    DrawCaption(canvas, caption, textBounds, state, shadowColor, fontColor, textFlags);
    return textBounds;
}

// ---------------------------------------------------------------------------------------------
// TFancyButton

TFancyButton::TFancyButton(QWidget* parent)
    : QWidget(parent)
    , FButtonGlyph(std::make_unique<TButtonGlyph>()) {
    FButtonGlyph->OnChange = [this](TButtonGlyph*) { GlyphChanged(); };
    setGeometry(0, 0, 22, 23);
    setMouseTracking(true);
    setFocusPolicy(Qt::TabFocus);
}

TFancyButton::~TFancyButton() = default;

void TFancyButton::SetState(TFancyButtonState value) {
    if (value == FState)
        return;
    FState = value;
    setEnabled(value != fbsDisabled);
    FButtonGlyph->PrepareImage(value, false);
    repaint();
}

void TFancyButton::SetAllowAllUp(bool value) {
    if (value == FAllowAllUp)
        return;
    FAllowAllUp = value;
    UpdateExclusive();
}

void TFancyButton::SetGroupIndex(int value) {
    if (value == FGroupIndex)
        return;
    FGroupIndex = value;
    UpdateExclusive();
}

void TFancyButton::SetDown(bool value) {
    if (FGroupIndex == 0)
        value = false;
    if (value == FDown)
        return;
    if (FDown && !FAllowAllUp)
        return;
    FDown = value;
    if (value) {
        // Repainted later whatever the up state was, so a latch set from code shows too.
        if (FState != fbsExclusive)
            update();
        FState = fbsExclusive;
    } else {
        FState = FMouseOver ? fbsUp : fbsMouseOut;
        repaint();
    }
    if (value)
        UpdateExclusive();
}

void TFancyButton::UpdateExclusive() {
    if (FGroupIndex == 0 || !parentWidget())
        return;
    const auto siblings = parentWidget()->findChildren<TFancyButton*>(Qt::FindDirectChildrenOnly);
    for (TFancyButton* sibling : siblings)
        sibling->CMButtonPressed(FGroupIndex, this);
}

void TFancyButton::CMButtonPressed(int groupIndex, TFancyButton* sender) {
    if (groupIndex != FGroupIndex || sender == this)
        return;
    if (sender->FDown && FDown) {
        FDown = false;
        FState = fbsUp;
        update();
    }
    FAllowAllUp = sender->FAllowAllUp;
}

QPixmap TFancyButton::GetGlyph() const {
    return QPixmap::fromImage(FButtonGlyph->GetBitmap());
}

void TFancyButton::SetGlyph(const QPixmap& value) {
    SetGlyphImage(value.toImage());
}

const QImage& TFancyButton::GetGlyphImage() const {
    return FButtonGlyph->GetBitmap();
}

void TFancyButton::SetGlyphImage(const QImage& value) {
    FButtonGlyph->SetBitmap(value);
    SizeToPicture();
    update();
}

int TFancyButton::GetNumGlyphs() const {
    return FButtonGlyph->GetImageCount();
}

void TFancyButton::SetNumGlyphs(int value) {
    value = qBound(1, value, 5);
    if (value == GetNumGlyphs())
        return;
    FButtonGlyph->SetImageCount(value);
    SizeToPicture();
    update();
}

void TFancyButton::SizeToPicture() {
    const QImage& strip = FButtonGlyph->GetBitmap();
    resize(strip.width() / GetNumGlyphs(), strip.height());
}

void TFancyButton::SetCaption(const QString& value) {
    const bool changed = value != FCaption;
    FCaption = value;
    GrabAccelerator();
    update();
    if (changed && accessibleName().isEmpty()) {
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
    emit CaptionChanged();
}

void TFancyButton::GrabAccelerator() {
    if (FAcceleratorId != 0)
        releaseShortcut(FAcceleratorId);
    FAcceleratorId = 0;
    const QKeySequence accelerator = QKeySequence::mnemonic(FCaption);
    if (!accelerator.isEmpty())
        FAcceleratorId = grabShortcut(accelerator);
}

void TFancyButton::SetTextOffsetLeft(int value) {
    FTextOffsetLeft = value;
    update();
}

void TFancyButton::SetTextOffsetTop(int value) {
    FTextOffsetTop = value;
    update();
}

void TFancyButton::SetTextShadowColor(TColor value) {
    FTextShadowColor = value;
    update();
    emit TextShadowColorChanged();
}

void TFancyButton::CMSyscolorChange() {
    FButtonGlyph->PrepareImage(fbsDisabled, true);
    repaint();
}

void TFancyButton::Loaded() {
    FButtonGlyph->PrepareImage(FState, false);
}

void TFancyButton::GlyphChanged() {
    update();
}

void TFancyButton::Click() {
    emit clicked();
}

bool TFancyButton::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::Shortcut:
        if (static_cast<QShortcutEvent*>(event)->shortcutId() == FAcceleratorId) {
            CMDialogChar();
            return true;
        }
        break;
    case QEvent::PaletteChange: // the system colours reach the widgets through their palette
    case QEvent::ApplicationPaletteChange:
        CMSyscolorChange();
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

void TFancyButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange)
        update();
    QWidget::changeEvent(event);
}

void TFancyButton::paintEvent(QPaintEvent*) {
    QPainter canvas(this);
    Paint(canvas);
}

void TFancyButton::Paint(QPainter& canvas) {
    if (FState == fbsDisabled)
        FPressing = false;
    else if (FState == fbsUp || FState == fbsMouseOut)
        FState = FMouseOver ? fbsUp : fbsMouseOut;
    canvas.setFont(font());
    QRect paintRect(0, 0, width(), height());
    if (GetNumGlyphs() == 1)
        paintRect.translate(2, 2);
    if (FState == fbsExclusive) {
        // A latched button stands on a fine checkerboard of face and highlight.
        QImage pattern(8, 8, QImage::Format_RGB32);
        const QRgb face = RgbOf(clBtnFace);
        const QRgb highlight = RgbOf(clBtnHighlight);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                pattern.setPixel(x, y, (x % 2) == (y % 2) ? highlight : face);
        canvas.fillRect(paintRect, QBrush(pattern));
    }
    QPoint offset(FTextOffsetLeft, FTextOffsetTop);
    if (FState == fbsDown || FState == fbsExclusive)
        offset += QPoint(1, 1);
    const int textFlags = layoutDirection() == Qt::RightToLeft ? Qt::TextForceRightToLeft : 0;
    FButtonGlyph->Draw(canvas, paintRect, offset, FCaption, FState, FTextShadowColor,
                       palette().color(QPalette::ButtonText), textFlags);
}

bool TFancyButton::PointInside(int x, int y) const {
    return x >= 0 && x <= width() - 1 && y >= 0 && y <= height();
}

void TFancyButton::enterEvent(QEnterEvent*) {
    CMMouseEnter();
}

void TFancyButton::leaveEvent(QEvent*) {
    CMMouseLeave();
}

void TFancyButton::CMMouseEnter() {
    if (!FMouseOver && FState != fbsDisabled && !QWidget::mouseGrabber()) {
        FMouseOver = true;
        repaint();
    }
}

void TFancyButton::CMMouseLeave() {
    if (FMouseOver && FState != fbsDisabled && !FPressing) {
        FMouseOver = false;
        update();
    }
}

void TFancyButton::UpdateTracking() {
    if (FState == fbsDisabled)
        return;
    const bool over = QApplication::widgetAt(QCursor::pos()) == this;
    if (over == FMouseOver)
        return;
    if (FMouseOver)
        CMMouseLeave();
    else
        CMMouseEnter();
}

void TFancyButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        FClicked = true;
    const QPoint p = event->position().toPoint();
    MouseDown(event->button(), p.x(), p.y());
}

void TFancyButton::MouseDown(Qt::MouseButton button, int, int) {
    if (button != Qt::LeftButton || FState == fbsDisabled)
        return;
    if (!FDown) {
        FState = fbsDown;
        update();
    }
    FPressing = true;
}

void TFancyButton::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    MouseMove(p.x(), p.y());
}

void TFancyButton::MouseMove(int x, int y) {
    if (FPressing) {
        TFancyButtonState newState = FDown ? fbsExclusive : fbsUp;
        if (PointInside(x, y))
            newState = FDown ? fbsExclusive : fbsDown;
        if (newState != FState) {
            FState = newState;
            update();
        }
    } else if (!FMouseOver) {
        UpdateTracking();
    }
}

void TFancyButton::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    // The click comes first, then the release: the click's handler may change the button.
    if (event->button() == Qt::LeftButton && FClicked) {
        FClicked = false;
        if (rect().contains(p)) {
            QPointer<TFancyButton> self(this);
            Click();
            if (!self)
                return;
        }
    }
    MouseUp(p.x(), p.y());
}

void TFancyButton::MouseUp(int x, int y) {
    if (!FPressing)
        return;
    FPressing = false;
    const bool inside = PointInside(x, y);
    if (FGroupIndex == 0) {
        if (FState != fbsDisabled)
            FState = fbsMouseOut;
        FMouseOver = false;
        update();
    } else if (inside) {
        SetDown(!FDown);
        if (FDown)
            repaint();
    } else {
        if (FDown)
            FState = fbsExclusive;
        repaint();
    }
    PassModalResultToForm();
    UpdateTracking();
}

void TFancyButton::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click neither presses the button nor clicks it again.
    if (event->button() == Qt::LeftButton)
        WMLButtonDblClk();
}

void TFancyButton::WMLButtonDblClk() {
    if (FDown)
        emit doubleClicked();
}

void TFancyButton::keyPressEvent(QKeyEvent* event) {
    int key = 0;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        key = 13;
    else if (event->key() == Qt::Key_Escape)
        key = 27;
    // The key goes on to the window, unless it has just closed the dialog: a dialog would
    // otherwise answer the same Escape by closing again with no result.
    if (key != 0 && ButtonKeyPress(key))
        event->accept();
    else
        QWidget::keyPressEvent(event);
}

bool TFancyButton::ButtonKeyPress(int key) {
    if (key != 13 && !(key == 27 && FModalResult == 2))
        return false;
    const bool closed = PassModalResultToForm();
    Click();
    return closed;
}

bool TFancyButton::PassModalResultToForm() {
    // A dialog closes with a result other than none; a result of none leaves it open.
    auto* dialog = qobject_cast<QDialog*>(window());
    if (!dialog || FModalResult == 0)
        return false;
    dialog->done(FModalResult);
    return true;
}

void TFancyButton::CMDialogChar() {
    if (FState != fbsDisabled && isVisible() && parentWidget() && parentWidget()->isVisible())
        Click();
}

// ---------------------------------------------------------------------------------------------
// TFancyButtonAccessible

QString CaptionWithoutMnemonic(const QString& caption) {
    QString text;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        // The marker goes; the character after it stays, also when it is a second "&".
        if (caption[i] == u'&' && ++i == caption.size())
            break;
        text += caption[i];
    }
    return text;
}

TFancyButtonAccessible::TFancyButtonAccessible(TFancyButton* button)
    : QAccessibleWidget(button, QAccessible::Button) {}

TFancyButton* TFancyButtonAccessible::Button() const {
    return static_cast<TFancyButton*>(widget());
}

QString TFancyButtonAccessible::text(QAccessible::Text t) const {
    switch (t) {
    case QAccessible::Name:
        if (Button()->accessibleName().isEmpty())
            return CaptionWithoutMnemonic(Button()->GetCaption());
        break;
    case QAccessible::Accelerator:
        return QKeySequence::mnemonic(Button()->GetCaption()).toString(QKeySequence::NativeText);
    default:
        break;
    }
    return QAccessibleWidget::text(t);
}

QAccessible::State TFancyButtonAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    const TFancyButton* button = Button();
    state.pressed = button->GetState() == TFancyButton::fbsDown;
    state.checkable = button->GetGroupIndex() != 0;
    state.checked = button->GetDown();
    return state;
}

QStringList TFancyButtonAccessible::actionNames() const {
    return QStringList{pressAction()} + QAccessibleWidget::actionNames();
}

void TFancyButtonAccessible::doAction(const QString& actionName) {
    if (actionName != pressAction()) {
        QAccessibleWidget::doAction(actionName);
        return;
    }
    // As a click: the click notification, then the dialog the button stands on takes its result.
    QPointer<TFancyButton> button(Button());
    if (!button->isEnabled())
        return;
    button->Click();
    if (button)
        button->PassModalResultToForm();
}

QStringList TFancyButtonAccessible::keyBindingsForAction(const QString& actionName) const {
    const QString accelerator = text(QAccessible::Accelerator);
    if (actionName == pressAction() && !accelerator.isEmpty())
        return {accelerator};
    return {};
}

// ---------------------------------------------------------------------------------------------

void FancyButtonUnit::Register() {
    RegisterControl<TFancyButton>(QStringLiteral("FancyButton.h"));
}
