#pragma once

#include <QByteArray>
#include <QString>

// INI profile files, read and written with the rules of the classic private-profile functions:
// - section and key names match without regard to case; the first match wins (a key is looked
//   for through every section of that name, in file order);
// - blanks around keys and values are removed, then one pair of matching quotes around a value;
// - lines starting with ';' or '#' are comments;
// - a missing file, section or key gives the default, and so does a file that is no regular file
//   or is larger than MaxProfileFileSize (CheckedFile.h);
// - files are UTF-8 (a byte-order mark is skipped), UTF-16 of either byte order with its
//   byte-order mark, or, when none of these, Windows-1252;
// - each version of a file (told by its identity, size and modification time) is decoded once,
//   so repeated reads cost a look-up, not a read of the file.

// Reads a text value into a buffer of bufferSize characters: at most bufferSize - 1 characters
// (code points, so a character is never split) are returned. The default is cut the same way.
QString ReadProfileString(const QString& section, const QString& key, const QString& defaultValue,
                          int bufferSize, const QString& fileName);

// Reads a number: optional blanks, an optional sign and the leading decimal digits; text with no
// digits reads as 0; a missing or empty value gives the default. Values beyond the int range are
// clamped.
int ReadProfileInt(const QString& section, const QString& key, int defaultValue,
                   const QString& fileName);

enum class ProfileWriteStatus {
    Written,    // the file now holds the value
    Refused,    // the value holds a line break, or the section or key is empty: no file takes it
    NotAFile,   // the name is a symbolic link (dangling or not) or no regular file: never written
    Unreadable, // the file is too large or cannot be read, so it cannot be rewritten faithfully
    Failed,     // the new file could not be written (no such folder, no permission, disk full)
};

struct [[nodiscard]] ProfileWriteResult {
    ProfileWriteStatus Status;
    explicit operator bool() const { return Status == ProfileWriteStatus::Written; }
    // Whether the value failed for this file, not for itself, so another file could take it.
    bool FileUnusable() const {
        return Status != ProfileWriteStatus::Written && Status != ProfileWriteStatus::Refused;
    }
};

// Writes one value, changing only the line that holds it (or adding it, and its section, when
// missing) and keeping every other byte, the byte-order mark included; a Windows-1252 file that
// cannot hold the value becomes UTF-8. The new file is written beside the old one and renamed over
// the name, so a failure never leaves a truncated file, and a name that is a symbolic link or no
// regular file is never written through.
[[nodiscard]] ProfileWriteResult WriteProfileString(const QString& section, const QString& key,
                                                    const QString& value, const QString& fileName);

// Decodes the bytes of a profile file by the rules above, without its byte-order mark.
QString DecodeProfileText(const QByteArray& bytes);

// Cuts a text to at most maxChars characters without splitting a surrogate pair.
QString CutToCharacters(const QString& text, int maxChars);
