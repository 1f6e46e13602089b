#include "KeyboardPicture.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>

QImage ComposeKeyboardImage(QSize size, const std::vector<TKeyRect>& rects, const QImage* picture) {
    if (size.isEmpty())
        return QImage();
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, size.width() - 1, size.height() - 1);
    for (const TKeyRect& r : rects)
        if (r.Right > r.Left && r.Bottom > r.Top)
            painter.fillRect(QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top),
                             HighlightColor);
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
    QImage picture(name);
    if (picture.isNull() && QFileInfo(name).isRelative())
        picture.load(QFileInfo(layoutFileName).dir().filePath(name));
    return picture.isNull() ? picture : picture.convertToFormat(QImage::Format_RGB32);
}
