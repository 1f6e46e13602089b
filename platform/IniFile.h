#pragma once

#include <QByteArray>
#include <QString>

// INI profile files, read and written with the rules of the classic private-profile functions:
// - section and key names match without regard to case; the first match wins (a key is looked
//   for through every section of that name, in file order);
// - blanks around keys and values are removed, then one pair of matching quotes around a value;
// - lines starting with ';' or '#' are comments;
// - a missing file, section or key gives the default;
// - files are UTF-8 (a byte-order mark is skipped) or, when not valid UTF-8, Windows-1252.

// Reads a text value into a buffer of bufferSize characters: at most bufferSize - 1 characters
// (code points, so a character is never split) are returned. The default is cut the same way.
QString ReadProfileString(const QString& section, const QString& key, const QString& defaultValue,
                          int bufferSize, const QString& fileName);

// Reads a number: optional blanks, an optional sign and the leading decimal digits; text with no
// digits reads as 0; a missing or empty value gives the default. Values beyond the int range are
// clamped.
int ReadProfileInt(const QString& section, const QString& key, int defaultValue,
                   const QString& fileName);

// Writes one value, changing only the line that holds it (or adding it, and its section, when
// missing) and keeping every other line byte for byte. The new file is written beside the old one
// and renamed over it, so a failure never leaves a truncated file. A value holding a line break is
// refused. Returns whether the file now holds the value.
bool WriteProfileString(const QString& section, const QString& key, const QString& value,
                        const QString& fileName);

// Decodes the bytes of a profile file: UTF-8 without its byte-order mark, else Windows-1252.
QString DecodeProfileText(const QByteArray& bytes);

// Cuts a text to at most maxChars characters without splitting a surrogate pair.
QString CutToCharacters(const QString& text, int maxChars);
