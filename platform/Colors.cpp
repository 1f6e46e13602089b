#include "Colors.h"

#include <QGuiApplication>
#include <QPalette>

#include <algorithm>
#include <cmath>

namespace {

// The palette role nearest to each system colour index of the classic desktop.
bool SysColorRole(int index, QPalette::ColorGroup& group, QPalette::ColorRole& role) {
    group = QPalette::Active;
    switch (index) {
    case 0:  // scrollbar
    case 15: // button face
    case 22: // 3D light
        role = QPalette::Button;
        return true;
    case 1:  // desktop
    case 21: // 3D dark shadow
        role = QPalette::Shadow;
        return true;
    case 2:  // active caption
    case 13: // highlight
    case 26: // hot light
    case 27: // gradient active caption
        role = QPalette::Highlight;
        return true;
    case 3:  // inactive caption
    case 28: // gradient inactive caption
        group = QPalette::Inactive;
        role = QPalette::Highlight;
        return true;
    case 4:  // menu
    case 30: // menu bar
    case 10: // active border
    case 11: // inactive border
    case 12: // application workspace
        role = QPalette::Window;
        return true;
    case 5: // window
        role = QPalette::Base;
        return true;
    case 6: // window frame
        role = QPalette::Shadow;
        return true;
    case 7: // menu text
    case 8: // window text
        role = QPalette::WindowText;
        return true;
    case 9:  // caption text
    case 14: // highlighted text
        role = QPalette::HighlightedText;
        return true;
    case 16: // button shadow
        role = QPalette::Dark;
        return true;
    case 17: // grey text
        group = QPalette::Disabled;
        role = QPalette::Text;
        return true;
    case 18: // button text
        role = QPalette::ButtonText;
        return true;
    case 19: // inactive caption text
        group = QPalette::Inactive;
        role = QPalette::HighlightedText;
        return true;
    case 20: // button highlight
        role = QPalette::Light;
        return true;
    case 23: // info text
        role = QPalette::ToolTipText;
        return true;
    case 24: // info background
        role = QPalette::ToolTipBase;
        return true;
    case 29: // menu highlight
        role = QPalette::Highlight;
        return true;
    default:
        return false;
    }
}

QColor SysColorIn(const QPalette& palette, int index) {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
    if (!SysColorRole(index, group, role))
        return Qt::black;
    return palette.color(group, role);
}

QPalette MakeLightDesktopPalette() {
    const QColor face(240, 240, 240);
    const QColor shadow(160, 160, 160);
    const QColor grey(109, 109, 109);
    // Window text, button face, 3D light, button shadow, mid, text, bright text, text box, window.
    QPalette palette(Qt::black, face, Qt::white, shadow, QColor(200, 200, 200), Qt::black,
                     Qt::white, Qt::white, face);
    palette.setColor(QPalette::Midlight, QColor(227, 227, 227));
    palette.setColor(QPalette::Shadow, QColor(105, 105, 105));
    palette.setColor(QPalette::Highlight, QColor(51, 153, 255));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Inactive, QPalette::Highlight, QColor(191, 205, 219));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText, QColor(67, 78, 84));
    palette.setColor(QPalette::ToolTipBase, QColor(255, 255, 225));
    palette.setColor(QPalette::ToolTipText, Qt::black);
    palette.setColor(QPalette::Link, QColor(0, 102, 204));
    palette.setColor(QPalette::PlaceholderText, grey);
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, grey);
    return palette;
}

// The relative luminance of a colour's sRGB channels.
double Luminance(const QColor& color) {
    auto linear = [](int channel) {
        const double value = channel / 255.0;
        return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(color.red()) + 0.7152 * linear(color.green()) +
           0.0722 * linear(color.blue());
}

} // namespace

QColor GetSysColor(int index) {
    return SysColorIn(QGuiApplication::palette(), index);
}

QColor ColorToQColor(TColor color) {
    return ColorToQColor(color, QGuiApplication::palette());
}

QColor ColorToQColor(TColor color, const QPalette& palette) {
    if (IsSystemColor(color))
        return SysColorIn(palette, color & 0xFF);
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

const QPalette& LightDesktopPalette() {
    static const QPalette palette = MakeLightDesktopPalette();
    return palette;
}

double ContrastRatio(const QColor& first, const QColor& second) {
    const double a = Luminance(first);
    const double b = Luminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

TColor QColorToColor(const QColor& color) {
    return RGBColor(color.red(), color.green(), color.blue());
}
