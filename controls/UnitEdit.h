#pragma once

#include "ColorNames.h"
#include "Component.h"

#include <QLabel>
#include <QWidget>

class TNumberEdit;

// A static text that, by default, sizes itself to its caption and can fill its background.
class TStaticText : public QLabel {
    Q_OBJECT

public:
    explicit TStaticText(QWidget* parent = nullptr);

    // Sets the caption; with AutoSize on, the size then fits it (the position stays).
    void SetCaption(const QString& value);

    void SetColor(TColor value);

    bool AutoSize = true;
};

// A number edit with a unit beside it on the right: the edit part (a TNumberEdit) and the unit
// part (a TStaticText) are made once, when the composite is loaded from a form or its window is
// first made ready for showing, and laid out for its width then: the edit part 30 pixels
// narrower than the composite at the left, the unit part 2 pixels to its right. They are not laid
// out again when the composite's size changes.
//
// Unit, Value, EditColor and UnitColor set before the parts exist are kept and reach the parts
// when they are made; Value reads the kept value until then.
class TUnitEdit : public QWidget, public TLoadable {
    Q_OBJECT
    Q_PROPERTY(QString Unit READ GetUnit WRITE SetUnit)
    Q_PROPERTY(double Value READ GetValue WRITE SetValue)
    Q_PROPERTY(
        int EditColor READ GetEditColor WRITE SetEditColor NOTIFY EditColorChanged DESIGNABLE false)
    Q_PROPERTY(QColor EditColorRGB READ GetEditColorRGB WRITE SetEditColorRGB STORED false)
    Q_PROPERTY(TColorNames::TColorName EditColorName READ GetEditColorName WRITE SetEditColorName
                   STORED false)
    Q_PROPERTY(
        int UnitColor READ GetUnitColor WRITE SetUnitColor NOTIFY UnitColorChanged DESIGNABLE false)
    Q_PROPERTY(QColor UnitColorRGB READ GetUnitColorRGB WRITE SetUnitColorRGB STORED false)
    Q_PROPERTY(TColorNames::TColorName UnitColorName READ GetUnitColorName WRITE SetUnitColorName
                   STORED false)

public:
    explicit TUnitEdit(QWidget* parent = nullptr);

    // Makes and lays out the two parts.
    void CreateParts();

    // Makes the parts unless the composite has child controls already.
    void Loaded() override;
    void CreateWnd();

    // Shows the edit part and then the unit part; the composite's own visibility stays.
    void Show();

    QString GetUnit() const { return FUnit; }
    void SetUnit(const QString& value);

    float GetValue() const;
    void SetValue(float value);

    TColor GetEditColor() const { return FEditColor; }
    void SetEditColor(TColor value);
    QColor GetEditColorRGB() const { return ColorToQColor(FEditColor); }
    void SetEditColorRGB(const QColor& value) { SetEditColor(QColorToColor(value)); }
    TColorName GetEditColorName() const { return ColorName(FEditColor); }
    void SetEditColorName(TColorName value) { SetEditColor(NamedColor(value, FEditColor)); }

    // Colours the unit part and the composite's own background around the parts.
    TColor GetUnitColor() const { return FUnitColor; }
    void SetUnitColor(TColor value);
    QColor GetUnitColorRGB() const { return ColorToQColor(FUnitColor); }
    void SetUnitColorRGB(const QColor& value) { SetUnitColor(QColorToColor(value)); }
    TColorName GetUnitColorName() const { return ColorName(FUnitColor); }
    void SetUnitColorName(TColorName value) { SetUnitColor(NamedColor(value, FUnitColor)); }

    TNumberEdit* EditPart() const { return FEdit; }
    TStaticText* UnitPart() const { return FUnitPart; }

signals:
    void EditColorChanged();
    void UnitColorChanged();

protected:
    bool event(QEvent* event) override;

private:
    bool HasChildControls() const;

    TNumberEdit* FEdit = nullptr;
    TStaticText* FUnitPart = nullptr;
    QString FUnit;
    TColor FEditColor = clWindow;
    TColor FUnitColor = clBtnFace;
    // What was set before the parts existed, to be handed to them.
    float FPendingValue = 0;
    bool FValuePending = false;
    bool FEditColorPending = false;
    bool FUnitColorPending = false;
};

namespace UnitEditUnit {
// Registers TUnitEdit on the control set's palette page.
void Register();
} // namespace UnitEditUnit
