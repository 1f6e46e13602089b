#include "KeyMap.h"

#include <climits>

namespace {

int DigitValue(QChar ch, int base) {
    const char16_t c = ch.toLower().unicode();
    int value = -1;
    if (c >= u'0' && c <= u'9')
        value = c - u'0';
    else if (c >= u'a' && c <= u'f')
        value = c - u'a' + 10;
    return value < base ? value : -1;
}

[[noreturn]] void Invalid(const QString& text) {
    throw EConvertError(
        QStringLiteral("'%1' is not a valid integer value").arg(text).toStdString());
}

} // namespace

int StrToInt(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        negative = text[i++] == u'-';
    int base = 10;
    if (i < text.size() && text[i] == u'$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == u'0' &&
               (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    if (i == text.size())
        Invalid(text);
    long long value = 0;
    for (; i < text.size(); ++i) {
        const int digit = DigitValue(text[i], base);
        if (digit < 0)
            Invalid(text);
        value = value * base + digit;
        if (value > static_cast<long long>(INT_MAX) + 1)
            Invalid(text);
    }
    value = negative ? -value : value;
    if (value > INT_MAX)
        Invalid(text);
    return int(value);
}

std::vector<TKeyRect> ParseKeyRects(const QString& value) {
    std::vector<TKeyRect> rects;
    QString working = value;
    while (working.startsWith(u',')) {
        int numbers[4];
        int taken = 0;
        for (; taken < 4; ++taken) {
            const qsizetype comma = working.lastIndexOf(u',');
            if (comma < 0)
                break;
            numbers[taken] = StrToInt(working.mid(comma + 1));
            working.truncate(comma);
        }
        if (taken == 4)
            rects.push_back({numbers[3], numbers[2], numbers[1], numbers[0]});
    }
    return rects;
}

TKeyRect ScaleKeyRect(const TKeyRect& rect, int width) {
    auto scale = [width](int n) {
        const long long pixels = static_cast<long long>(width) * n / ReferenceWidth;
        return int(std::clamp<long long>(pixels, INT_MIN, INT_MAX));
    };
    return {scale(rect.Left), scale(rect.Top), scale(rect.Right), scale(rect.Bottom)};
}

int KeyGroupIndex(const QString& name) {
    for (int i = 0; i < KeyGroupCount; ++i)
        if (KeyGroupNames[i] == name)
            return i;
    return -1;
}

bool ReactsOnPage(int index, int page) {
    const QString& name = KeyGroupNames[index];
    const bool area = name == u"typing" || name == u"computer" || name == u"navigation";
    const bool areaAndKeys = name == u"function" || name == u"numpad" || name == u"windows";
    if (page == 2)
        return area || areaAndKeys;
    return !area && name != u"entire";
}

int KeyGroupAt(const TKeyMap& keyMap, int page, int width, int x, int y) {
    for (int i = 0; i < KeyGroupCount; ++i) {
        if (!ReactsOnPage(i, page))
            continue;
        for (const TKeyRect& rect : ParseKeyRects(keyMap[i]))
            if (ScaleKeyRect(rect, width).Contains(x, y))
                return i;
    }
    return -1;
}
