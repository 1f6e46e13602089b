#pragma once

#include "Colors.h"

#include <QString>

// The text rules of the typing box, apart from the widget.

enum class TypingMode { Hidden, NumberedLines, Exercise };

// The mode that a page's "line1" value asks for: "hidden" and "lines" in any case, else exercise.
TypingMode TypingModeOf(const QString& line1);

// The 100 numbered lines: the prefix and the numbers 1 to 100, each line ending in a line break.
QString NumberedLines(const QString& prefix);

// The exercise text: line1 and line2 as lines, each only when not empty and ending in a break.
QString ExerciseText(const QString& line1, const QString& line2);

// Caret offsets count every line break as two characters (carriage return and line feed), while
// the box's text holds one. These convert between the two; an offset beyond the end gives the end.
int CaretOffsetToPosition(const QString& text, int offset);
int PositionToCaretOffset(const QString& text, int position);

// The next colour of the typing text: one integer addition of 0x33CC33, kept to 24 bits.
TColor NextTypingColor(TColor color);

// Caret moves of Page Down and Page Up, as offsets.
constexpr int PageDownThreshold = 2208;
constexpr int PageDownTarget = 2400;
constexpr int PageUpThreshold = 192;
