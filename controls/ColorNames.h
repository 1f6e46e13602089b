#pragma once

#include "Colors.h"

#include <QColor>
#include <QObject>

// The colours that a form designer picks by name: clNone and the system colours, each equal to
// the colour value it names, and clCustom for a plain colour given by red, green and blue. The
// control set offers each of its colour properties to form designers twice besides the stored
// value: as a colour for a colour picker ("...RGB") and as one of these names ("...Name").
namespace TColorNames {
Q_NAMESPACE

enum TColorName : int {
    clCustom = 0x7FFFFFFF, // no colour value: a plain colour
    clNone = ::clNone,
    clScrollBar = SystemColor(0),
    clBackground = SystemColor(1),
    clActiveCaption = SystemColor(2),
    clInactiveCaption = SystemColor(3),
    clMenu = SystemColor(4),
    clWindow = SystemColor(5),
    clWindowFrame = SystemColor(6),
    clMenuText = SystemColor(7),
    clWindowText = SystemColor(8),
    clCaptionText = SystemColor(9),
    clActiveBorder = SystemColor(10),
    clInactiveBorder = SystemColor(11),
    clAppWorkSpace = SystemColor(12),
    clHighlight = SystemColor(13),
    clHighlightText = SystemColor(14),
    clBtnFace = SystemColor(15),
    clBtnShadow = SystemColor(16),
    clGrayText = SystemColor(17),
    clBtnText = SystemColor(18),
    clInactiveCaptionText = SystemColor(19),
    clBtnHighlight = SystemColor(20),
    cl3DDkShadow = SystemColor(21),
    cl3DLight = SystemColor(22),
    clInfoText = SystemColor(23),
    clInfoBk = SystemColor(24),
    clHotLight = SystemColor(26),
    clGradientActiveCaption = SystemColor(27),
    clGradientInactiveCaption = SystemColor(28),
    clMenuHighlight = SystemColor(29),
    clMenuBar = SystemColor(30),
};
Q_ENUM_NS(TColorName)

} // namespace TColorNames

using TColorName = TColorNames::TColorName;

// The name of a colour value; clCustom for a plain colour or a colour without a name.
TColorName ColorName(TColor color);

// The colour value that picking a name gives: the named value, or for clCustom the plain colour
// that `current` shows now (a plain colour stays as it is).
TColor NamedColor(TColorName name, TColor current);
