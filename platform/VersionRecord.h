#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>
#include <functional>

// The program's version record: a block of named entries that the program carries inside its own
// file, with a translation table (language and code page pairs) and string tables (CompanyName,
// FileVersion, ...), one per translation.
//
// In a file the block stands behind a header: an 8-byte mark, the block's length and a checksum
// of the block (both 32-bit little-endian). A reader scans the file for the mark and takes the
// first place whose length and checksum fit, so a chance copy of the mark elsewhere in the file
// is passed over.
//
// The block is a tree of nodes, each 4-byte aligned and little-endian:
//   uint32 length        the whole node in bytes, its children included
//   uint32 value length  the value's size in bytes (a text value counts its terminating zero)
//   uint32 type          0 binary value, 1 text value (UTF-8, zero-terminated)
//   key                  UTF-8, zero-terminated, padded to a multiple of 4
//   value                padded to a multiple of 4
//   children             nodes
// The root is "VS_VERSION_INFO"; under it "StringFileInfo" holds one node per string table,
// named by language and code page as eight hexadecimal digits ("040904E4"), whose children are
// the text entries; "VarFileInfo" holds "Translation", a binary value of 32-bit entries, each the
// language in its low and the code page in its high 16 bits.
namespace VersionRecord {

struct TStringTable {
    std::uint16_t Language = 0;
    std::uint16_t CodePage = 0;
    QList<std::pair<QString, QString>> Entries; // name, text; in this order
};

struct TVersionInfo {
    QList<std::pair<std::uint16_t, std::uint16_t>> Translations; // language, code page
    QList<TStringTable> StringTables;
};

// The name of a string table: language and code page as eight upper-case hexadecimal digits.
QString StringTableName(std::uint16_t language, std::uint16_t codePage);

// The block of a version record (the tree above, without the file header).
QByteArray EncodeBlock(const TVersionInfo& info);

// The block behind its file header, as it is stored in a program file.
QByteArray EncodeRecord(const TVersionInfo& info);

// The version record of the program's own file as source text in C++: a constant array in the
// section ".fwversion", kept by the compiler although nothing refers to it.
QByteArray EncodeRecordSource(const TVersionInfo& info);

// The record this program describes: the given file version (also the product version), one
// translation (US English, code page 1252) and the usual string entries.
TVersionInfo ProgramVersionInfo(const QString& fileVersion);

// The size of the version record's block in the named file; 0 when the file cannot be read or
// holds no valid record.
std::uint32_t GetFileVersionInfoSize(const QString& fileName);

// Copies at most `length` bytes of the named file's version record block into `data`; false when
// the file cannot be read or holds no valid record.
bool GetFileVersionInfo(const QString& fileName, std::uint32_t length, char* data);

// Looks up a value in a block read by GetFileVersionInfo (`size` bytes long). The path names
// nodes from the root, each after a backslash ("\StringFileInfo\040904e4\FileVersion"), matched
// without regard to case; "\" alone names the root. On success `value` points at the value inside
// the block (a text value is zero-terminated) and `length` is its size in bytes.
bool VerQueryValue(const char* block, std::uint32_t size, const QString& path, const char** value,
                   std::uint32_t* length);

// The full file name of the running program, where its version record is read from. Tests can
// replace the function that gives it; an empty function restores the default, which is
// QCoreApplication::applicationFilePath().
QString ProgramFileName();
using TProgramFileNameFunction = std::function<QString()>;
TProgramFileNameFunction SetProgramFileNameFunction(TProgramFileNameFunction function);

} // namespace VersionRecord
