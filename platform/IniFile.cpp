#include "IniFile.h"

#include "CheckedFile.h"

#include <QDateTime>
#include <QFile>
#include <QStringConverter>
#include <QStringList>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray Utf8Bom("\xEF\xBB\xBF");

// Windows-1252 characters of the bytes 0x80-0x9F; the five undefined bytes map to the C1 control
// character of the same value, so every byte reads and writes back unchanged.
constexpr char16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

enum class Codec { Utf8, Cp1252, Utf16Le, Utf16Be };

// How a file's bytes become text and back: the byte-order mark it starts with (kept on rewriting)
// and the codec of the rest.
struct Encoding {
    Codec codec = Codec::Utf8;
    QByteArray bom;
};

struct ProfileText {
    QString text;
    Encoding encoding;
};

QString DecodeCp1252(const QByteArray& bytes) {
    QString text;
    text.reserve(bytes.size());
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        text.append(byte >= 0x80 && byte < 0xA0 ? QChar(Cp1252High[byte - 0x80]) : QChar(byte));
    }
    return text;
}

std::optional<QByteArray> EncodeCp1252(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            bytes.append(char(u));
            continue;
        }
        int found = -1;
        for (int i = 0; i < 32; ++i)
            if (Cp1252High[i] == u)
                found = i;
        if (found < 0)
            return std::nullopt;
        bytes.append(char(0x80 + found));
    }
    return bytes;
}

QStringConverter::Encoding QtEncoding(Codec codec) {
    switch (codec) {
    case Codec::Utf16Le:
        return QStringConverter::Utf16LE;
    case Codec::Utf16Be:
        return QStringConverter::Utf16BE;
    default:
        return QStringConverter::Utf8;
    }
}

