#pragma once

#include "Colors.h"

#include <QPixmap>
#include <QWidget>

// A picture button whose look comes from a strip of state pictures, with a centred caption.
// This first version draws a plain rounded button; the interface is the one the windows use.
class TFancyButton : public QWidget {
    Q_OBJECT
    Q_PROPERTY(TFancyButtonState State READ GetState WRITE SetState)
    Q_PROPERTY(int ModalResult READ GetModalResult WRITE SetModalResult)
    Q_PROPERTY(QString Caption READ GetCaption WRITE SetCaption)
    Q_PROPERTY(int TextOffsetLeft READ GetTextOffsetLeft WRITE SetTextOffsetLeft)
    Q_PROPERTY(int TextOffsetTop READ GetTextOffsetTop WRITE SetTextOffsetTop)
    Q_PROPERTY(int TextShadowColor READ GetTextShadowColor WRITE SetTextShadowColor)

public:
    enum TFancyButtonState : quint8 { fbsUp, fbsDown, fbsMouseOut, fbsExclusive, fbsDisabled };
    Q_ENUM(TFancyButtonState)

    explicit TFancyButton(QWidget* parent = nullptr);

    TFancyButtonState GetState() const { return FState; }
    void SetState(TFancyButtonState value);

    int GetModalResult() const { return FModalResult; }
    void SetModalResult(int value) { FModalResult = value; }

    QString GetCaption() const { return FCaption; }
    void SetCaption(const QString& value);

    int GetTextOffsetLeft() const { return FTextOffsetLeft; }
    void SetTextOffsetLeft(int value);
    int GetTextOffsetTop() const { return FTextOffsetTop; }
    void SetTextOffsetTop(int value);
    TColor GetTextShadowColor() const { return FTextShadowColor; }
    void SetTextShadowColor(TColor value);

    // Rebuilds the disabled picture from the current system colours and repaints.
    void CMSyscolorChange();

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    TFancyButtonState FState = fbsMouseOut;
    int FModalResult = 0;
    QString FCaption;
    int FTextOffsetLeft = 0;
    int FTextOffsetTop = 0;
    TColor FTextShadowColor = clNone;
    bool FPressing = false;
};
