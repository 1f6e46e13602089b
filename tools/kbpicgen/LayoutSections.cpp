#include "LayoutSections.h"

#include <QList>

#include <optional>

namespace kbpicgen {

namespace {

const QByteArray Marker = "kbpicgen";

std::optional<QByteArray> SectionName(const QByteArray& line) {
    const QByteArray trimmed = line.trimmed();
    const qsizetype close = trimmed.indexOf(']');
    if (!trimmed.startsWith('[') || close < 0)
        return std::nullopt;
    return trimmed.mid(1, close - 1).trimmed();
}

bool IsGeneratedSection(const QByteArray& name) {
    const QByteArray lower = name.toLower();
    return lower == "bitmap" || lower == "key co-ordinates" || lower == "key positions";
}

bool IsGeneratorComment(const QByteArray& line) {
    const QByteArray trimmed = line.trimmed();
    return trimmed.startsWith(';') && trimmed.contains(Marker);
}

// The lines of the file, each with its line end.
QList<QByteArray> SplitLines(const QByteArray& file) {
    QList<QByteArray> lines;
    qsizetype start = 0;
    while (start < file.size()) {
        qsizetype end = file.indexOf('\n', start);
        end = end < 0 ? file.size() : end + 1;
        lines.append(file.mid(start, end - start));
        start = end;
    }
    return lines;
}

} // namespace

QString GeneratedSections(const QStringList& comments, const QString& bitmapName,
                          const QStringList& coordinateLines, const QStringList& positionLines) {
    QString text;
    for (const QString& comment : comments)
        text += "; " + comment + "\n";
    if (!bitmapName.isEmpty())
        text += "[Bitmap]\nbitmap=" + bitmapName + "\n\n";
    text += "[Key co-ordinates]\n";
    for (const QString& line : coordinateLines)
        text += line + "\n";
    if (!positionLines.isEmpty()) {
        text += "\n[Key positions]\n";
        for (const QString& line : positionLines)
            text += line + "\n";
    }
    return text;
}

QByteArray ReplaceGeneratedSections(const QByteArray& file, const QString& sections) {
    const QList<QByteArray> lines = SplitLines(file);
    const bool crlf = !lines.isEmpty() && lines.front().endsWith("\r\n");
    QByteArray block = sections.toUtf8();
    if (crlf)
        block.replace("\n", "\r\n");
    const QByteArray newline = crlf ? "\r\n" : "\n";

    QList<QByteArray> kept;
    std::optional<qsizetype> insertAt;
    bool inGenerated = false;
    for (const QByteArray& line : lines) {
        if (const auto name = SectionName(line)) {
            inGenerated = IsGeneratedSection(*name);
            if (inGenerated) {
                while (!kept.isEmpty() && IsGeneratorComment(kept.back()))
                    kept.removeLast();
                if (!insertAt)
                    insertAt = kept.size();
            }
        }
        if (!inGenerated)
            kept.append(line);
    }
    if (!kept.isEmpty() && !kept.back().endsWith('\n'))
        kept.back().append(newline);

    if (insertAt && *insertAt < kept.size()) {
        kept.insert(*insertAt, block + newline);
    } else {
        if (!kept.isEmpty() && !kept.back().trimmed().isEmpty())
            kept.append(newline);
        kept.append(block);
    }
    return kept.join();
}

} // namespace kbpicgen
