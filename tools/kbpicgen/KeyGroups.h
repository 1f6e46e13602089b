#pragma once

#include "KeyMap.h"
#include "KeyboardGeometry.h"
#include "Legends.h"

#include <QList>
#include <QString>

#include <array>

// The 26 key groups of a layout file's "Key co-ordinates" section: which keys each holds and the
// rectangles that cover them.
namespace kbpicgen {

// The longest value the program reads from the section.
constexpr int MaxValueLength = 199;

struct KeyGroup {
    QString name;
    QList<const Key*> keys; // empty for "entire", which covers the keyboard case
    QList<Box> boxes;       // the rectangles written to the layout file

    // The value for the layout file: ",left,top,right,bottom" for each rectangle.
    QString value() const;
};

// The groups in KeyGroupNames order. The keyboard must outlive the result.
//
// Six groups are areas of the keyboard, and none of them overlaps another, so that each reacts to
// the pointer where the areas are shown together: "computer" (the keys that give orders rather
// than type: Esc, Print Screen, Scroll Lock, Pause, both Ctrl and both Alt keys), "windows" (both
// Windows keys and the menu key), "typing" (the rest of the main block), "function" (F1 to F12),
// "navigation" (the six keys above the arrows, and the arrows) and "numpad". "letter", "number" and
// "symbol" split the character keys by their legends: the digit row's first ten keys are the number
// keys, keys whose main legend is one letter are letter keys, the rest are symbol keys. "alt" also
// holds the right Alt key when its legend is the left one's; "altgr" is always the right Alt key.
QList<KeyGroup> MakeKeyGroups(const Keyboard& keyboard, const LegendSet& legends);

// The fewest rectangles, found row by row, that cover the given keys: each key's box, and the
// space between two keys of the set that are neighbours, and nothing else.
QList<Box> CoverKeys(const QList<const Key*>& keys);

// The values of the groups as lines "name=value" of a "Key co-ordinates" section, without the
// section line; empty with a message in `errors` for each value longer than MaxValueLength.
QStringList CoordinateLines(const QList<KeyGroup>& groups, QStringList& errors);

// The lines "KEY=,left,top,right,bottom,Name" of a "Key positions" section, one per key of the
// keyboard in its order: the key's box (both boxes of an L-shaped Enter) and its display name.
// Empty with a message in `errors` for each value longer than MaxValueLength or name that the
// program would not read back whole (empty, or holding more than three commas).
QStringList KeyPositionLines(const Keyboard& keyboard, const LegendSet& legends,
                             QStringList& errors);

} // namespace kbpicgen
