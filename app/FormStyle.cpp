#include "FormStyle.h"

#include "FancyButton.h"

#include <QWidget>

void SetFormColors(QWidget* widget, TColor background, TColor text) {
    QPalette palette = widget->palette();
    for (auto role : {QPalette::Window, QPalette::Base})
        palette.setColor(role, ColorToQColor(background));
    for (auto role : {QPalette::WindowText, QPalette::Text})
        palette.setColor(role, ColorToQColor(text));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QFont TahomaFont(int pixelSize, bool bold, bool italic) {
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

TFancyButton* CreateGlyphButton(QWidget* parent, const QString& glyph, int numGlyphs, QRect bounds,
                                QPoint textOffset, const QFont& font) {
    auto* button = new TFancyButton(parent);
    button->SetGlyph(QPixmap(glyph));
    button->SetNumGlyphs(numGlyphs);
    button->setGeometry(bounds);
    button->SetTextOffsetLeft(textOffset.x());
    button->SetTextOffsetTop(textOffset.y());
    button->SetTextShadowColor(clBlack);
    button->setFont(font);
    QPalette palette = button->palette();
    for (auto role : {QPalette::ButtonText, QPalette::WindowText})
        palette.setColor(role, ColorToQColor(ButtonCaptionColor));
    button->setPalette(palette);
    return button;
}
