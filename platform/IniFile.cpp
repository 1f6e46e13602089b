#include "IniFile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringConverter>
#include <QStringList>

#include <climits>
#include <optional>

namespace {

const QByteArray Utf8Bom("\xEF\xBB\xBF");

// Windows-1252 characters of the bytes 0x80-0x9F; the five undefined bytes map to the C1 control
// character of the same value, so every byte reads and writes back unchanged.
constexpr char16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

enum class Encoding { Utf8, Utf8WithBom, Cp1252 };

struct ProfileText {
    QString text;
    Encoding encoding = Encoding::Utf8;
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

ProfileText Decode(const QByteArray& bytes) {
    if (bytes.startsWith(Utf8Bom)) {
        QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        QString text = decoder(bytes.mid(Utf8Bom.size()));
        if (!decoder.hasError())
            return {text, Encoding::Utf8WithBom};
        return {DecodeCp1252(bytes.mid(Utf8Bom.size())), Encoding::Cp1252};
    }
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = decoder(bytes);
    if (!decoder.hasError())
        return {text, Encoding::Utf8};
    return {DecodeCp1252(bytes), Encoding::Cp1252};
}

QByteArray Encode(const QString& text, Encoding encoding) {
    if (encoding == Encoding::Cp1252) {
        if (auto bytes = EncodeCp1252(text))
            return *bytes;
    }
    const QByteArray utf8 = text.toUtf8();
    return encoding == Encoding::Utf8WithBom ? Utf8Bom + utf8 : utf8;
}

std::optional<ProfileText> ReadFile(const QString& fileName) {
    if (fileName.isEmpty())
        return std::nullopt;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return Decode(file.readAll());
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

// Walks the lines of a profile text, calling visit(lineIndex, line, inSection, sectionStart) for
// every line; visit returns false to stop.
template <typename Visit>
void ForEachLine(const QString& text, const QString& section, Visit visit) {
    bool inSection = false;
    qsizetype lineIndex = 0;
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0)
            end = text.size();
        const QStringView line = QStringView(text).mid(start, end - start);
        const QStringView trimmed = Trimmed(line);
        bool sectionLine = false;
        if (auto name = SectionName(trimmed)) {
            inSection = SameName(*name, section);
            sectionLine = true;
        }
        if (!visit(lineIndex, line, trimmed, inSection, sectionLine))
            return;
        ++lineIndex;
        start = end + 1;
    }
}

// The line index and value of the first occurrence of key in the named section(s).
struct KeyHit {
    qsizetype line = -1;
    QString value;
};

KeyHit FindKey(const QString& text, const QString& section, const QString& key) {
    KeyHit hit;
    ForEachLine(
        text, section,
        [&](qsizetype index, QStringView, QStringView trimmed, bool inSection, bool sectionLine) {
            if (!inSection || sectionLine || trimmed.isEmpty() || IsComment(trimmed))
                return true;
            const qsizetype eq = trimmed.indexOf(u'=');
            if (eq < 0 || !SameName(Trimmed(trimmed.left(eq)), key))
                return true;
            hit.line = index;
            hit.value = Unquoted(Trimmed(trimmed.mid(eq + 1))).toString();
            return false;
        });
    return hit;
}

QString Quoted(const QString& value) {
    const bool needsQuotes = value != Trimmed(value) || Unquoted(value) != QStringView(value);
    return needsQuotes ? u'"' + value + u'"' : value;
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
    if (auto file = ReadFile(fileName)) {
        KeyHit hit = FindKey(file->text, section, key);
        if (hit.line >= 0)
            value = hit.value;
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

bool WriteProfileString(const QString& section, const QString& key, const QString& value,
                        const QString& fileName) {
    if (value.contains(u'\n') || value.contains(u'\r') || section.isEmpty() || key.isEmpty())
        return false;

    ProfileText file;
    if (QFile::exists(fileName)) {
        auto existing = ReadFile(fileName);
        if (!existing)
            return false;
        file = *existing;
    }
    QStringList lines = file.text.split(u'\n');
    const QString eol = file.text.contains(u"\r\n") ? QStringLiteral("\r\n") : QStringLiteral("\n");
    const QString cr = eol.size() == 2 ? QStringLiteral("\r") : QString();
    const QString written = Quoted(value);

    const KeyHit hit = FindKey(file.text, section, key);
    if (hit.line >= 0) {
        QString& line = lines[hit.line];
        const qsizetype eq = line.indexOf(u'=');
        qsizetype valueStart = eq + 1;
        while (valueStart < line.size() && (line[valueStart] == u' ' || line[valueStart] == u'\t'))
            ++valueStart;
        const bool endsInCr = line.endsWith(u'\r');
        line = line.left(valueStart) + written + (endsInCr ? QStringLiteral("\r") : QString());
    } else {
        // The line after the last non-blank line of the first section of that name.
        qsizetype insertAt = -1;
        ForEachLine(file.text, section,
                    [&](qsizetype index, QStringView, QStringView trimmed, bool inSection,
                        bool sectionLine) {
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
    }

    QSaveFile out(fileName);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = Encode(lines.join(u'\n'), file.encoding);
    if (out.write(bytes) != bytes.size())
        return false;
    return out.commit();
}
