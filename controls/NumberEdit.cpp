#include "NumberEdit.h"

#include "Registry.h"

#include <QLocale>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

TNumberEdit::TNumberEdit(QWidget* parent)
    : QLineEdit(parent) {
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

bool TNumberEdit::Validate() const {
    return TextToNumber(text(), DecimalSeparator()).has_value();
}

float TNumberEdit::GetValue() const {
    if (!Validate())
        return 0;
    return NearestFiniteFloat(*TextToNumber(text(), DecimalSeparator()));
}

void TNumberEdit::SetValue(float value) {
    setText(FormatGeneral(NearestFiniteFloat(value), 7, DecimalSeparator()));
}

float NearestFiniteFloat(long double value) {
    constexpr float largest = std::numeric_limits<float>::max();
    if (std::isnan(value))
        return 0;
    return float(std::clamp<long double>(value, -largest, largest));
}

QString DecimalSeparator() {
    return QLocale().decimalPoint();
}

QString FormatGeneral(long double value, int precision, const QString& separator) {
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    if (value == 0)
        return QStringLiteral("0");

    // Enough digits that the one after the kept ones is exact, then rounded half away from zero.
    char buffer[200];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof(buffer), std::fabs(value),
                                            std::chars_format::scientific, 150);
    if (error != std::errc())
        return {};
    const std::string_view printed(buffer, end - buffer);
    const std::size_t e = printed.find('e');
    std::string digits;
    for (char c : printed.substr(0, e))
        if (c >= '0' && c <= '9')
            digits += c;
    int exponent = std::stoi(std::string(printed.substr(e + 1)));

    std::string kept = digits.substr(0, precision);
    if (digits[precision] >= '5') {
        int i = precision - 1;
        while (i >= 0 && kept[i] == '9')
            kept[i--] = '0';
        if (i >= 0) {
            ++kept[i];
        } else {
            kept.insert(kept.begin(), '1');
            kept.pop_back();
            ++exponent;
        }
    }
    while (kept.size() > 1 && kept.back() == '0')
        kept.pop_back();

    const QString sign = value < 0 ? QStringLiteral("-") : QString();
    const QString mantissa = QString::fromStdString(kept);
    if (exponent < -4 || exponent >= precision) {
        QString text = sign + mantissa.left(1);
        if (mantissa.size() > 1)
            text += separator + mantissa.mid(1);
        return text + QLatin1Char('E') + QString::number(exponent);
    }
    if (exponent < 0)
        return sign + QLatin1Char('0') + separator + QString(-exponent - 1, QLatin1Char('0')) +
               mantissa;
    const QString whole = mantissa.left(exponent + 1).leftJustified(exponent + 1, QLatin1Char('0'));
    const QString fraction = mantissa.mid(exponent + 1);
    return sign + whole + (fraction.isEmpty() ? QString() : separator + fraction);
}

std::optional<long double> TextToNumber(const QString& text, const QString& separator) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == QLatin1Char(' '))
        ++first;
    while (last > first && text[last - 1] == QLatin1Char(' '))
        --last;
    const QStringView number = QStringView(text).mid(first, last - first);

    qsizetype at = 0;
    const auto isDigit = [&](qsizetype i) {
        return i < number.size() && number[i] >= QLatin1Char('0') && number[i] <= QLatin1Char('9');
    };
    const auto takeDigits = [&] {
        std::string digits;
        while (isDigit(at))
            digits += char(number[at++].unicode());
        return digits;
    };

    bool negative = false;
    if (at < number.size() && (number[at] == QLatin1Char('+') || number[at] == QLatin1Char('-')))
        negative = number[at++] == QLatin1Char('-');
    const std::string whole = takeDigits();
    bool hasSeparator = false;
    std::string fraction;
    if (!separator.isEmpty() && number.mid(at).startsWith(separator)) {
        hasSeparator = true;
        at += separator.size();
        fraction = takeDigits();
    }
    if (whole.empty() && !hasSeparator)
        return std::nullopt;

    std::string exponent = "0";
    bool negativeExponent = false;
    if (at < number.size() && (number[at] == QLatin1Char('e') || number[at] == QLatin1Char('E'))) {
        ++at;
        if (at < number.size() &&
            (number[at] == QLatin1Char('+') || number[at] == QLatin1Char('-')))
            negativeExponent = number[at++] == QLatin1Char('-');
        const std::string digits = takeDigits();
        if (!digits.empty())
            exponent = digits;
    }
    if (at != number.size())
        return std::nullopt;

    const std::string ascii = (whole.empty() ? "0" : whole) + "." +
                              (fraction.empty() ? "0" : fraction) + "e" +
                              (negativeExponent ? "-" : "") + exponent;
    long double value = 0;
    const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (error == std::errc::result_out_of_range) {
        // Too large fails; too small for the type reads as 0. The decimal magnitude tells which.
        const std::string mantissa = whole + fraction;
        const std::size_t lead = mantissa.find_first_not_of('0');
        long long power = 0;
        for (char digit : exponent)
            power = std::min(power * 10 + (digit - '0'), 1'000'000'000'000LL);
        if (negativeExponent)
            power = -power;
        if (lead == std::string::npos || (long long)whole.size() - (long long)lead - 1 + power < 0)
            return negative ? -0.0L : 0.0L;
        return std::nullopt;
    }
    if (error != std::errc() || end != ascii.data() + ascii.size())
        return std::nullopt;
    return negative ? -value : value;
}

namespace NumberEditUnit {

void Register() {
    RegisterControl<TNumberEdit>(QStringLiteral("NumberEdit.h"));
}

} // namespace NumberEditUnit
