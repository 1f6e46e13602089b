#include "FancyButtonRegister.h"

#include "Component.h"
#include "FancyButton.h"

namespace FancyButtonUnit {

void Register() {
    RegisterComponents(ControlSetPage,
                       {{QStringLiteral("TFancyButton"), QStringLiteral("FancyButton.h"),
                         QStringLiteral("Picture button with hover, pressed and disabled looks"),
                         QSize(75, 25), [](QWidget* parent) { return new TFancyButton(parent); }}});
}

} // namespace FancyButtonUnit
