#pragma once

#include "ColorNames.h"

#include <QAccessibleWidget>
#include <QBitArray>
#include <QImage>
#include <QList>
#include <QPixmap>
#include <QWidget>

#include <functional>
#include <memory>

class QPainter;
class TButtonGlyph;

// A picture button whose whole look comes from a strip of state pictures (the glyph), with the
// caption centred on top, moved by a text offset and optionally laid over a coloured shadow.
// It shows a hover, a pressed, a latched and a disabled picture, forms exclusive groups with the
// buttons of the same parent that share its group index, and hands its modal result to the
// dialog it stands on.
class TFancyButton : public QWidget {
    Q_OBJECT
    Q_PROPERTY(TFancyButtonState State READ GetState WRITE SetState)
    Q_PROPERTY(int ModalResult READ GetModalResult WRITE SetModalResult)
    Q_PROPERTY(bool AllowAllUp READ GetAllowAllUp WRITE SetAllowAllUp)
    Q_PROPERTY(int GroupIndex READ GetGroupIndex WRITE SetGroupIndex)
    Q_PROPERTY(bool Down READ GetDown WRITE SetDown)
    Q_PROPERTY(QPixmap Glyph READ GetGlyph WRITE SetGlyph)
    Q_PROPERTY(int NumGlyphs READ GetNumGlyphs WRITE SetNumGlyphs)
    Q_PROPERTY(int TextOffsetLeft READ GetTextOffsetLeft WRITE SetTextOffsetLeft)
    Q_PROPERTY(int TextOffsetTop READ GetTextOffsetTop WRITE SetTextOffsetTop)
    Q_PROPERTY(int TextShadowColor READ GetTextShadowColor WRITE SetTextShadowColor NOTIFY
                   TextShadowColorChanged DESIGNABLE false)
    Q_PROPERTY(QColor TextShadowColorRGB READ GetTextShadowColorRGB WRITE SetTextShadowColorRGB
                   STORED false)
    Q_PROPERTY(TColorNames::TColorName TextShadowColorName READ GetTextShadowColorName WRITE
                   SetTextShadowColorName STORED false)
    // Enabling goes through State: not offered to form designers.
    Q_PROPERTY(bool enabled READ isEnabled WRITE setEnabled DESIGNABLE false)
    Q_PROPERTY(QString Caption READ GetCaption WRITE SetCaption NOTIFY CaptionChanged)

public:
    // The visual state. fbsUp and fbsMouseOut are both "up": painting picks fbsUp while the
    // pointer is over the button and fbsMouseOut otherwise.
    enum TFancyButtonState : quint8 { fbsUp, fbsDown, fbsMouseOut, fbsExclusive, fbsDisabled };
    Q_ENUM(TFancyButtonState)

    explicit TFancyButton(QWidget* parent = nullptr);
    ~TFancyButton() override;

    TFancyButtonState GetState() const { return FState; }
    void SetState(TFancyButtonState value);

    int GetModalResult() const { return FModalResult; }
    void SetModalResult(int value) { FModalResult = qint8(value); }

