#include "FancyButton.h"

#include <QDialog>
#include <QMouseEvent>
#include <QPainter>

TFancyButton::TFancyButton(QWidget* parent)
    : QWidget(parent) {
    resize(22, 23);
}

void TFancyButton::SetState(TFancyButtonState value) {
    if (value == FState)
        return;
    FState = value;
    setEnabled(value != fbsDisabled);
    repaint();
}

void TFancyButton::SetCaption(const QString& value) {
    FCaption = value;
    update();
}

void TFancyButton::SetTextOffsetLeft(int value) {
    FTextOffsetLeft = value;
    update();
}

void TFancyButton::SetTextOffsetTop(int value) {
    FTextOffsetTop = value;
    update();
}

void TFancyButton::SetTextShadowColor(TColor value) {
    FTextShadowColor = value;
    update();
}

void TFancyButton::CMSyscolorChange() {
    repaint();
}

void TFancyButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool disabled = FState == fbsDisabled;
    painter.setBrush(disabled ? QColor(190, 190, 200) : QColor(70, 70, 150));
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(rect().adjusted(2, 2, -2, -2), 10, 10);
    QRect textRect = rect().translated(FTextOffsetLeft, FTextOffsetTop);
    if (FState == fbsDown)
        textRect.translate(1, 1);
    if (FTextShadowColor != clNone && !disabled) {
        painter.setPen(ColorToQColor(FTextShadowColor));
        painter.drawText(textRect.translated(2, 2), Qt::AlignCenter, FCaption);
    }
    painter.setPen(disabled ? palette().color(QPalette::Disabled, QPalette::ButtonText)
                            : palette().color(QPalette::ButtonText));
    painter.drawText(textRect, Qt::AlignCenter, FCaption);
}

void TFancyButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || FState == fbsDisabled)
        return;
    FPressing = true;
    FState = fbsDown;
    update();
}

void TFancyButton::mouseReleaseEvent(QMouseEvent* event) {
    if (!FPressing)
        return;
    FPressing = false;
    FState = fbsMouseOut;
    update();
    if (rect().contains(event->position().toPoint()))
        emit clicked();
    if (auto* dialog = qobject_cast<QDialog*>(window()); dialog && FModalResult != 0)
        dialog->done(FModalResult);
}
