#include "WindowMeasures.h"

#include "CongratsDlg.h"
#include "FancyButton.h"
#include "Main.h"

#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextLayout>

namespace {

// Shows where a button drew nothing: no picture of the program uses it.
const QColor Unpainted(255, 0, 255);

// The symbols of the button pictures are drawn in the captions' light cyan, clearly more green
// than red, while the buttons' faces and rims are shades of blue-grey with red equal to green.
bool IsSymbolInk(QRgb pixel) {
    return qGreen(pixel) - qRed(pixel) > 40;
}

QImage Render(TFancyButton* button) {
    QImage image(button->size(), QImage::Format_RGB32);
    image.fill(Unpainted);
    button->render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
    return image;
}

struct TColumns {
    int Left = 0, Right = -1;
    void Add(int x) {
        if (Left > Right) {
            Left = Right = x;
            return;
        }
        Left = std::min(Left, x);
        Right = std::max(Right, x);
    }
};

// The columns in which two pictures differ.
TColumns DifferentColumns(const QImage& a, const QImage& b) {
    TColumns columns;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                columns.Add(x);
    return columns;
}

// The run of the face, in the picture's middle row, that holds column x and no symbol ink.
TColumns RoomAround(const QImage& picture, int x) {
    std::vector<bool> free(picture.width(), false);
    const int middle = picture.height() / 2;
    for (int column = 0; column < picture.width(); ++column)
        free[column] = picture.pixel(column, middle) != Unpainted.rgb();
    for (int y = 0; y < picture.height(); ++y)
        for (int column = 0; column < picture.width(); ++column)
            if (IsSymbolInk(picture.pixel(column, y)))
                free[column] = false;
    TColumns room;
    if (x < 0 || x >= picture.width() || !free[x])
        return room;
    room.Left = room.Right = x;
    while (room.Left > 0 && free[room.Left - 1])
        --room.Left;
    while (room.Right + 1 < picture.width() && free[room.Right + 1])
        ++room.Right;
    return room;
}

} // namespace

TWindowMeasures::TWindowMeasures()
    : Form(std::make_unique<TMainForm>())
    , Dialog(std::make_unique<TCongratsDlg>()) {
    // The window is laid out but never asks for a layout nor reads one.
    Form->FirstShow = false;
    Form->setAttribute(Qt::WA_DontShowOnScreen);
    Form->resize(ReferenceClientSize);
    Form->show();
    Form->FormResize();
}

TWindowMeasures::~TWindowMeasures() = default;

TFancyButton* TWindowMeasures::ButtonFor(const QString& key) const {
    const std::pair<const char*, TFancyButton*> buttons[] = {{"Back", Form->BackBtn},
                                                             {"Next", Form->NextBtn},
                                                             {"Exit", Form->ExitBtn},
                                                             // The key explorer's Close button
                                                             // wears the Exit button's picture.
                                                             {"Close", Form->ExitBtn},
                                                             {"OK", Dialog->OKBtn}};
    for (const auto& [name, button] : buttons)
        if (key.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return button;
    return nullptr;
}

TWindowMeasures::TCaptionFit TWindowMeasures::FitCaption(TFancyButton* button,
                                                         const QString& caption) const {
    const QString shown = button->GetCaption();
    const auto state = button->GetState();
    button->SetState(TFancyButton::fbsMouseOut);
    button->SetCaption(QString());
    const QImage picture = Render(button);
    button->SetCaption(caption);
    const QImage captioned = Render(button);
    button->SetCaption(shown);
    button->SetState(state);

    TCaptionFit fit;
    const TColumns ink = DifferentColumns(picture, captioned);
    fit.InkLeft = ink.Left;
    fit.InkRight = ink.Right;
    const TColumns room = RoomAround(picture, (ink.Left + ink.Right) / 2);
    fit.RoomLeft = room.Left;
    fit.RoomRight = room.Right;
    return fit;
}

bool TWindowMeasures::FitsFirstLine(const QString& text) const {
    QPlainTextEdit* box = Form->TypingBox;
    const QSignalBlocker quiet(box);
    box->setPlainText(text);
    const QTextBlock block = box->document()->firstBlock();
    if (auto* layout = qobject_cast<QPlainTextDocumentLayout*>(box->document()->documentLayout()))
        layout->ensureBlockLayout(block);
    const QTextLayout* textLayout = block.layout();
    const bool fits = !textLayout || textLayout->lineCount() <= 1;
    box->clear();
    return fits;
}
