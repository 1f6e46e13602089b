#pragma once

#include <QColor>
#include <QPalette>
#include <cstdint>

// A colour as the program computes with it: red in bits 0-7, green in 8-15, blue in 16-23.
// A value with the top bit set names a system colour by the index in its low byte.
using TColor = std::int32_t;

constexpr TColor SystemColor(int index) {
    return TColor(0x80000000u | unsigned(index));
}

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clNone = 0x1FFFFFFF;

constexpr TColor clWindow = SystemColor(5);
constexpr TColor clWindowText = SystemColor(8);
constexpr TColor clBtnFace = SystemColor(15);
constexpr TColor clBtnShadow = SystemColor(16);
constexpr TColor clBtnText = SystemColor(18);
constexpr TColor clBtnHighlight = SystemColor(20);

constexpr TColor RGBColor(int red, int green, int blue) {
    return red | (green << 8) | (blue << 16);
}
constexpr bool IsSystemColor(TColor color) {
    return color < 0;
}

// The colour of a system colour index from the application palette; black for an unknown index.
QColor GetSysColor(int index);

// The displayable colour of a value: a plain colour as it stands, a system colour looked up in
// the application palette, or in the palette given.
QColor ColorToQColor(TColor color);
QColor ColorToQColor(TColor color, const QPalette& palette);

// The classic light desktop's colours, whatever the application palette: light grey button
// faces, white text boxes, black text.
const QPalette& LightDesktopPalette();

// The contrast ratio of two colours as the Web Content Accessibility Guidelines define it, from
// their relative luminance: 1 for equally light colours, up to 21 for black against white.
double ContrastRatio(const QColor& first, const QColor& second);

// The plain colour value of a displayable colour (alpha dropped).
TColor QColorToColor(const QColor& color);
