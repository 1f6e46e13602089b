#pragma once

#include "KeyMap.h"

#include <QImage>
#include <QRegion>

class QPainter;

// The highlight colour of a key group: amber.
inline const QColor HighlightColor(255, 191, 0);

// The keyboard picture stretched smoothly over a paint box's device pixels. Stretching is the
// costly step of composing, so the stretched picture is kept and made again only for another
// picture, paint box size or device pixel ratio; every compose in between starts from it.
class TStretchedPicture {
public:
    // The picture stretched over size × ratio device pixels, carrying that device pixel ratio; all
    // white without a picture, and a null image for an empty size.
    const QImage& For(const QImage* picture, QSize size, qreal ratio);

private:
    qint64 FPictureKey = 0;
    QSize FSize;
    qreal FRatio = 0;
    QImage FStretched;
};

// The keyboard as a paint box shows it (see ComposeKeyboardImage): the stretched picture with keys
// lit over it. Lighting keys only notes them and the device pixels that change; the picture is
// composed where it is drawn, in the paint, so no composed copy of the picture is kept, and a
// hover that lights other keys costs in proportion to the keys, not to the picture.
class TLitKeyboard {
public:
    // Lights the rectangles (in paint box pixels) over the stretched picture, in place of the keys
    // lit before.
    void Light(const QImage& stretched, const std::vector<TKeyRect>& rects);
    // The device pixels the last Light changed: all of them for another stretched picture, else
    // the rectangle around the keys lit before and the one around the keys lit now; none when it
    // lit the same keys again.
    const QRegion& Changed() const { return FChanged; }
    const QImage& Stretched() const { return FStretched; }
    // Draws the keyboard at the painter's origin; the painter's device has the stretched picture's
    // device pixel ratio.
    void Draw(QPainter& painter) const;
    // The keyboard drawn into an image of the stretched picture's size and ratio.
    QImage Image() const;

private:
    QImage FStretched;
    std::vector<QRect> FAmber; // in device pixels
    QRegion FChanged;
};

// A rectangle of device pixels in the co-ordinates of a widget or painter at that device pixel
// ratio.
QRectF LogicalRect(const QRect& device, qreal ratio);

// A paint box's size in device pixels at the given device pixel ratio.
QSize DeviceSize(QSize size, qreal ratio);

// Composes the keyboard as the paint box shows it: white with a one-pixel black outline, the
// rectangles (already in paint box pixels) in amber, and the picture combined by a bitwise AND, so
// that its white takes the colour below and its lines stay dark. Starts from the stretched picture
// (see TStretchedPicture) and works at its device pixel ratio, every pixel one device pixel.
QImage ComposeKeyboardImage(const QImage& stretched, const std::vector<TKeyRect>& rects);

// The same, stretching the picture afresh over the given size at a device pixel ratio of 1.
QImage ComposeKeyboardImage(QSize size, const std::vector<TKeyRect>& rects, const QImage* picture);

// The keyboard picture named by a layout file: looked for as given (a bare name in the current
// directory), then beside the layout file. Only regular files are read, up to Qt's image allocation
// limit. A null image when neither loads. A picture of palette colours stays as it is: it is
// stretched straight from its palette.
QImage LoadKeyboardPicture(const QString& name, const QString& layoutFileName);
