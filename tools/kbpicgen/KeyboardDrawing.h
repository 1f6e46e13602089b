#pragma once

#include "KeyGroups.h"
#include "KeyboardGeometry.h"
#include "Legends.h"

#include <QImage>

// Drawing the keyboard picture and pictures for checking the key groups on it. Text needs a
// QGuiApplication (for its fonts).
namespace kbpicgen {

constexpr int LineWidth = 3; // of every outline, centred on the outermost pixels of a key's box

// The keyboard in black on white, PictureWidth x PictureHeight, in Format_RGB32: the case, every
// key's outline with its legends, the home-row bumps and the lock lights.
QImage DrawKeyboard(const Keyboard& keyboard, const LegendSet& legends);

// The picture as it is shipped: 8 bits per pixel, a palette of 256 greys.
QImage ToGreyBitmap(const QImage& picture);

// The picture `width` pixels wide as the tutorial shows it with the given rectangles highlighted:
// amber rectangles on white, scaled from reference units, with the smoothly scaled picture
// combined over them by a bitwise AND.
QImage DrawHighlighted(const QImage& picture, const QList<Box>& boxes, int width);

// A sheet of every key group highlighted as the tutorial shows it at about 770 pixels wide, with
// each group's name above its picture.
QImage DrawCheckSheet(const QImage& picture, const QList<KeyGroup>& groups);

// The picture at full size with the rectangles of every group that the pointer finds on most pages
// laid over it, each group in a colour of its own, half transparent.
QImage DrawOverlay(const QImage& picture, const QList<KeyGroup>& groups);

} // namespace kbpicgen
