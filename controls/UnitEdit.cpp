#include "UnitEdit.h"

#include "Registry.h"

#include "NumberEdit.h"

#include <QEvent>

namespace {

void SetBackground(QWidget* widget, QPalette::ColorRole role, TColor color) {
    QPalette colors = widget->palette();
    colors.setColor(role, ColorToQColor(color));
    widget->setPalette(colors);
}

} // namespace

TStaticText::TStaticText(QWidget* parent)
    : QLabel(parent) {}

void TStaticText::SetCaption(const QString& value) {
    setText(value);
    if (AutoSize)
        resize(sizeHint());
}

void TStaticText::SetColor(TColor value) {
    SetBackground(this, QPalette::Window, value);
    setAutoFillBackground(true);
}

TUnitEdit::TUnitEdit(QWidget* parent)
    : QWidget(parent) {
    resize(width(), 20);
}

bool TUnitEdit::HasChildControls() const {
    return !findChildren<QWidget*>(Qt::FindDirectChildrenOnly).isEmpty();
}

void TUnitEdit::CreateParts() {
    const int w = width();
    FEdit = new TNumberEdit(this);
    FEdit->setGeometry(0, 0, w - 30, 20);
    FUnitPart = new TStaticText(this);
    FUnitPart->setGeometry(w - 28, 2, 30, 18);
    FUnitPart->SetCaption(FUnit);

    if (FValuePending)
        FEdit->SetValue(FPendingValue);
    if (FEditColorPending)
        SetEditColor(FEditColor);
    if (FUnitColorPending)
        SetUnitColor(FUnitColor);
    FValuePending = FEditColorPending = FUnitColorPending = false;

    // Children made after their parent is on screen stay hidden until they are shown.
    if (isVisible())
        Show();
}

void TUnitEdit::Loaded() {
    if (!HasChildControls())
        CreateParts();
}

void TUnitEdit::CreateWnd() {
    if (!HasChildControls())
        CreateParts();
}

bool TUnitEdit::event(QEvent* event) {
    // The composite is about to be shown for the first time (or measured for it).
    if (event->type() == QEvent::Polish)
        CreateWnd();
    return QWidget::event(event);
}

void TUnitEdit::Show() {
    if (FEdit)
        FEdit->show();
    if (FUnitPart)
        FUnitPart->show();
}

void TUnitEdit::SetUnit(const QString& value) {
    if (FUnitPart)
        FUnitPart->SetCaption(value);
    FUnit = value;
}

float TUnitEdit::GetValue() const {
    return FEdit ? FEdit->GetValue() : FPendingValue;
}

void TUnitEdit::SetValue(float value) {
    if (FEdit) {
        FEdit->SetValue(value);
    } else {
        FPendingValue = NearestFiniteFloat(value); // as the edit part would read it back
        FValuePending = true;
    }
}

void TUnitEdit::SetEditColor(TColor value) {
    if (FEdit)
        SetBackground(FEdit, QPalette::Base, value);
    else
        FEditColorPending = true;
    FEditColor = value;
    emit EditColorChanged();
}

void TUnitEdit::SetUnitColor(TColor value) {
    if (FUnitPart)
        FUnitPart->SetColor(value);
    else
        FUnitColorPending = true;
    FUnitColor = value;
    SetBackground(this, QPalette::Window, value);
    setAutoFillBackground(true);
    emit UnitColorChanged();
}

namespace UnitEditUnit {

void Register() {
    RegisterControl<TUnitEdit>(QStringLiteral("UnitEdit.h"));
}

} // namespace UnitEditUnit
