#include "ColorNames.h"

#include <QMetaEnum>

TColorName ColorName(TColor color) {
    const QMetaEnum names = QMetaEnum::fromType<TColorName>();
    return names.valueToKey(color) ? TColorName(color) : TColorNames::clCustom;
}

TColor NamedColor(TColorName name, TColor current) {
    if (name != TColorNames::clCustom)
        return name;
    return ColorName(current) == TColorNames::clCustom ? current
                                                       : QColorToColor(ColorToQColor(current));
}
