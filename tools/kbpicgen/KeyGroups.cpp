#include "KeyGroups.h"

#include "KeyPositions.h"

#include <QSet>

#include <algorithm>
#include <functional>

namespace kbpicgen {

namespace {

struct Span {
    int left;
    int right;
};

// The x-spans of the cells that reach into row y, sorted, touching spans joined.
QList<Span> SpansInRow(const QList<Box>& cells, int y) {
    QList<Span> spans;
    for (const Box& cell : cells)
        if (cell.top <= y && y < cell.bottom)
            spans.append({cell.left, cell.right});
    std::sort(spans.begin(), spans.end(), [](Span a, Span b) { return a.left < b.left; });
    QList<Span> joined;
    for (Span s : spans) {
        if (!joined.isEmpty() && s.left <= joined.back().right)
            joined.back().right = std::max(joined.back().right, s.right);
        else
            joined.append(s);
    }
    return joined;
}

// Whether the cells fill the whole of [left, right) in row y.
bool RowFilled(const QList<Box>& cells, int y, int left, int right) {
    for (Span s : SpansInRow(cells, y))
        if (s.left <= left && right <= s.right)
            return true;
    return false;
}

// Horizontal bands between consecutive cell edges, each cut into the spans of cells; a span equal
// to one in the band above extends that rectangle downwards.
QList<Box> CellRectangles(const QList<Box>& cells) {
    QList<int> edges;
    for (const Box& cell : cells)
        edges << cell.top << cell.bottom;
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());

    QList<Box> rectangles;
    for (qsizetype i = 0; i + 1 < edges.size(); ++i) {
        const int top = edges[i];
        const int bottom = edges[i + 1];
        for (Span s : SpansInRow(cells, top)) {
            auto above = std::find_if(rectangles.begin(), rectangles.end(), [&](const Box& r) {
                return r.bottom == top && r.left == s.left && r.right == s.right;
            });
            if (above != rectangles.end())
                above->bottom = bottom;
            else
                rectangles.append({s.left, top, s.right, bottom});
        }
    }
    return rectangles;
}

QList<const Key*> KeysNamed(const Keyboard& keyboard, const QStringList& names) {
    QList<const Key*> keys;
    for (const QString& name : names)
        if (const Key* key = keyboard.find(name))
            keys.append(key);
    return keys;
}

QList<const Key*> KeysWhere(const Keyboard& keyboard, const std::function<bool(const Key&)>& test) {
    QList<const Key*> keys;
    for (const Key& key : keyboard.keys)
        if (test(key))
            keys.append(&key);
    return keys;
}

bool HasPrefix(const QString& name, const char* prefix) {
    return name.startsWith(prefix);
}

bool IsCharacterKey(const QString& name) {
    return name == "TLDE" || name == "BKSL" || name == "LSGT" || HasPrefix(name, "AE") ||
           HasPrefix(name, "AD") || HasPrefix(name, "AC") || HasPrefix(name, "AB");
}

bool IsNumberKey(const QString& name) {
    return HasPrefix(name, "AE") && name.mid(2).toInt() <= 10;
}

// A letter of an alphabet has a case; the ordinal signs º and ª count as letters without one.
bool IsCasedLetter(QChar ch) {
    return ch.isUpper() || ch.isLower();
}

bool IsLetterKey(const QString& name, const LegendSet& legends) {
    const QString main = legends.legend(name).main;
    return IsCharacterKey(name) && !IsNumberKey(name) && main.size() == 1 && IsCasedLetter(main[0]);
}

bool IsFunctionKey(const QString& name) {
    return HasPrefix(name, "FK");
}

bool IsKeypadKey(const QString& name) {
    return HasPrefix(name, "KP") || name == "NMLK";
}

// The main block: everything left of the navigation block below the function row.
bool IsMainBlockKey(const Key& key, const Keyboard& keyboard) {
    const Key* backspace = keyboard.find("BKSP");
    const Key* grave = keyboard.find("TLDE");
    return key.shape.front().right <= backspace->shape.front().right &&
           key.shape.front().top >= grave->shape.front().top;
}

const QStringList WindowsKeys = {"LWIN", "RWIN", "COMP"};
// Keys that give orders rather than type: Esc, the keys beside the function keys, Ctrl and Alt.
const QStringList ComputerKeys = {"ESC", "PRSC", "SCLK", "PAUS", "LCTL", "LALT", "RALT", "RCTL"};

QList<const Key*> GroupKeys(const QString& group, const Keyboard& keyboard,
                            const LegendSet& legends) {
    if (group == "typing") {
        const QStringList others = WindowsKeys + ComputerKeys;
        return KeysWhere(keyboard, [&](const Key& k) {
            return IsMainBlockKey(k, keyboard) && !others.contains(k.name);
        });
    }
    if (group == "computer")
        return KeysNamed(keyboard, ComputerKeys);
    if (group == "letter")
        return KeysWhere(keyboard, [&](const Key& k) { return IsLetterKey(k.name, legends); });
    if (group == "number")
        return KeysWhere(keyboard, [](const Key& k) { return IsNumberKey(k.name); });
    if (group == "symbol")
        return KeysWhere(keyboard, [&](const Key& k) {
            return IsCharacterKey(k.name) && !IsNumberKey(k.name) && !IsLetterKey(k.name, legends);
        });
    if (group == "alt") {
        const bool rightIsAlt = legends.legend("RALT") == legends.legend("LALT");
        return rightIsAlt ? KeysNamed(keyboard, {"LALT", "RALT"}) : KeysNamed(keyboard, {"LALT"});
    }
    if (group == "function")
        return KeysWhere(keyboard, [](const Key& k) { return IsFunctionKey(k.name); });
    if (group == "numpad")
        return KeysWhere(keyboard, [](const Key& k) { return IsKeypadKey(k.name); });
    if (group == "windows")
        return KeysNamed(keyboard, WindowsKeys);

    static const QHash<QString, QStringList> byName = {
        {"tab", {"TAB"}},
        {"shift", {"LFSH", "RTSH"}},
        {"backspace", {"BKSP"}},
        {"capslock", {"CAPS"}},
        {"spacebar", {"SPCE"}},
        {"enter", {"RTRN", "KPEN"}},
        {"esc", {"ESC"}},
        {"ctrl", {"LCTL", "RCTL"}},
        {"insert", {"INS"}},
        {"delete", {"DELE"}},
        {"printscreen", {"PRSC"}},
        {"navigation",
         {"INS", "HOME", "PGUP", "DELE", "END", "PGDN", "UP", "LEFT", "DOWN", "RGHT"}},
        {"homeend", {"HOME", "END"}},
        {"pguppgdn", {"PGUP", "PGDN"}},
        {"arrow", {"UP", "LEFT", "DOWN", "RGHT"}},
        {"altgr", {"RALT"}},
    };
    return KeysNamed(keyboard, byName.value(group));
}

} // namespace

