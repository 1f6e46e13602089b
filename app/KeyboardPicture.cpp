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
#include <cstring>

namespace {

// A rectangle in paint box pixels as device pixels, cut to the image.
QRect DeviceRect(const TKeyRect& r, qreal ratio, const QRect& bounds) {
    auto device = [ratio](int n) { return qRound(std::clamp(n * ratio, -1e9, 1e9)); };
    return QRect(QPoint(device(r.Left), device(r.Top)),
                 QPoint(device(r.Right) - 1, device(r.Bottom) - 1))
        .intersected(bounds);
}

// The rectangle of the picture ANDed with the colour, into the image.
void AndRect(QImage& image, const QImage& picture, const QRect& rect, QRgb color) {
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const auto* from = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        for (int x = rect.left(); x <= rect.right(); ++x)
            line[x] = from[x] & color;
    }
}

void CopyRect(QImage& image, const QImage& from, const QRect& rect) {
    const qsizetype bytes = qsizetype(rect.width()) * sizeof(QRgb);
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        std::memcpy(reinterpret_cast<QRgb*>(image.scanLine(y)) + rect.left(),
                    reinterpret_cast<const QRgb*>(from.constScanLine(y)) + rect.left(), bytes);
}

// The outline, one paint box pixel wide, turns black within the part given, except where a
// rectangle lies over it: there the amber below the picture shows, as everywhere else in the
// rectangle.
void DrawOutline(QImage& image, const std::vector<QRect>& amber, int width, const QRect& part) {
    const int w = image.width();
    const int h = image.height();
    const QRect area = part.intersected(image.rect());
    for (int y = area.top(); y <= area.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        auto blacken = [&](int from, int to) {
            for (int x = std::max(from, area.left()); x < std::min(to, area.right() + 1); ++x)
                if (std::none_of(amber.begin(), amber.end(),
                                 [&](const QRect& r) { return r.contains(x, y); }))
                    line[x] = qRgb(0, 0, 0);
        };
        if (y < width || y >= h - width) {
            blacken(0, w);
        } else {
            blacken(0, std::min(width, w));
            blacken(std::max(w - width, width), w);
        }
    }
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

QImage ComposeKeyboardImage(const QImage& stretched, const std::vector<TKeyRect>& rects) {
    TComposedPicture composed;
    return composed.Compose(stretched, rects);
}

const QImage& TComposedPicture::Compose(const QImage& stretched,
                                        const std::vector<TKeyRect>& rects) {
    if (stretched.isNull()) {
        FChanged = FImage.isNull() ? QRegion() : QRegion(FImage.rect());
        FImage = QImage();
        FStretchedKey = 0;
        FAmber.clear();
        return FImage;
    }
    const qreal ratio = stretched.devicePixelRatio();
    std::vector<QRect> amber;
    for (const TKeyRect& r : rects)
        if (r.Right > r.Left && r.Bottom > r.Top)
            if (const QRect device = DeviceRect(r, ratio, stretched.rect()); !device.isEmpty())
                amber.push_back(device);
    const int outlineWidth = std::max(1, qRound(ratio));
    const bool afresh = stretched.cacheKey() != FStretchedKey || FImage.isNull();
    if (afresh) {
        // White AND picture is the picture: only the outline and the rectangles change it.
        FImage = stretched.copy();
        FStretchedKey = stretched.cacheKey();
        FAmber.clear();
        DrawOutline(FImage, amber, outlineWidth, FImage.rect());
    }
    FChanged = afresh ? QRegion(FImage.rect()) : QRegion();
    if (amber == FAmber)
        return FImage;
    // What the last rectangles changed starts again from the picture; the new ones are the picture
    // ANDed with amber.
    for (const QRect& rect : FAmber)
        CopyRect(FImage, stretched, rect);
    for (const QRect& rect : amber)
        AndRect(FImage, stretched, rect, HighlightColor.rgb());
    for (const std::vector<QRect>* rects : {&FAmber, &amber}) {
        QRect around;
        for (const QRect& rect : *rects) {
            DrawOutline(FImage, amber, outlineWidth, rect);
            around |= rect;
        }
        FChanged += around;
    }
    FAmber = std::move(amber);
    return FImage;
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
