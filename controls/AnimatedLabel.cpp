#include "AnimatedLabel.h"

#include "Registry.h"

#include <QPainter>
#include <QTimer>

namespace {

constexpr int ButtonFace = 15;

int Red(TColor color) {
    return color & 0xFF;
}
int Green(TColor color) {
    return (color >> 8) & 0xFF;
}
int Blue(TColor color) {
    return (color >> 16) & 0xFF;
}

} // namespace

TAnimatedLabel::TAnimatedLabel(QWidget* parent)
    : QLabel(parent)
    , FAnimationTimer(new QTimer(this)) {
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // The label fills its own background, except in the fade mode, where what lies behind the
    // label shows around the caption's cell.
    setAutoFillBackground(false);
    SetColor(FColor);
    SetFontColor(FFontColor);
    connect(FAnimationTimer, &QTimer::timeout, this, &TAnimatedLabel::OnTimer);
    SetInterval(100);
}

TAnimatedLabel::~TAnimatedLabel() {
    delete FAnimationTimer;
}

int TAnimatedLabel::GetInterval() const {
    return FAnimationTimer->interval();
}

void TAnimatedLabel::SetInterval(int value) {
    // A Qt timer with interval 0 would fire without pause; here it means no ticks at all.
    value = std::max(value, 0);
    FAnimationTimer->setInterval(value);
    if (value == 0)
        FAnimationTimer->stop();
    else if (!FAnimationTimer->isActive())
        FAnimationTimer->start();
}

void TAnimatedLabel::SetColor(TColor value) {
    FColor = value;
    SetPaletteColor(QPalette::Window, value);
    emit ColorChanged();
}

void TAnimatedLabel::SetFontColor(TColor value) {
    FFontColor = value;
    SetPaletteColor(QPalette::WindowText, value);
    emit FontColorChanged();
}

void TAnimatedLabel::SetPaletteColor(QPalette::ColorRole role, TColor value) {
    QPalette colors = palette();
    colors.setColor(role, ColorToQColor(value));
    setPalette(colors);
    update();
}

void TAnimatedLabel::OnTimer() {
    update();
    FTick = qint32(quint32(FTick) + 1u); // wraps around instead of overflowing
}

std::optional<int> TAnimatedLabel::FlyPosition() const {
    const int w = width();
    if (w <= 0)
        return std::nullopt;
    return w - 2 * (FTick % w);
}

TColor TAnimatedLabel::FadeColor() const {
    const int n = FTick % 10;
    const int phase = (FTick / 10) % 2;
    const TColor font = FFontColor; // raw, also for a system colour
    const TColor background = FColor == 0 ? 0 : QColorToColor(GetSysColor(FColor & 0xFF));
    const auto channel = [&](int f, int k) {
        const int value = phase == 0 ? k + (f - k) * n / 9 : f + (k - f) * n / 9;
        return value & 0xFF;
    };
    return RGBColor(channel(Red(font), Red(background)), channel(Green(font), Green(background)),
                    channel(Blue(font), Blue(background)));
}

void TAnimatedLabel::paintEvent(QPaintEvent* event) {
    switch (FAnimationType) {
    case atFlash:
        if ((FTick / 10) % 2 == 0)
            PaintBlank();
        else
            PaintLabel(event);
        break;
    case atFly:
        PaintFly();
        break;
    case atFade:
        PaintFade();
        break;
    case atNone:
    default:
        PaintLabel(event);
        break;
    }
}

void TAnimatedLabel::PaintLabel(QPaintEvent* event) {
    {
        QPainter painter(this);
        painter.fillRect(rect(), ColorToQColor(FColor));
    }
    QLabel::paintEvent(event);
    FCanvasFont = font();
    FCanvasFontColor = FFontColor;
}

void TAnimatedLabel::PaintBlank() {
    QPainter painter(this);
    painter.fillRect(rect(), GetSysColor(ButtonFace));
}

void TAnimatedLabel::PaintFly() {
    QPainter painter(this);
    painter.fillRect(rect(), GetSysColor(ButtonFace));
    if (const std::optional<int> x = FlyPosition())
        DrawCaption(painter, *x, 0);
}

void TAnimatedLabel::PaintFade() {
    FCanvasFontColor = FadeColor();
    QPainter painter(this);
    DrawCaption(painter, 0, 0);
}

void TAnimatedLabel::DrawCaption(QPainter& painter, int x, int y) {
    // All of it, or the painter would fill in what it lacks from the label's own font.
    QFont font = FCanvasFont;
    font.setResolveMask(QFont::AllPropertiesResolved);
    const QFontMetrics metrics(font, this);
    const QString caption = text();
    painter.fillRect(QRect(x, y, metrics.horizontalAdvance(caption), metrics.height()),
                     GetSysColor(ButtonFace));
    painter.setFont(font);
    painter.setPen(ColorToQColor(FCanvasFontColor));
    painter.drawText(QPoint(x, y + metrics.ascent()), caption);
}

namespace AnimatedLabelUnit {

void Register() {
    RegisterControl<TAnimatedLabel>(QStringLiteral("AnimatedLabel.h"));
}

} // namespace AnimatedLabelUnit
