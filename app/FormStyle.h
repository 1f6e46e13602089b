#pragma once

#include "Colors.h"

#include <QFont>
#include <QPoint>
#include <QRect>

#include <initializer_list>

class QWidget;
class TFancyButton;

// The colours and fonts that the tutorial's windows share.
constexpr TColor FormColor = RGBColor(227, 227, 240);          // pale lavender grey
constexpr TColor FormTextColor = RGBColor(86, 86, 171);        // slate blue
constexpr TColor ButtonCaptionColor = RGBColor(128, 255, 255); // light cyan

// The least contrast between a text and its background at which the text stays readable.
constexpr double MinimumTextContrast = 4.5;

// Gives a window or control its background and text colours; the controls named keep text colours
// of their own over that background. System colours among them are taken from the application
// palette as long as every one of those texts is readable there. Under a palette on which one is
// not (a dark palette behind a fixed dark text), the widget takes the classic light desktop's
// palette instead, and looks as it does on a light desktop.
void SetFormColors(QWidget* widget, TColor background, TColor text,
                   std::initializer_list<const QWidget*> ownTextColorControls = {});

// The same for a text box: the background of its text and the text's colour.
void SetTextBoxColors(QWidget* box, TColor background, TColor text);

// The "Tahoma" font of the given pixel size and style.
QFont TahomaFont(int pixelSize, bool bold, bool italic);

// A glyph button as the windows place it: its strip, bounds, caption offset and caption font, the
// caption in light cyan over a black shadow.
TFancyButton* CreateGlyphButton(QWidget* parent, const QString& glyph, int numGlyphs, QRect bounds,
                                QPoint textOffset, const QFont& font);
