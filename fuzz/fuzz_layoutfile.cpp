// Feeds arbitrary bytes to the readers of layout files: the INI reader (as a whole file) and the
// key co-ordinates parser with its number conversion. Nothing may crash, hang or read out of
// bounds.
#include "IniFile.h"
#include "KeyMap.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir dir;
    static const QString path = dir.filePath(QStringLiteral("fuzz.kb"));
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        file.write(bytes);
    }
    const QString value = ReadProfileString(QStringLiteral("Key co-ordinates"),
                                            QStringLiteral("letter"), QString(), 200, path);
    ReadProfileInt(QStringLiteral("Explanation texts"), QStringLiteral("caret-0"), 0, path);
    for (const QString& text : {value, DecodeProfileText(bytes)}) {
        try {
            for (const TKeyRect& rect : ParseKeyRects(text))
                ScaleKeyRect(rect, 1536);
        } catch (const EConvertError&) {
        }
    }
    [[maybe_unused]] const ProfileWriteResult written =
        WriteProfileString(QStringLiteral("General"), QStringLiteral("keyboard"),
                           DecodeProfileText(bytes.left(40)), path);
    return 0;
}
