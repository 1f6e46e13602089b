#pragma once

#include "KeyMap.h"

#include <QImage>

// The highlight colour of a key group: amber.
inline const QColor HighlightColor(255, 191, 0);

// Composes the keyboard as the paint box shows it: white with a one-pixel black outline, the
// rectangles (already in pixels, clipped to the image) in amber, and the picture stretched smoothly
// over the whole image and combined by a bitwise AND, so that its white takes the colour below and
// its lines stay dark.
QImage ComposeKeyboardImage(QSize size, const std::vector<TKeyRect>& rects, const QImage* picture);

// The keyboard picture named by a layout file: looked for as given (a bare name in the current
// directory), then beside the layout file. Only regular files are read, up to Qt's image allocation
// limit. A null image when neither loads.
QImage LoadKeyboardPicture(const QString& name, const QString& layoutFileName);