    bool GetAllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool value);
    int GetGroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value);
    bool GetDown() const { return FDown; }
    void SetDown(bool value);

    // The strip of state pictures; setting it sizes the button to one picture.
    QPixmap GetGlyph() const;
    void SetGlyph(const QPixmap& value);
    const QImage& GetGlyphImage() const;
    void SetGlyphImage(const QImage& value);
    int GetNumGlyphs() const;
    void SetNumGlyphs(int value);

    QString GetCaption() const { return FCaption; }
    void SetCaption(const QString& value);

    int GetTextOffsetLeft() const { return FTextOffsetLeft; }
    void SetTextOffsetLeft(int value);
    int GetTextOffsetTop() const { return FTextOffsetTop; }
    void SetTextOffsetTop(int value);
    TColor GetTextShadowColor() const { return FTextShadowColor; }
    void SetTextShadowColor(TColor value);
    QColor GetTextShadowColorRGB() const { return ColorToQColor(FTextShadowColor); }
    void SetTextShadowColorRGB(const QColor& value) { SetTextShadowColor(QColorToColor(value)); }
    TColorName GetTextShadowColorName() const { return ColorName(FTextShadowColor); }
    void SetTextShadowColorName(TColorName value) {
        SetTextShadowColor(NamedColor(value, FTextShadowColor));
    }

    // Rebuilds the disabled picture from the current system colours and repaints.
    void CMSyscolorChange();
    // Brings the hover flag in line with where the pointer really is.
    void UpdateTracking();
    // Tells the other buttons of the same parent and group about this button's group state.
    void UpdateExclusive();
    // Prepares the picture of the current state once the properties have been set.
    void Loaded();

    bool IsMouseOver() const { return FMouseOver; }
    bool IsPressing() const { return FPressing; }
    TButtonGlyph* ButtonGlyph() const { return FButtonGlyph.get(); }

    // Raises the click notification, as a left click released over the button does.
    void Click();

signals:
    void clicked();
    void doubleClicked();
    void TextShadowColorChanged();
    void CaptionChanged();

protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    friend class TFancyButtonAccessible;

    void Paint(QPainter& canvas);
    void MouseDown(Qt::MouseButton button, int x, int y);
    void MouseMove(int x, int y);
    void MouseUp(int x, int y);
    void WMLButtonDblClk();
    void CMMouseEnter();
    void CMMouseLeave();
    void CMDialogChar();
    void CMButtonPressed(int groupIndex, TFancyButton* sender);
    // Answers Enter and Escape; true when the key closed the dialog the button stands on.
    bool ButtonKeyPress(int key);
    void GlyphChanged();
    bool PointInside(int x, int y) const;
    // Closes the dialog the button stands on with the modal result; true when it did.
    bool PassModalResultToForm();
    void SizeToPicture();
    void GrabAccelerator();

    std::unique_ptr<TButtonGlyph> FButtonGlyph;
    TFancyButtonState FState = fbsMouseOut;
    qint8 FModalResult = 0;
    bool FAllowAllUp = false;
    int FGroupIndex = 0;
    bool FDown = false;
    int FTextOffsetLeft = 0;
    int FTextOffsetTop = 0;
    TColor FTextShadowColor = clNone;
    QString FCaption;
    bool FPressing = false;
    bool FMouseOver = false;
    bool FClicked = false; // a left press began on the button: its release inside is a click
    int FAcceleratorId = 0;
};

// Images of one size, each with a mask of its transparent pixels, kept in numbered slots that
// several buttons share: a freed slot is reused (lowest first) before the list grows by one.
class TGlyphList {
public:
    TGlyphList(int width, int height);
    ~TGlyphList();

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    int Count() const { return int(FImages.size()); }
    int UsedCount() const { return FUsedCount; }
    bool IsUsed(int slot) const;

    int AcquireSlot();
    // Stores the image in the lowest free slot, masked by the pixels of the mask colour.
    int AddImage(const QImage& image, const QColor& maskColor);
    // Puts a new image with its mask into a slot in use, leaving the slot bookkeeping alone.
    void ReplaceImage(int slot, const QImage& image, const QColor& maskColor);
    void FreeSlot(int slot);

    QImage Image(int slot) const;
    // The mask of a slot: 1 (colour 1) where the image is transparent.
    QImage Mask(int slot) const;
    // Draws the image of a slot at (x, y): its opaque pixels as they are, the others not at all.
    void Draw(QPainter& canvas, int slot, int x, int y) const;

private:
    int FWidth;
    int FHeight;
    QBitArray FUsedSlots;
    int FUsedCount = 0;
    QList<QImage> FImages; // ARGB32, alpha 0 exactly where the mask is set
};

// The program-wide holder of the glyph lists, one list per picture size.
class TGlyphCache {
public:
    TGlyphCache() = default;
    ~TGlyphCache();
    TGlyphCache(const TGlyphCache&) = delete;
    TGlyphCache& operator=(const TGlyphCache&) = delete;

