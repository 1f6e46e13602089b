#include "ImageFile.h"

#include <QFile>
#include <QImageReader>

QImage ReadImageOfFormat(QIODevice& device, const QByteArray& format) {
    QImageReader reader(&device, format);
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

QImage ReadImageOfFormat(const QString& fileName, const QByteArray& format) {
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? ReadImageOfFormat(file, format) : QImage();
}
