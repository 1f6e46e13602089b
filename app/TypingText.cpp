#include "TypingText.h"

TypingMode TypingModeOf(const QString& line1) {
    if (line1.compare(QStringLiteral("hidden"), Qt::CaseInsensitive) == 0)
        return TypingMode::Hidden;
    if (line1.compare(QStringLiteral("lines"), Qt::CaseInsensitive) == 0)
        return TypingMode::NumberedLines;
    return TypingMode::Exercise;
}

QString NumberedLines(const QString& prefix) {
    QString text;
    for (int number = 1; number <= 100; ++number)
        text += prefix + QString::number(number) + u'\n';
    return text;
}

QString ExerciseText(const QString& line1, const QString& line2) {
    QString text;
    for (const QString& line : {line1, line2})
        if (!line.isEmpty())
            text += line + u'\n';
    return text;
}

int CaretOffsetToPosition(const QString& text, int offset) {
    int position = 0;
    for (int counted = 0; position < text.size(); ++position) {
        counted += text[position] == u'\n' ? 2 : 1;
        if (counted > offset)
            break;
    }
    return position;
}

int PositionToCaretOffset(const QString& text, int position) {
    const int end = std::min<int>(position, text.size());
    return end + int(QStringView(text).left(end).count(u'\n'));
}

TColor NextTypingColor(TColor color) {
    return (color + 0x33CC33) & 0xFFFFFF;
}
