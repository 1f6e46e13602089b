#pragma once

#include <QLineEdit>

#include <optional>

// A single-line edit whose right-aligned text is a number: Value reads the text as a number (0
// when it is none) and writes the number in the general format.
class TNumberEdit : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(double Value READ GetValue WRITE SetValue)
    Q_PROPERTY(TNumberType NumberType READ GetNumberType WRITE SetNumberType)
    // The number is stored through Value: the text is not offered to form designers.
    Q_PROPERTY(QString text READ text WRITE setText DESIGNABLE false)

public:
    // Kept with the control; input, checking and formatting are the same for both.
    enum TNumberType { ntInteger, ntFloat };
    Q_ENUM(TNumberType)

    explicit TNumberEdit(QWidget* parent = nullptr);

    // True when the text converts to a number.
    bool Validate() const;

    // The text as a number; 0 when it is none. A number beyond the range of float reads as the
    // largest finite float of its sign, so every text that reads reads as a finite number.
    float GetValue() const;

    // Writes the number in the general format with 7 significant digits. An infinity is written
    // as the largest finite float of its sign and NaN as 0, so the text always reads back.
    void SetValue(float value);

    TNumberType GetNumberType() const { return FNumberType; }
    void SetNumberType(TNumberType value) { FNumberType = value; }

private:
    TNumberType FNumberType = ntInteger;
};

// The finite float nearest to the value: beyond the range of float the largest finite float of
// its sign, NaN 0.
float NearestFiniteFloat(long double value);

// The decimal separator of the user's locale settings (QLocale's default locale).
QString DecimalSeparator();

// The general number format: rounded to `precision` significant digits, fixed notation unless the
// number is below 0.0001 or has more than `precision` digits before the separator, no trailing
// zeros, an exponent as "E", a minus sign and its digits ("1.234568E7", "1E-5").
QString FormatGeneral(long double value, int precision, const QString& separator);

// Reads a number: blanks around it, an optional sign, digits, the separator and digits (at least
// one digit or the separator), an optional exponent ("e" or "E", optional sign, digits, none
// meaning 0). std::nullopt for anything else and for a number beyond the range of an 80-bit
// extended float; a number too small for it reads as 0.
std::optional<long double> TextToNumber(const QString& text, const QString& separator);

namespace NumberEditUnit {
// Registers TNumberEdit on the control set's palette page.
void Register();
} // namespace NumberEditUnit
