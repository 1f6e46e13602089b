#include "KeyboardGeometry.h"

namespace kbpicgen {

namespace {

// The keys span 22.5 key widths (main block 15, navigation block 3, keypad 4, and two gaps) and
// 6.5 key heights (function row, half a row of space, five rows), centred on the picture.
constexpr int GridWidth = 90;  // quarters
constexpr int GridHeight = 26; // quarters
constexpr int OriginX = (PictureWidth - GridWidth * Quarter) / 2;
constexpr int OriginY = (PictureHeight - GridHeight * Quarter) / 2;

// Rows, in quarters from the top of the function row.
constexpr int FunctionRow = 0;
constexpr int NumberRow = 6;
constexpr int UpperRow = 10;
constexpr int HomeRow = 14;
constexpr int LowerRow = 18;
constexpr int BottomRow = 22;

// A cell in quarters, turned into the key's box in pixels.
Box KeyBox(int x, int y, int w, int h) {
    return Box{OriginX + x * Quarter, OriginY + y * Quarter, OriginX + (x + w) * Quarter,
               OriginY + (y + h) * Quarter}
        .grown(-KeyInset);
}

class Builder {
public:
    explicit Builder(Keyboard& keyboard)
        : keyboard_(keyboard) {}

    // One key, cell given in quarters; w and h default to one key.
    void key(const QString& name, int x, int y, int w = 4, int h = 4) {
        keyboard_.keys.append(Key{name, {KeyBox(x, y, w, h)}});
    }

    // A run of one-wide keys named prefix01, prefix02, ... from x onwards.
    void run(const QString& prefix, int count, int x, int y) {
        for (int i = 1; i <= count; ++i)
            key(prefix + QString::number(i).rightJustified(2, u'0'), x + 4 * (i - 1), y);
    }

    void keys(std::initializer_list<const char*> names, int x, int y) {
        for (const char* name : names) {
            key(QString::fromLatin1(name), x, y);
            x += 4;
        }
    }

private:
    Keyboard& keyboard_;
};

void AddFunctionRow(Builder& b) {
    b.key("ESC", 0, FunctionRow);
    for (int i = 0; i < 12; ++i) // three blocks of four, half a key apart, after a gap of one key
        b.key(QString("FK%1").arg(i + 1, 2, 10, QChar(u'0')), 8 + 4 * i + 2 * (i / 4), FunctionRow);
    b.keys({"PRSC", "SCLK", "PAUS"}, 61, FunctionRow);
}

void AddMainBlock(Builder& b, Form form) {
    b.key("TLDE", 0, NumberRow);
    b.run("AE", 12, 4, NumberRow);
    b.key("BKSP", 52, NumberRow, 8);

    b.key("TAB", 0, UpperRow, 6);
    b.run("AD", 12, 6, UpperRow);

    b.key("CAPS", 0, HomeRow, 7);
    b.run("AC", 11, 7, HomeRow);

    if (form == Form::Ansi) {
        b.key("BKSL", 54, UpperRow, 6);
        b.key("RTRN", 51, HomeRow, 9);
        b.key("LFSH", 0, LowerRow, 9);
    } else {
        b.key("AC12", 51, HomeRow);
        b.key("RTRN", 54, UpperRow, 6); // the upper part; the lower part is added below
        b.key("LFSH", 0, LowerRow, 5);
        b.key("LSGT", 5, LowerRow);
    }
    b.run("AB", 10, 9, LowerRow);
    b.key("RTSH", 49, LowerRow, 11);

    b.key("LCTL", 0, BottomRow, 5);
    b.key("LWIN", 5, BottomRow, 5);
    b.key("LALT", 10, BottomRow, 5);
    b.key("SPCE", 15, BottomRow, 25);
    b.key("RALT", 40, BottomRow, 5);
    b.key("RWIN", 45, BottomRow, 5);
    b.key("COMP", 50, BottomRow, 5);
    b.key("RCTL", 55, BottomRow, 5);
}

void AddNavigationBlock(Builder& b) {
    b.keys({"INS", "HOME", "PGUP"}, 61, NumberRow);
    b.keys({"DELE", "END", "PGDN"}, 61, UpperRow);
    b.key("UP", 65, LowerRow);
    b.keys({"LEFT", "DOWN", "RGHT"}, 61, BottomRow);
}

void AddKeypad(Builder& b) {
    b.keys({"NMLK", "KPDV", "KPMU", "KPSU"}, 74, NumberRow);
    b.keys({"KP7", "KP8", "KP9"}, 74, UpperRow);
    b.key("KPAD", 86, UpperRow, 4, 8);
    b.keys({"KP4", "KP5", "KP6"}, 74, HomeRow);
    b.keys({"KP1", "KP2", "KP3"}, 74, LowerRow);
    b.key("KPEN", 86, LowerRow, 4, 8);
    b.key("KP0", 74, BottomRow, 8);
    b.key("KPDL", 82, BottomRow);
}

} // namespace

std::optional<Form> FormFromName(const QString& name) {
    if (name.compare(u"ansi", Qt::CaseInsensitive) == 0)
        return Form::Ansi;
    if (name.compare(u"iso", Qt::CaseInsensitive) == 0)
        return Form::Iso;
    return std::nullopt;
}

QString FormName(Form form) {
    return form == Form::Ansi ? "ansi" : "iso";
}

QList<Box> Key::cells() const {
    QList<Box> result;
    for (const Box& box : shape)
        result.append(box.grown(KeyInset));
    return result;
}

const Key* Keyboard::find(const QString& name) const {
    for (const Key& key : keys)
        if (key.name == name)
            return &key;
    return nullptr;
}

Keyboard MakeKeyboard(Form form) {
    Keyboard keyboard;
    keyboard.form = form;
    keyboard.caseBox =
        Box{OriginX, OriginY, OriginX + GridWidth * Quarter, OriginY + GridHeight * Quarter}.grown(
            CaseMargin);
    Builder b(keyboard);
    AddFunctionRow(b);
    AddMainBlock(b, form);
    AddNavigationBlock(b);
    AddKeypad(b);

    if (form == Form::Iso) // the tall Enter's narrower part, from its top down to the Shift row
        for (Key& key : keyboard.keys)
            if (key.name == "RTRN")
                key.shape.append(KeyBox(55, UpperRow, 5, 8));

    for (Key& key : keyboard.keys)
        key.homing = key.name == "AC04" || key.name == "AC07" || key.name == "KP5";
    return keyboard;
}

} // namespace kbpicgen
