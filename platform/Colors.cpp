#include "Colors.h"

#include <QGuiApplication>
#include <QPalette>

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

} // namespace

QColor GetSysColor(int index) {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
    if (!SysColorRole(index, group, role))
        return Qt::black;
    return QGuiApplication::palette().color(group, role);
}

QColor ColorToQColor(TColor color) {
    if (IsSystemColor(color))
        return GetSysColor(color & 0xFF);
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

TColor QColorToColor(const QColor& color) {
    return RGBColor(color.red(), color.green(), color.blue());
}