QString KeyGroup::value() const {
    QString text;
    for (const Box& box : boxes)
        text += QString(",%1,%2,%3,%4").arg(box.left).arg(box.top).arg(box.right).arg(box.bottom);
    return text;
}

QList<Box> CoverKeys(const QList<const Key*>& keys) {
    QList<Box> cells;
    for (const Key* key : keys)
        cells += key->cells();

    // Each rectangle of cells loses the inset on every side, back onto the keys' outlines, except
    // on a side whose whole length meets cells of the set: that side reaches the inset further,
    // across the gap, onto the outline of the keys beyond it.
    QList<Box> boxes = CellRectangles(cells);
    for (Box& box : boxes) {
        const bool openAbove = RowFilled(cells, box.top - 1, box.left, box.right);
        const bool openBelow = RowFilled(cells, box.bottom, box.left, box.right);
        box.left += KeyInset;
        box.right -= KeyInset;
        box.top += openAbove ? -KeyInset : KeyInset;
        box.bottom += openBelow ? KeyInset : -KeyInset;
    }
    return boxes;
}

QList<KeyGroup> MakeKeyGroups(const Keyboard& keyboard, const LegendSet& legends) {
    QList<KeyGroup> groups;
    for (QLatin1String name : KeyGroupNames) {
        KeyGroup group;
        group.name = name;
        if (group.name == "entire") {
            group.boxes = {keyboard.caseBox};
        } else {
            group.keys = GroupKeys(group.name, keyboard, legends);
            group.boxes = CoverKeys(group.keys);
        }
        groups.append(group);
    }
    return groups;
}

namespace {

// A message in `errors` when the value is longer than a layout file's value can hold; `subject`
// begins the message ("the position of key ESC takes").
void CheckValueLength(const QString& subject, const QString& value, QStringList& errors) {
    if (value.size() > MaxValueLength)
        errors.append(QString("%1 %2 characters, more than the %3 that a layout file's value can "
                              "hold")
                          .arg(subject)
                          .arg(value.size())
                          .arg(MaxValueLength));
}

} // namespace

QStringList KeyPositionLines(const Keyboard& keyboard, const LegendSet& legends,
                             QStringList& errors) {
    const qsizetype errorsBefore = errors.size();
    QStringList lines;
    for (const Key& key : keyboard.keys) {
        const QString name = legends.displayName(key.name);
        if (name.isEmpty() || name.count(u',') > 3)
            errors.append(QString("key %1 needs a display name without more than three commas "
                                  "(a \"display\" line of its legend file)")
                              .arg(key.name));
        std::vector<TKeyRect> rects;
        for (const Box& box : key.shape)
            rects.push_back({box.left, box.top, box.right, box.bottom});
        const QString value = KeyPositionValue(rects, name);
        CheckValueLength(QString("the position of key %1 takes").arg(key.name), value, errors);
        lines.append(key.name + "=" + value);
    }
    if (errors.size() != errorsBefore)
        return {};
    return lines;
}

QStringList CoordinateLines(const QList<KeyGroup>& groups, QStringList& errors) {
    QStringList lines;
    for (const KeyGroup& group : groups) {
        const QString value = group.value();
        CheckValueLength(QString("the co-ordinates of key group \"%1\" take").arg(group.name),
                         value, errors);
        lines.append(group.name + "=" + value);
    }
    if (!errors.isEmpty())
        return {};
    return lines;
}

} // namespace kbpicgen
