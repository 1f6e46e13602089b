#pragma once

#include <QSize>
#include <QString>

#include <memory>

class TCongratsDlg;
class TFancyButton;
class TMainForm;

// Measures texts of a layout file in the tutorial's real windows, built as the program builds
// them (never shown on a screen): the glyph buttons with their own pictures and fonts, and the
// typing box with its font at a given window size. Needs a QApplication.
class TWindowMeasures {
public:
    // A maximised window on a 1280 x 1024 screen, less title bar and task bar: the narrowest
    // common screen, on which the typing box holds the fewest characters per line.
    static constexpr QSize ReferenceClientSize{1280, 970};

    TWindowMeasures();
    ~TWindowMeasures();

    // Where a caption falls on its button and the room that the button's picture leaves for it,
    // as pixel columns of the button (right edges included).
    struct TCaptionFit {
        int InkLeft = 0, InkRight = -1;   // the caption's pixels, shadow included; empty: none
        int RoomLeft = 0, RoomRight = -1; // the button's face beside its symbol
        bool Fits() const {
            return InkLeft > InkRight || (RoomLeft <= InkLeft && InkRight <= RoomRight);
        }
    };

    // The button whose caption a key of section "Buttons" sets, or none.
    TFancyButton* ButtonFor(const QString& key) const;
    // How the caption fits on the button, drawn in its resting state.
    TCaptionFit FitCaption(TFancyButton* button, const QString& caption) const;

    // Whether the text stays on the typing box's first line, unwrapped, in an exercise page of a
    // window of the reference size.
    bool FitsFirstLine(const QString& text) const;

private:
    std::unique_ptr<TMainForm> Form;
    std::unique_ptr<TCongratsDlg> Dialog;
};
