#pragma once

#include <QImage>

class QIODevice;

// Reads an image of the format given. Qt's reader, left to guess the format or even told it, first
// loads every image format plugin to ask whether it reads the data: milliseconds at start-up.
QImage ReadImageOfFormat(QIODevice& device, const QByteArray& format);
QImage ReadImageOfFormat(const QString& fileName, const QByteArray& format);
