#include "Version.h"

#include "Registry.h"

#include "VersionRecord.h"

#include <QtEndian>

#include <cstring>
#include <memory>

TVersionLabel::TVersionLabel(QWidget* parent)
    : QLabel(parent) {
    FVersion[0] = '\0';
}

QString TVersionLabel::GetVersion() {
    if (FVersion[0] == '\0') {
        try {
            ReadVersion();
        } catch (...) {
            FVersion[0] = '\0'; // any failure: nothing read, a later call tries again
        }
    }
    return QString::fromUtf8(FVersion);
}

void TVersionLabel::ReadVersion() {
    using namespace VersionRecord;
    const QString fileName = ProgramFileName();
    const std::uint32_t size = GetFileVersionInfoSize(fileName);
    if (size == 0)
        return;
    const std::unique_ptr<char[]> block(new char[size + 1]());
    if (!GetFileVersionInfo(fileName, size + 1, block.get()))
        return;

    const char* translations = nullptr;
    std::uint32_t length = 0;
    if (!VerQueryValue(block.get(), size, QStringLiteral("\\VarFileInfo\\Translation"),
                       &translations, &length) ||
        length < 4)
        return;
    const std::uint32_t first = qFromLittleEndian<std::uint32_t>(translations);
    const auto name =
        QString::asprintf("\\StringFileInfo\\%04x%04x\\FileVersion", first & 0xFFFF, first >> 16);

    const char* text = nullptr;
    if (!VerQueryValue(block.get(), size, name, &text, &length))
        return;
    // Copied while the block is alive; cut to the capacity without splitting a character.
    std::size_t count = strnlen(text, length);
    if (count > std::size_t(VersionCapacity)) {
        count = VersionCapacity;
        while (count > 0 && (std::uint8_t(text[count]) & 0xC0) == 0x80)
            --count;
    }
    std::memcpy(FVersion, text, count);
    FVersion[count] = '\0';
}

void TVersionLabel::Loaded() {
    setText(QStringLiteral("Version ") + GetVersion());
}

namespace VersionUnit {

void Register() {
    RegisterControl<TVersionLabel>(QStringLiteral("Version.h"));
}

} // namespace VersionUnit
