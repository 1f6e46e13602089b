// The settings write as a round-trip property: the first line of the input is the value, the rest
// the settings file as found. After the write the value reads back, and every other line is kept
// line for line in text, and byte for byte unless the file is UTF-16 (whose line breaks are not
// single bytes) or a Windows-1252 file had to become UTF-8 to hold the value; the byte-order mark
// stays.
// A broken property aborts.
#include "IniFile.h"

#include <QFile>
#include <QStringConverter>
#include <QStringList>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// Aborts, naming the property, when it does not hold.
#define Require(condition)                                                                         \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "Broken: %s (line %d)\n", #condition, __LINE__);                  \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

// Whether after equals before but for one place: one line replaced, lines inserted, or the last
// line ending in a carriage return before lines added after it; or nothing, when the file already
// held the value (the value read back is checked apart).
template <typename Lines> bool ChangedInOnePlace(const Lines& before, const Lines& after) {
    qsizetype prefix = 0;
    while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < before.size() - prefix && suffix < after.size() - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    const qsizetype removed = before.size() - prefix - suffix;
    const qsizetype added = after.size() - prefix - suffix;
    if (removed == 0)
        return true;
    if (removed != 1 || added < 1)
        return false;
    if (added == 1)
        return true; // the key's line
    // The file ended without a line break: its last line gains the file's line break.
    auto withCr = before[prefix];
    withCr.append('\r');
    return prefix + 1 == before.size() &&
           (after[prefix] == before[prefix] || after[prefix] == withCr);
}

bool IsValid(const QByteArray& bytes, QStringConverter::Encoding encoding) {
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    const QString text = decoder(bytes); // the conversion runs when the result is taken
    return !decoder.hasError();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir dir;
    static const QString path = dir.filePath(QStringLiteral("fingerwise.ini"));
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype newline = input.indexOf('\n');
    const QString value = QString::fromUtf8(input.left(newline < 0 ? 0 : newline));
    const QByteArray before = newline < 0 ? input : input.mid(newline + 1);
    QFile::remove(path);
    {
        QFile file(path);
        Require(file.open(QIODevice::WriteOnly));
        Require(file.write(before) == before.size());
    }

    const ProfileWriteResult result =
        WriteProfileString(QStringLiteral("General"), QStringLiteral("keyboard"), value, path);
    if (value.contains(u'\r')) {
        Require(result.Status == ProfileWriteStatus::Refused);
        return 0;
    }
    Require(result.Status == ProfileWriteStatus::Written);
    Require(ReadProfileString(QStringLiteral("General"), QStringLiteral("keyboard"), QString(),
                              INT_MAX, path) == value);

    QFile file(path);
    Require(file.open(QIODevice::ReadOnly));
    const QByteArray after = file.readAll();
    const QByteArray utf8Bom("\xEF\xBB\xBF");
    const bool utf16 =
        (before.startsWith("\xFF\xFE") && IsValid(before.mid(2), QStringConverter::Utf16LE)) ||
        (before.startsWith("\xFE\xFF") && IsValid(before.mid(2), QStringConverter::Utf16BE));
    const auto withoutBom = [&](const QByteArray& bytes) {
        return bytes.startsWith(utf8Bom) ? bytes.mid(utf8Bom.size()) : bytes;
    };
    const bool sameEncoding = IsValid(withoutBom(before), QStringConverter::Utf8) ==
                              IsValid(withoutBom(after), QStringConverter::Utf8);
    Require(ChangedInOnePlace(DecodeProfileText(before).split(u'\n'),
                              DecodeProfileText(after).split(u'\n')));
    if (utf16)
        Require(after.left(2) == before.left(2));
    else if (sameEncoding)
        Require(ChangedInOnePlace(withoutBom(before).split('\n'), withoutBom(after).split('\n')));
    if (before.startsWith(utf8Bom))
        Require(after.startsWith(utf8Bom));
    return 0;
}
