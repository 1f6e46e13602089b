#include "URLStatic.h"

#include "Colors.h"
#include "OpenUrl.h"
#include "Registry.h"

#include <QGuiApplication>
#include <QMouseEvent>

TURLStatic::TURLStatic(QWidget* parent)
    : QLabel(parent) {
    setCursor(Qt::PointingHandCursor);
    QPalette colors = palette();
    colors.setColor(QPalette::WindowText, ColorToQColor(clBlue));
    setPalette(colors);
    // A font of its own: the default font's size in "Arial", underlined and in no other style
    // (whatever style the application font has), no longer following the parent's font.
    QFont look = QGuiApplication::font();
    look.setFamilies({QStringLiteral("Arial")});
    look.setWeight(QFont::Normal);
    look.setStyle(QFont::StyleNormal);
    look.setStrikeOut(false);
    look.setOverline(false);
    look.setUnderline(true);
    look.setResolveMask(QFont::AllPropertiesResolved);
    setFont(look);
    setAutoFillBackground(false); // transparent: the parent shows through
}

void TURLStatic::WMLButtonDown(QMouseEvent* event) {
    OpenUrl(FURL);
    event->accept();
}

void TURLStatic::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        WMLButtonDown(event);
    else
        QLabel::mousePressEvent(event);
}

void TURLStatic::mouseDoubleClickEvent(QMouseEvent* event) {
    // The plain label's handling, which would otherwise come back here as a press.
    QLabel::mousePressEvent(event);
}

namespace URLStaticUnit {

void Register() {
    RegisterControl<TURLStatic>(QStringLiteral("URLStatic.h"));
}

} // namespace URLStaticUnit
