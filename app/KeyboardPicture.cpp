#include "KeyboardPicture.h"

#include "CheckedFile.h"
#include "ImageFile.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QtMath>

#include <algorithm>
#include <climits>

namespace {

// A rectangle in paint box pixels as device pixels, cut to the image.
QRect DeviceRect(const TKeyRect& r, qreal ratio, const QRect& bounds) {
    auto device = [ratio](int n) { return qRound(std::clamp(n * ratio, -1e9, 1e9)); };
    return QRect(QPoint(device(r.Left), device(r.Top)),
                 QPoint(device(r.Right) - 1, device(r.Bottom) - 1))
        .intersected(bounds);
}

// The rectangle around the rectangles.
QRect Around(const std::vector<QRect>& rects) {
    QRect around;
    for (const QRect& rect : rects)
        around |= rect;
    return around;
}

// A picture file: only a regular file, and no larger than Qt's image allocation limit, which
// bounds the decoded picture too (an uncompressed bitmap's file is at least as large as its
// pixels).
QImage ReadPicture(const QString& fileName) {
    const qint64 limitMiB = QImageReader::allocationLimit();
    const CheckedFile file = ReadCheckedFile(fileName, limitMiB > 0 ? limitMiB << 20 : INT_MAX);
    if (file.Check != FileCheck::Regular)
        return QImage();
    if (!file.Bytes.startsWith("BM"))
        return QImage::fromData(file.Bytes);
    QBuffer buffer;
    buffer.setData(file.Bytes);
    return ReadImageOfFormat(buffer, "BMP");
}

} // namespace

QRectF LogicalRect(const QRect& device, qreal ratio) {
    return QRectF(QPointF(device.topLeft()) / ratio, QSizeF(device.size()) / ratio);
}

QSize DeviceSize(QSize size, qreal ratio) {
    return QSize(qCeil(size.width() * ratio), qCeil(size.height() * ratio));
}

const QImage& TStretchedPicture::For(const QImage* picture, QSize size, qreal ratio) {
    const qint64 key = picture && !picture->isNull() ? picture->cacheKey() : 0;
    if (!FStretched.isNull() && key == FPictureKey && size == FSize && ratio == FRatio)
        return FStretched;
    FPictureKey = key;
    FSize = size;
    FRatio = ratio;
    FStretched = QImage();
    if (size.isEmpty())
        return FStretched;
    FStretched = QImage(DeviceSize(size, ratio), QImage::Format_RGB32);
    FStretched.fill(Qt::white);
    if (key != 0) {
        QPainter painter(&FStretched);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(FStretched.rect(), *picture);
    }
    FStretched.setDevicePixelRatio(ratio);
    return FStretched;
}

void TLitKeyboard::Light(const QImage& stretched, const std::vector<TKeyRect>& rects) {
    std::vector<QRect> amber;
    for (const TKeyRect& r : rects)
        if (r.Right > r.Left && r.Bottom > r.Top)
            if (const QRect device = DeviceRect(r, stretched.devicePixelRatio(), stretched.rect());
                !device.isEmpty())
                amber.push_back(device);
    if (stretched.cacheKey() != FStretched.cacheKey())
        FChanged = QRegion(FStretched.rect()) + QRegion(stretched.rect());
    else if (amber == FAmber)
        FChanged = QRegion();
    else
        FChanged = QRegion(Around(FAmber)) + QRegion(Around(amber));
    FStretched = stretched;
    FAmber = std::move(amber);
}

void TLitKeyboard::Draw(QPainter& painter) const {
    if (FStretched.isNull())
        return;
    const qreal ratio = FStretched.devicePixelRatio();
    painter.save();
    painter.drawImage(QPointF(0, 0), FStretched);
    // Amber below the picture: the picture ANDed with amber, so that its white turns amber and its
    // lines stay dark.
    painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    QRegion lit;
    for (const QRect& rect : FAmber) {
        painter.fillRect(LogicalRect(rect, ratio), HighlightColor);
        lit += rect;
    }
    // The outline, one paint box pixel wide, is black except where a rectangle lies over it.
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    const int width = std::max(1, qRound(ratio));
    const QRect all = FStretched.rect();
    const QRegion outline =
        QRegion(all) - QRegion(all.adjusted(width, width, -width, -width)) - lit;
    for (const QRect& rect : outline)
        painter.fillRect(LogicalRect(rect, ratio), Qt::black);
    painter.restore();
}

QImage TLitKeyboard::Image() const {
    if (FStretched.isNull())
        return QImage();
    QImage image(FStretched.size(), QImage::Format_RGB32);
    image.setDevicePixelRatio(FStretched.devicePixelRatio());
    QPainter painter(&image);
    Draw(painter);
    return image;
}

QImage ComposeKeyboardImage(const QImage& stretched, const std::vector<TKeyRect>& rects) {
    TLitKeyboard keyboard;
    keyboard.Light(stretched, rects);
    return keyboard.Image();
}

QImage ComposeKeyboardImage(QSize size, const std::vector<TKeyRect>& rects, const QImage* picture) {
    return ComposeKeyboardImage(TStretchedPicture().For(picture, size, 1), rects);
}

QImage LoadKeyboardPicture(const QString& name, const QString& layoutFileName) {
    if (name.isEmpty())
        return QImage();
    QImage picture = ReadPicture(name);
    if (picture.isNull() && QFileInfo(name).isRelative())
        picture = ReadPicture(QFileInfo(layoutFileName).dir().filePath(name));
    // Colours with an alpha channel would be combined premultiplied: those are made opaque.
    return picture.hasAlphaChannel() ? picture.convertToFormat(QImage::Format_RGB32) : picture;
}