    TGlyphList* ListFor(int width, int height);
    // Destroys the list when no slot of it is in use any more.
    void GiveBack(TGlyphList* list);
    bool IsEmpty() const { return FGlyphLists.isEmpty(); }
    int Count() const { return int(FGlyphLists.size()); }

private:
    QList<TGlyphList*> FGlyphLists;
};

// The one glyph cache, created with the first button glyph and destroyed with the last.
extern TGlyphCache* SharedGlyphCache;

// A button's strip of state pictures: prepares each state's picture once in the shared glyph
// list of its size, and draws picture and caption.
class TButtonGlyph {
public:
    using TFancyButtonState = TFancyButton::TFancyButtonState;

    TButtonGlyph();
    ~TButtonGlyph();
    TButtonGlyph(const TButtonGlyph&) = delete;
    TButtonGlyph& operator=(const TButtonGlyph&) = delete;

    const QImage& GetBitmap() const { return FStrip; }
    // Copies the strip (a null image clears it); a width that is a whole multiple of the
    // height, at most five times, also sets the picture count.
    void SetBitmap(const QImage& value);
    int GetImageCount() const { return FImageCount; }
    void SetImageCount(int value);
    TColor GetMaskColor() const { return FMaskColor; }

    // The cell of the strip that a state's picture comes from.
    int CellFor(TFancyButtonState state) const;
    // The slot in the glyph list of the state's picture, prepared if need be (or rebuilt, for
    // the disabled picture, when forced); -1 when there is no picture.
    int PrepareImage(TFancyButtonState state, bool force);
    void ReleaseImages();
    int SlotOf(TFancyButtonState state) const { return FSlots[state]; }
    TGlyphList* List() const { return FList; }

    // Where the picture goes and where the caption goes in the client rectangle.
    void CalcLayout(QPainter& canvas, const QRect& client, const QPoint& offset,
                    const QString& caption, int textFlags, QPoint& glyphPos,
                    QRect& textBounds) const;
    void DrawImage(QPainter& canvas, int x, int y, TFancyButtonState state);
    void DrawCaption(QPainter& canvas, const QString& caption, const QRect& textBounds,
                     TFancyButtonState state, TColor shadowColor, const QColor& fontColor,
                     int textFlags) const;
    // Draws the state's picture centred in the client rectangle and the caption over it;
    // returns the caption's rectangle.
    QRect Draw(QPainter& canvas, const QRect& client, const QPoint& offset, const QString& caption,
               TFancyButtonState state, TColor shadowColor, const QColor& fontColor, int textFlags);

    std::function<void(TButtonGlyph*)> OnChange;

    // The transparent colour of a bitmap: white for a two-colour one, else its bottom-left pixel.
    static TColor TransparentColorOf(const QImage& bitmap);

private:
    void BitmapChanged();
    QImage MakeDisabledImage(const QImage& cell) const;

    QImage FStrip; // always Format_RGB32 (or null)
    bool FMonochrome = false;
    TGlyphList* FList = nullptr;
    int FSlots[5] = {-1, -1, -1, -1, -1};
    TColor FMaskColor = clOlive;
    int FImageCount = 1;
};

// What assistive technology (a screen reader) learns of a fancy button: a push button named by
// its caption (or by its accessible name when one is set), described by its hint, checkable when
// it belongs to a group, and pressed by its "Press" action as by a click.
// Every TFancyButton gets it; the factory is installed with the control library.
class TFancyButtonAccessible : public QAccessibleWidget {
public:
    explicit TFancyButtonAccessible(TFancyButton* button);

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

private:
    TFancyButton* Button() const;
};

// The caption as it is read out: "&&" stands for "&", a single "&" marks the mnemonic.
QString CaptionWithoutMnemonic(const QString& caption);

// Records the class for form designers on the palette page "Brightmoss 2".
namespace FancyButtonUnit {
void Register();
}
