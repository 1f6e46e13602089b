#pragma once

// The fancy button's design-time registration, kept apart from the button itself.
namespace FancyButtonUnit {
// Registers TFancyButton on the control set's palette page.
void Register();
} // namespace FancyButtonUnit
