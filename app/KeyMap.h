#pragma once

#include <QString>

#include <array>
#include <stdexcept>
#include <vector>

// The named key groups of the keyboard picture, where they lie, and which react to the pointer.

constexpr int KeyGroupCount = 26;
// The names in index order: the index is a group's identity, its search order and its rank.
inline constexpr std::array<QLatin1String, KeyGroupCount> KeyGroupNames = {
    QLatin1String("entire"),   QLatin1String("typing"),     QLatin1String("letter"),
    QLatin1String("number"),   QLatin1String("symbol"),     QLatin1String("tab"),
    QLatin1String("shift"),    QLatin1String("backspace"),  QLatin1String("capslock"),
    QLatin1String("spacebar"), QLatin1String("enter"),      QLatin1String("computer"),
    QLatin1String("esc"),      QLatin1String("ctrl"),       QLatin1String("alt"),
    QLatin1String("insert"),   QLatin1String("delete"),     QLatin1String("printscreen"),
    QLatin1String("function"), QLatin1String("navigation"), QLatin1String("homeend"),
    QLatin1String("pguppgdn"), QLatin1String("arrow"),      QLatin1String("numpad"),
    QLatin1String("windows"),  QLatin1String("altgr")};

// The co-ordinates value of every key group, as read from the layout file.
using TKeyMap = std::array<QString, KeyGroupCount>;

// The picture counts as this many reference units wide.
constexpr int ReferenceWidth = 1536;
// The picture's height in the same units.
constexpr int ReferenceHeight = 522;

// A rectangle holds the points with Left <= x < Right and Top <= y < Bottom.
struct TKeyRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool Contains(int x, int y) const { return Left <= x && x < Right && Top <= y && y < Bottom; }
    bool operator==(const TKeyRect&) const = default;
};

// A number of a co-ordinates value that is not a valid integer.
class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Converts a number: optional leading blanks, an optional sign, then decimal digits or hexadecimal
// ones after "$" or "0x". Throws EConvertError for anything else or a value beyond 32 bits.
int StrToInt(const QString& text);

// The rectangles of a co-ordinates value ",l,t,r,b,l,t,r,b...", from the last written to the
// first. A value that does not begin with a comma has none; a trailing group of fewer than four
// numbers is ignored. Throws EConvertError for a number that is not valid.
std::vector<TKeyRect> ParseKeyRects(const QString& value);

// A rectangle in reference units scaled to a paint box of the given width in pixels (both axes).
TKeyRect ScaleKeyRect(const TKeyRect& rect, int width);

// The index of a group name (case matters), or -1.
int KeyGroupIndex(const QString& name);

// Whether group i reacts to the pointer on the given page: the six areas on page 2, the keys
// elsewhere.
bool ReactsOnPage(int index, int page);

// The first group, in index order, that reacts on the page and has a rectangle holding the pixel
// (x, y) of a paint box of the given width; -1 when none does.
int KeyGroupAt(const TKeyMap& keyMap, int page, int width, int x, int y);
