#pragma once

#include <QColor>
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

// The displayable colour of a value: a plain colour as it stands, a system colour looked up.
QColor ColorToQColor(TColor color);

// The plain colour value of a displayable colour (alpha dropped).
TColor QColorToColor(const QColor& color);
