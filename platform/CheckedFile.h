#pragma once

#include <QByteArray>
#include <QString>

// Reading files whose names may lead anywhere: to a named pipe, a device, a directory, or a file
// far larger than any the program expects. Only a regular file is opened (checked before opening
// and again on the open file, which is opened without blocking), and only up to a size limit, so
// no name can freeze the program or fill its memory.

// The largest layout or settings file that is read.
constexpr qint64 MaxProfileFileSize = 4 * 1024 * 1024;

enum class FileCheck {
    Regular,    // a regular file within the size limit
    Missing,    // nothing by that name (or a directory on the way is missing)
    NotRegular, // a pipe, device, socket or directory, or a link to one
    TooLarge,   // a regular file beyond the size limit
    Unreadable, // a regular file that cannot be opened or read (permissions, I/O error)
};

// What tells one version of a file from another: the file's identity (device and inode), its size
// and its modification time.
struct FileStamp {
    quint64 Device = 0;
    quint64 Inode = 0;
    qint64 Size = -1;
    qint64 ModifiedNs = 0;
    bool operator==(const FileStamp&) const = default;
};

struct CheckedFile {
    FileCheck Check = FileCheck::Missing;
    FileStamp Stamp;  // of the file that was read (Regular only)
    QByteArray Bytes; // the whole file (Regular only)
};

// Checks a file by name, following symbolic links, without opening it; fills stamp when given.
FileCheck CheckFile(const QString& fileName, qint64 maxBytes, FileStamp* stamp = nullptr);

// Reads a whole regular file of at most maxBytes bytes.
CheckedFile ReadCheckedFile(const QString& fileName, qint64 maxBytes);

// Whether the name itself (not what a link leads to) is a symbolic link or anything else but a
// regular file; false when nothing has that name.
bool IsLinkOrSpecial(const QString& fileName);
