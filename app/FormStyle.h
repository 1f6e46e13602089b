#pragma once

#include "Colors.h"

#include <QFont>
#include <QPoint>
#include <QRect>

class QWidget;
class TFancyButton;

// The colours and fonts that the tutorial's windows share.
constexpr TColor FormColor = RGBColor(227, 227, 240);          // pale lavender grey
constexpr TColor FormTextColor = RGBColor(86, 86, 171);        // slate blue
constexpr TColor ButtonCaptionColor = RGBColor(128, 255, 255); // light cyan

// Gives a window or control its background and text colours.
void SetFormColors(QWidget* widget, TColor background, TColor text);

// The "Tahoma" font of the given pixel size and style.
QFont TahomaFont(int pixelSize, bool bold, bool italic);

// A glyph button as the windows place it: its strip, bounds, caption offset and caption font, the
// caption in light cyan over a black shadow.
TFancyButton* CreateGlyphButton(QWidget* parent, const QString& glyph, int numGlyphs, QRect bounds,
                                QPoint textOffset, const QFont& font);
