#pragma once

#include "ColorNames.h"

#include <QFont>
#include <QLabel>

#include <optional>

class QTimer;

// A label that animates its caption on its own timer: it flashes it, lets it fly in from the
// right or fades it in and out of the background. The timer runs from construction on, in every
// animation type, and counts its ticks. The label is opaque in its colour, except in the fade
// mode, which paints only the caption's cell: around it, what lies behind the label shows.
class TAnimatedLabel : public QLabel {
    Q_OBJECT
    Q_PROPERTY(TAnimationType AnimationType READ GetAnimationType WRITE SetAnimationType)
    Q_PROPERTY(int Interval READ GetInterval WRITE SetInterval)
    Q_PROPERTY(int Color READ GetColor WRITE SetColor NOTIFY ColorChanged DESIGNABLE false)
    Q_PROPERTY(QColor ColorRGB READ GetColorRGB WRITE SetColorRGB STORED false)
    Q_PROPERTY(TColorNames::TColorName ColorName READ GetColorName WRITE SetColorName STORED false)
    Q_PROPERTY(
        int FontColor READ GetFontColor WRITE SetFontColor NOTIFY FontColorChanged DESIGNABLE false)
    Q_PROPERTY(QColor FontColorRGB READ GetFontColorRGB WRITE SetFontColorRGB STORED false)
    Q_PROPERTY(TColorNames::TColorName FontColorName READ GetFontColorName WRITE SetFontColorName
                   STORED false)
    // Single-line and top-aligned: not offered to form designers.
    Q_PROPERTY(bool wordWrap READ wordWrap WRITE setWordWrap DESIGNABLE false)
    Q_PROPERTY(Qt::Alignment alignment READ alignment WRITE setAlignment DESIGNABLE false)

public:
    enum TAnimationType { atNone, atFlash, atFly, atFade };
    Q_ENUM(TAnimationType)

    explicit TAnimatedLabel(QWidget* parent = nullptr);
    ~TAnimatedLabel() override;

    // Takes effect with the next tick; the tick counter goes on where it was.
    TAnimationType GetAnimationType() const { return FAnimationType; }
    void SetAnimationType(TAnimationType value) { FAnimationType = value; }

    // Milliseconds between ticks; 0 stops the ticks, another value starts them again.
    int GetInterval() const;
    void SetInterval(int value);

    // The background: drawn behind the caption in the plain painting, and faded from and to.
    TColor GetColor() const { return FColor; }
    void SetColor(TColor value);
    QColor GetColorRGB() const { return ColorToQColor(FColor); }
    void SetColorRGB(const QColor& value) { SetColor(QColorToColor(value)); }
    TColorName GetColorName() const { return ::ColorName(FColor); }
    void SetColorName(TColorName value) { SetColor(NamedColor(value, FColor)); }

    // The colour of the caption's text (a system colour counts by its raw value when fading).
    TColor GetFontColor() const { return FFontColor; }
    void SetFontColor(TColor value);
    QColor GetFontColorRGB() const { return ColorToQColor(FFontColor); }
    void SetFontColorRGB(const QColor& value) { SetFontColor(QColorToColor(value)); }
    TColorName GetFontColorName() const { return ::ColorName(FFontColor); }
    void SetFontColorName(TColorName value) { SetFontColor(NamedColor(value, FFontColor)); }

    // Ticks counted since construction.
    qint32 GetTick() const { return FTick; }

    // A tick: asks for a repaint, then counts the tick.
    void OnTimer();

    // Where the fly mode draws the caption now; std::nullopt for a label without width.
    std::optional<int> FlyPosition() const;

    // The caption's colour in the fade mode now.
    TColor FadeColor() const;

signals:
    void ColorChanged();
    void FontColorChanged();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Sets one colour of the palette and repaints.
    void SetPaletteColor(QPalette::ColorRole role, TColor value);
    void PaintLabel(QPaintEvent* event);
    void PaintBlank();
    void PaintFly();
    void PaintFade();
    // The caption as one raw line, its top left at (x, y), on a cell of button face, in the
    // drawing surface's current font and font colour.
    void DrawCaption(QPainter& painter, int x, int y);

    QTimer* FAnimationTimer = nullptr;
    TAnimationType FAnimationType = atNone;
    qint32 FTick = 0;
    TColor FColor = clBtnFace;
    TColor FFontColor = clWindowText;
    // The drawing surface keeps the font and font colour that were set on it last: the plain
    // painting sets the label's own, the fade mode only the colour; before any, the defaults.
    QFont FCanvasFont;
    TColor FCanvasFontColor = clWindowText;
};

namespace AnimatedLabelUnit {
// Registers TAnimatedLabel on the control set's palette page.
void Register();
} // namespace AnimatedLabelUnit
