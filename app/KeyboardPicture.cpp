#include "KeyboardPicture.h"

#include "CheckedFile.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

#include <climits>

namespace {

// A key rectangle clipped to the image, computed in 64 bits: far-off co-ordinates (a rectangle
// from INT_MIN to INT_MAX) give a width beyond 32 bits.
QRect ClippedRect(const TKeyRect& r, QSize size) {
    const qint64 left = std::max<qint64>(r.Left, 0);
    const qint64 top = std::max<qint64>(r.Top, 0);
    const qint64 right = std::min<qint64>(r.Right, size.width());
    const qint64 bottom = std::min<qint64>(r.Bottom, size.height());
    if (right <= left || bottom <= top)
        return QRect();
    return QRect(int(left), int(top), int(right - left), int(bottom - top));
}

// A picture file: only a regular file, and no larger than Qt's image allocation limit, which
// bounds the decoded picture too (an uncompressed bitmap's file is at least as large as its
// pixels).
QImage ReadPicture(const QString& fileName) {
    const qint64 limitMiB = QImageReader::allocationLimit();
    const CheckedFile file = ReadCheckedFile(fileName, limitMiB > 0 ? limitMiB << 20 : INT_MAX);
    return file.Check == FileCheck::Regular ? QImage::fromData(file.Bytes) : QImage();
}

} // namespace

QImage ComposeKeyboardImage(QSize size, const std::vector<TKeyRect>& rects, const QImage* picture) {
    if (size.isEmpty())
        return QImage();
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, size.width() - 1, size.height() - 1);
    for (const TKeyRect& r : rects)
        if (const QRect clipped = ClippedRect(r, size); !clipped.isEmpty())
            painter.fillRect(clipped, HighlightColor);
    if (picture && !picture->isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
        painter.drawImage(image.rect(), *picture);
    }
    return image;
}

QImage LoadKeyboardPicture(const QString& name, const QString& layoutFileName) {
    if (name.isEmpty())
        return QImage();
    QImage picture = ReadPicture(name);
    if (picture.isNull() && QFileInfo(name).isRelative())
        picture = ReadPicture(QFileInfo(layoutFileName).dir().filePath(name));
    return picture.isNull() ? picture : picture.convertToFormat(QImage::Format_RGB32);
}
