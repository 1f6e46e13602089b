#pragma once

#include <QList>
#include <QString>

#include <optional>

// Where the keys of a full-size PC keyboard lie on a 1536 x 522 pixel picture.
//
// Keys stand on a grid of quarter key widths. Each key owns a cell (its share of the grid, without
// gaps to its neighbours); the key's outline runs KeyInset pixels inside the cell, so two
// neighbouring outlines are 2 * KeyInset pixels apart. A key's box is the area its outline
// encloses, outline included, and is what a key group's rectangles cover.
namespace kbpicgen {

constexpr int PictureWidth = 1536;
constexpr int PictureHeight = 522;
constexpr int Unit = 64;          // one key width (and height) in pixels
constexpr int Quarter = Unit / 4; // the grid step
constexpr int KeyInset = 4;       // from a cell's edge to the key's outline
constexpr int CaseMargin = 20;    // from the outermost cells to the keyboard case's outline

// A rectangle of pixels: left <= x < right, top <= y < bottom.
struct Box {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool isEmpty() const { return right <= left || bottom <= top; }
    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool contains(const Box& o) const {
        return o.left >= left && o.right <= right && o.top >= top && o.bottom <= bottom;
    }
    bool intersects(const Box& o) const {
        return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
    }
    Box grown(int d) const { return {left - d, top - d, right + d, bottom + d}; }
    bool operator==(const Box&) const = default;
};

// The two physical layouts: ANSI (104 keys, wide Enter, long left Shift) and ISO (105 keys, tall
// Enter, short left Shift with an extra key beside it and an extra key left of Enter).
enum class Form { Ansi, Iso };

std::optional<Form> FormFromName(const QString& name); // "ansi" or "iso", any case
QString FormName(Form form);

struct Key {
    // The key's position name as X keyboard descriptions spell it: "AD01" is the first letter key
    // of the upper letter row, "LFSH" the left Shift, "KP7" the keypad's 7, and so on.
    QString name;
    // The key's area, outline included: one box, or two for the L-shaped ISO Enter (the full-width
    // upper part first, then the narrower part running from the top to the bottom).
    QList<Box> shape;
    bool homing = false; // carries a bump for the index fingers (F, J, keypad 5)

    // The key's share of the grid: its shape grown by KeyInset.
    QList<Box> cells() const;
};

struct Keyboard {
    Form form = Form::Ansi;
    Box caseBox; // the keyboard case's outline, enclosing every key
    QList<Key> keys;

    const Key* find(const QString& name) const;
};

Keyboard MakeKeyboard(Form form);

} // namespace kbpicgen
