#include "FormStyle.h"

#include "FancyButton.h"
#include "ImageFile.h"

#include <QGuiApplication>
#include <QWidget>

#include <algorithm>

namespace {

using TRoles = std::initializer_list<QPalette::ColorRole>;

bool Readable(const QPalette& system, TColor background, const QList<TColor>& texts) {
    const QColor behind = ColorToQColor(background, system);
    return std::all_of(texts.begin(), texts.end(), [&](TColor text) {
        return ContrastRatio(ColorToQColor(text, system), behind) >= MinimumTextContrast;
    });
}

// Sets the background roles to the background and the text roles to the text, from the palette
// on which all the texts are readable.
void SetColors(QWidget* widget, TRoles backgroundRoles, TColor background, TRoles textRoles,
               TColor text, QList<TColor> texts) {
    texts.prepend(text);
    const QPalette& light = LightDesktopPalette();
    const bool useLight = !Readable(QGuiApplication::palette(), background, texts) &&
                          Readable(light, background, texts);
    const QPalette& system = useLight ? light : QGuiApplication::palette();
    QPalette palette = useLight ? light : widget->palette();
    for (auto role : backgroundRoles)
        palette.setColor(role, ColorToQColor(background, system));
    for (auto role : textRoles)
        palette.setColor(role, ColorToQColor(text, system));
    widget->setPalette(palette);
}

} // namespace

void SetFormColors(QWidget* widget, TColor background, TColor text,
                   std::initializer_list<const QWidget*> ownTextColorControls) {
    QList<TColor> texts;
    for (const QWidget* control : ownTextColorControls)
        texts << QColorToColor(control->palette().color(QPalette::WindowText));
    SetColors(widget, {QPalette::Window, QPalette::Base}, background,
              {QPalette::WindowText, QPalette::Text}, text, texts);
    widget->setAutoFillBackground(true);
}

void SetTextBoxColors(QWidget* box, TColor background, TColor text) {
    SetColors(box, {QPalette::Base}, background, {QPalette::Text}, text, {});
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
    button->SetGlyph(QPixmap::fromImage(ReadImageOfFormat(glyph, "BMP")));
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
