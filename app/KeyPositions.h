#pragma once

#include "KeyMap.h"

#include <QString>
#include <QStringList>
#include <Qt>

#include <optional>
#include <vector>

// Single keys of the keyboard picture: the layout file's optional "Key positions" section, which
// names every physical key by its position (AE01, LCTL, KP7, as X keyboard descriptions do) and
// gives its rectangles and its name in the file's language, and the way from a pressed key's
// native scan code to that position.

inline const QString KeyPositionsSection = QStringLiteral("Key positions");

// One key of the section: "LCTL=,8,408,96,466,Left Ctrl". Four numbers per rectangle; what is
// left after the last whole group of four is the key's name (it may hold up to three commas).
struct TKeyPosition {
    std::vector<TKeyRect> Rects; // in the order written
    QString Name;
    bool operator==(const TKeyPosition&) const = default;
};

// The value of a key position; nothing when it does not begin with a comma, lacks a whole
// rectangle, or holds a number that is not valid.
std::optional<TKeyPosition> ParseKeyPosition(const QString& value);
// The value of a key position as the layout file holds it.
QString KeyPositionValue(const std::vector<TKeyRect>& rects, const QString& name);

// The native scan codes of the two families of desktops.
enum class TScanCodeSet {
    Xkb,     // X11 and Wayland: XKB keycodes, the Linux input code plus 8
    Windows, // Windows: set 1 scan codes; extended keys as 0xE0xx, or as 0x1xx as Qt reports them
};

// The scan code set of the desktop the program was built for.
TScanCodeSet NativeScanCodeSet();

// The position names a scan code may have in a layout file, the usual one first (the key above
// Enter is BKSL on an ANSI keyboard and AC12 on an ISO one); empty for an unknown code.
QStringList KeyPositionNames(quint32 scanCode, TScanCodeSet set);

// The key group a key belongs to, found from its Qt key code alone (the keypad flag counts); -1
// for keys of no group, such as Scroll Lock and Pause.
int KeyGroupOfQtKey(int key, Qt::KeyboardModifiers modifiers);

// A pressed key as the key explorer shows it.
struct TExploredKey {
    QString Name;                // the key's name
    std::vector<TKeyRect> Rects; // what is lit, in reference units
    int Group = -1;              // the key group it belongs to, or -1
    bool OneKey = false;         // the rectangles are the key's own, not its whole group's
};

// Finds the pressed key in a layout file: by its position when the file's "Key positions" section
// holds the scan code's position (its group is the key group whose rectangle holds the key's
// centre), else by its Qt key code, lighting the whole group and naming the key `fallbackName`.
// Throws EConvertError for a co-ordinates value that is not valid.
TExploredKey ExploreKey(const QString& layoutFile, const TKeyMap& keyMap, quint32 scanCode,
                        TScanCodeSet set, int key, Qt::KeyboardModifiers modifiers,
                        const QString& fallbackName);

// The first page whose "image-%d" names the group (ignoring case); 0 when none does.
int FirstPageOfKeyGroup(const QString& layoutFile, int group);
