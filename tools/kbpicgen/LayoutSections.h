#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The sections of a layout file that the keyboard picture generator owns, "Bitmap",
// "Key co-ordinates" and "Key positions", and putting them into a layout file.
namespace kbpicgen {

// The longest picture file name the program reads.
constexpr int MaxBitmapNameLength = 9;

// Comment lines (each starting with "; "), then "[Bitmap]" with bitmap=<bitmapName> when a name
// is given, then "[Key co-ordinates]" with the given lines, then "[Key positions]" with its lines
// when there are any; lines end in '\n'.
QString GeneratedSections(const QStringList& comments, const QString& bitmapName,
                          const QStringList& coordinateLines,
                          const QStringList& positionLines = {});

// The layout file's bytes with its "Bitmap", "Key co-ordinates" and "Key positions" sections (and
// the comment lines just above them that name kbpicgen) replaced by `sections`, which stand where
// the first of them stood, or at the end when the file has neither. Every other line is kept byte
// for byte; `sections` gets the file's line ends (CR LF when its first line ends so).
QByteArray ReplaceGeneratedSections(const QByteArray& file, const QString& sections);

} // namespace kbpicgen