// The text of bytes in a Unicode codec, or nothing when they are not valid in it. The caller has
// taken off the file's byte-order mark: a U+FEFF that starts the bytes is text (a zero-width
// no-break space), which the decoder would otherwise drop as a second mark.
std::optional<QString> DecodeStrictly(const QByteArray& bytes, Codec codec) {
    QStringDecoder decoder(QtEncoding(codec), QStringConverter::Flag::Stateless |
                                                  QStringConverter::Flag::ConvertInitialBom);
    QString text = decoder(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

ProfileText Decode(const QByteArray& bytes) {
    struct Mark {
        QByteArray bom;
        Codec codec;
    };
    static const Mark marks[] = {{Utf8Bom, Codec::Utf8},
                                 {QByteArray("\xFF\xFE"), Codec::Utf16Le},
                                 {QByteArray("\xFE\xFF"), Codec::Utf16Be}};
    for (const Mark& mark : marks) {
        if (!bytes.startsWith(mark.bom))
            continue;
        const QByteArray rest = bytes.mid(mark.bom.size());
        if (auto text = DecodeStrictly(rest, mark.codec))
            return {*text, {mark.codec, mark.bom}};
        // A UTF-8 mark before bytes that are not UTF-8 is kept; what follows it is Windows-1252.
        if (mark.codec == Codec::Utf8)
            return {DecodeCp1252(rest), {Codec::Cp1252, mark.bom}};
    }
    if (auto text = DecodeStrictly(bytes, Codec::Utf8))
        return {*text, {Codec::Utf8, {}}};
    return {DecodeCp1252(bytes), {Codec::Cp1252, {}}};
}

QByteArray EncodeAs(const QString& text, const Encoding& encoding) {
    if (encoding.codec == Codec::Cp1252) {
        if (auto bytes = EncodeCp1252(text))
            return encoding.bom + *bytes;
    }
    QStringEncoder encoder(QtEncoding(encoding.codec), QStringConverter::Flag::Stateless);
    return encoding.bom + QByteArray(encoder(text));
}

// The bytes of a text in a file's encoding, its byte-order mark first. Where Windows-1252 cannot
// hold the text, or its bytes would read back as another text (as valid UTF-8), the text is
// written in UTF-8 instead, so that it always reads back as written.
QByteArray Encode(const QString& text, const Encoding& encoding) {
    QByteArray bytes = EncodeAs(text, encoding);
    if (encoding.codec == Codec::Cp1252 && Decode(bytes).text != text)
        bytes = EncodeAs(text, {Codec::Utf8, encoding.bom});
    return bytes;
}

bool IsBlank(QChar ch) {
    return ch == u' ' || ch == u'\t' || ch == u'\r';
}

QStringView Trimmed(QStringView text) {
    qsizetype begin = 0, end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

QStringView Unquoted(QStringView value) {
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

bool IsComment(QStringView trimmedLine) {
    return trimmedLine.startsWith(u';') || trimmedLine.startsWith(u'#');
}

// The section name of a trimmed line "[name]", or nothing when the line is no section line.
std::optional<QStringView> SectionName(QStringView trimmedLine) {
    if (!trimmedLine.startsWith(u'['))
        return std::nullopt;
    qsizetype close = trimmedLine.indexOf(u']');
    if (close < 0)
        close = trimmedLine.size();
    return Trimmed(trimmedLine.mid(1, close - 1));
}

bool SameName(QStringView a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Walks the lines of a profile text, calling visit(lineIndex, line, trimmed, section, sectionLine)
// for every line, with the name of the section the line stands in (none before the first section
// line); visit returns false to stop.
template <typename Visit> void ForEachLine(const QString& text, Visit visit) {
    std::optional<QStringView> section;
    qsizetype lineIndex = 0;
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0)
            end = text.size();
        const QStringView line = QStringView(text).mid(start, end - start);
        const QStringView trimmed = Trimmed(line);
        const std::optional<QStringView> name = SectionName(trimmed);
        if (name)
            section = name;
        if (!visit(lineIndex, line, trimmed, section, name.has_value()))
            return;
        ++lineIndex;
        start = end + 1;
    }
}

// A hash of a name without regard to case: names that compare equal hash alike. Surrogates are
// left out, as case folding may change them.
quint32 FoldedHash(QStringView name, quint32 hash) {
    for (QChar ch : name)
        if (!ch.isSurrogate())
            hash = (hash ^ ch.toCaseFolded().unicode()) * 16777619u;
    return hash;
}

quint32 KeyHash(QStringView section, QStringView key) {
    return FoldedHash(key, FoldedHash(section, 2166136261u) ^ 0x5Bu);
}

// Where a key line stands in the text: offsets and lengths into the text. A file holds at most
// MaxProfileFileSize bytes, so 32 bits suffice.
struct KeyEntry {
    quint32 hash;
    qint32 line;
    qint32 sectionStart, sectionLength;
    qint32 keyStart, keyLength;
    qint32 valueStart, valueLength;
};

// A decoded profile file with an index of its keys, made once per version of the file.
class Profile {
public:
    explicit Profile(ProfileText file)
        : File(std::move(file)) {
        const QString& text = File.text;
        auto offset = [&](QStringView part) { return qint32(part.data() - text.constData()); };
        ForEachLine(text, [&](qsizetype index, QStringView, QStringView trimmed,
                              std::optional<QStringView> section, bool sectionLine) {
            if (!section || sectionLine || trimmed.isEmpty() || IsComment(trimmed))
                return true;
            const qsizetype eq = trimmed.indexOf(u'=');
            if (eq < 0)
                return true;
            const QStringView key = Trimmed(trimmed.left(eq));
            const QStringView value = Unquoted(Trimmed(trimmed.mid(eq + 1)));
            Keys.push_back({KeyHash(*section, key), qint32(index), offset(*section),
                            qint32(section->size()), offset(key), qint32(key.size()), offset(value),
                            qint32(value.size())});
            return true;
        });
        // Among keys of equal hash the file order stays, so the first match is the first in file.
        std::stable_sort(Keys.begin(), Keys.end(),
                         [](const KeyEntry& a, const KeyEntry& b) { return a.hash < b.hash; });
    }

    const ProfileText& Text() const { return File; }

    // The first occurrence of a key through every section of that name, in file order.
    const KeyEntry* Find(const QString& section, const QString& key) const {
        const quint32 hash = KeyHash(section, key);
        auto it = std::lower_bound(Keys.begin(), Keys.end(), hash,
                                   [](const KeyEntry& e, quint32 h) { return e.hash < h; });
        for (; it != Keys.end() && it->hash == hash; ++it)
            if (SameName(Part(it->sectionStart, it->sectionLength), section) &&
                SameName(Part(it->keyStart, it->keyLength), key))
                return &*it;
        return nullptr;
    }

    QStringView Value(const KeyEntry& entry) const {
        return Part(entry.valueStart, entry.valueLength);
    }

private:
    QStringView Part(qint32 start, qint32 length) const {
        return QStringView(File.text).mid(start, length);
    }

    ProfileText File;
    std::vector<KeyEntry> Keys;
};

struct LoadedProfile {
    FileCheck check = FileCheck::Missing;
    std::shared_ptr<const Profile> profile; // when check is Regular
};

// The last few profile files read, each with the stamp of the version it holds, so that a file is
// decoded once per version however often it is read. A version modified too recently to be told
// from a rewrite within the same tick of the file system's clock is not kept: it is read afresh
// until it has settled, so the cache answers exactly as reading the file each time would.
class ProfileCache {
public:
    LoadedProfile Load(const QString& fileName) {
        FileStamp stamp;
        const FileCheck check = CheckFile(fileName, MaxProfileFileSize, &stamp);
        if (check != FileCheck::Regular)
            return {check, nullptr};
        {
            const std::lock_guard lock(Mutex);
            for (auto it = Entries.begin(); it != Entries.end(); ++it) {
                if (it->fileName == fileName && it->stamp == stamp) {
                    std::rotate(Entries.begin(), it, it + 1);
                    return {check, Entries.front().profile};
                }
            }
        }
        CheckedFile file = ReadCheckedFile(fileName, MaxProfileFileSize);
        if (file.Check != FileCheck::Regular)
            return {file.Check, nullptr};
        auto profile = std::make_shared<const Profile>(Decode(file.Bytes));
        if (Settled(file.Stamp)) {
            const std::lock_guard lock(Mutex);
            Entries.insert(Entries.begin(), {fileName, file.Stamp, profile});
            if (Entries.size() > MaxEntries)
                Entries.pop_back();
        }
        return {check, profile};
    }

private:
    // Coarse file system clocks tick every two seconds at most.
    static constexpr qint64 ClockTickNs = 2'000'000'000;

    static bool Settled(const FileStamp& stamp) {
        const qint64 nowNs = QDateTime::currentMSecsSinceEpoch() * 1'000'000;
        return stamp.ModifiedNs + ClockTickNs < nowNs;
    }

    struct Entry {
        QString fileName;
        FileStamp stamp;
        std::shared_ptr<const Profile> profile;
    };
    static constexpr size_t MaxEntries = 3; // the settings file, the layout file, one more
    std::mutex Mutex;
    std::vector<Entry> Entries;
};

ProfileCache& Cache() {
    static ProfileCache cache;
    return cache;
}

QString Quoted(const QString& value) {
    const bool needsQuotes = value != Trimmed(value) || Unquoted(value) != QStringView(value);
    return needsQuotes ? u'"' + value + u'"' : value;
}

// The lines of a profile text with one value set: the line holding the key changed, or a line
// added after the last non-blank line of the first section of that name, or the section added.
QString WithValue(const Profile& profile, const QString& section, const QString& key,
                  const QString& value) {
    const QString& text = profile.Text().text;
    QStringList lines = text.split(u'\n');
    const QString cr = text.contains(u"\r\n") ? QStringLiteral("\r") : QString();
    const QString written = Quoted(value);

    if (const KeyEntry* hit = profile.Find(section, key)) {
        QString& line = lines[hit->line];
        const qsizetype eq = line.indexOf(u'=');
        qsizetype valueStart = eq + 1;
        while (valueStart < line.size() && (line[valueStart] == u' ' || line[valueStart] == u'\t'))
            ++valueStart;
        const bool endsInCr = line.endsWith(u'\r');
        line = line.left(valueStart) + written + (endsInCr ? QStringLiteral("\r") : QString());
        return lines.join(u'\n');
    }
    qsizetype insertAt = -1;
    ForEachLine(text, [&](qsizetype index, QStringView, QStringView trimmed,
                          std::optional<QStringView> current, bool sectionLine) {
        const bool inSection = current && SameName(*current, section);
        if (inSection && (sectionLine || !trimmed.isEmpty()))
            insertAt = index + 1;
        return !(insertAt >= 0 && !inSection && sectionLine);
    });
    if (insertAt >= 0 && insertAt < lines.size()) {
        lines.insert(insertAt, key + u'=' + written + cr);
    } else if (insertAt >= 0) {
        // The section's last line ends the file without a line break.
        lines.last() += cr;
        lines.append(key + u'=' + written);
    } else {
        if (lines.last().isEmpty())
            lines.removeLast();
        else
            lines.last() += cr;
        lines.append(u'[' + section + u']' + cr);
        lines.append(key + u'=' + written + cr);
        lines.append(QString());
    }
    return lines.join(u'\n');
}

// Replaces a file by new contents: written to a new file beside it, then renamed over the name, so
// a failure never leaves a truncated file and the rename replaces the name itself, never what a
// link would lead to. The new file takes the old one's permissions (or the usual ones).
bool ReplaceFile(const QString& fileName, const QByteArray& bytes, std::optional<mode_t> mode) {
    QByteArray temporary = QFile::encodeName(fileName) + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return false;
    if (!mode) {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        written += n;
    }
    const bool ok = written == bytes.size() && ::fchmod(fd, *mode) == 0 && ::fsync(fd) == 0;
    if (::close(fd) != 0 || !ok ||
        ::rename(temporary.constData(), QFile::encodeName(fileName).constData()) != 0) {
        ::unlink(temporary.constData());
        return false;
    }
    return true;
}

std::optional<mode_t> PermissionsOf(const QString& fileName) {
    struct stat info {};
    if (::stat(QFile::encodeName(fileName).constData(), &info) != 0)
        return std::nullopt;
    return info.st_mode & 07777;
}

} // namespace

QString CutToCharacters(const QString& text, int maxChars) {
    if (maxChars <= 0)
        return QString();
    qsizetype units = 0;
    for (int chars = 0; chars < maxChars && units < text.size(); ++chars)
        units += (text[units].isHighSurrogate() && units + 1 < text.size()) ? 2 : 1;
    return text.left(units);
}

QString DecodeProfileText(const QByteArray& bytes) {
    return Decode(bytes).text;
}

QString ReadProfileString(const QString& section, const QString& key, const QString& defaultValue,
                          int bufferSize, const QString& fileName) {
    QString value = defaultValue;
    if (const auto profile = Cache().Load(fileName).profile) {
        if (const KeyEntry* hit = profile->Find(section, key))
            value = profile->Value(*hit).toString();
    }
    return CutToCharacters(value, bufferSize - 1);
}

int ReadProfileInt(const QString& section, const QString& key, int defaultValue,
                   const QString& fileName) {
    const QString text = ReadProfileString(section, key, QString(), INT_MAX, fileName);
    if (text.isEmpty())
        return defaultValue;
    qsizetype i = 0;
    bool negative = false;
    if (text[i] == u'-' || text[i] == u'+')
        negative = text[i++] == u'-';
    long long number = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        number = number * 10 + (text[i].unicode() - u'0');
        if (number > INT_MAX)
            return negative ? INT_MIN : INT_MAX;
    }
    return int(negative ? -number : number);
}

ProfileWriteResult WriteProfileString(const QString& section, const QString& key,
                                      const QString& value, const QString& fileName) {
    if (value.contains(u'\n') || value.contains(u'\r') || section.isEmpty() || key.isEmpty())
        return {ProfileWriteStatus::Refused};
    if (fileName.isEmpty())
        return {ProfileWriteStatus::Failed};
    if (IsLinkOrSpecial(fileName))
        return {ProfileWriteStatus::NotAFile};

    LoadedProfile existing = Cache().Load(fileName);
    if (existing.check == FileCheck::Missing)
        existing.profile = std::make_shared<const Profile>(ProfileText());
    else if (existing.check == FileCheck::NotRegular)
        return {ProfileWriteStatus::NotAFile};
    if (!existing.profile)
        return {ProfileWriteStatus::Unreadable};

    const QString text = WithValue(*existing.profile, section, key, value);
    const QByteArray bytes = Encode(text, existing.profile->Text().encoding);
    if (!ReplaceFile(fileName, bytes, PermissionsOf(fileName)))
        return {ProfileWriteStatus::Failed};
    return {ProfileWriteStatus::Written};
}
