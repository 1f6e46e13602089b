// Loads a whole layout as the program does at start-up, from bytes: all but the last four bytes
// are the layout file; the last four give the keyboard picture's size and the pointer's place. The
// picture is written under the name the layout file gives it (when that is a plain file name),
// then the main window loads the layout, shows page 1 and paints it, the pointer moves over the
// picture and clicks, and the layout chooser lists the folder. Dialogs that open on the way are
// answered at once.
#include "KeyMap.h"
#include "LayoutFile.h"
#include "Main.h"

#include <QApplication>
#include <QBuffer>
#include <QDateTime>
#include <QDialog>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

namespace {

// Closes every dialog as soon as it shows, so that modal loops end by themselves.
class TDialogCloser : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show)
            if (auto* dialog = qobject_cast<QDialog*>(watched))
                QMetaObject::invokeMethod(dialog, &QDialog::reject, Qt::QueuedConnection);
        return false;
    }
};

struct TFixture {
    QTemporaryDir Dir;
    std::unique_ptr<TMainForm> Form;
};

TFixture* Fixture = nullptr;

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

// Writes the layout file dated a moment of its own in the past: the reader then decodes it once and
// serves every later read of this input from its cache, as it does for a layout file in use, and
// no two inputs share a date.
void WriteLayoutFile(const QString& path, const QByteArray& bytes) {
    static qint64 inputs = 0;
    WriteFile(path, bytes);
    QFile file(path);
    if (file.open(QIODevice::ReadWrite))
        file.setFileTime(QDateTime::fromMSecsSinceEpoch(1'000'000'000'000 + ++inputs),
                         QFileDevice::FileModificationTime);
}

// A small picture whose size and pixels come from the input.
QByteArray PictureBytes(const QByteArray& layout, uchar width, uchar height) {
    QImage picture(1 + width % 64, 1 + height % 32, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y,
                             layout.isEmpty() ? 0xFFFFFF
                                              : 0x10101u * uchar(layout[(x + y) % layout.size()]));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "BMP");
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The offscreen platform warns at every window it shows; the sanitizers report on their own.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    static int argc = 1;
    static char name[] = "fuzz_layoutload";
    static char* argv[] = {name, nullptr};
    // Kept to the end of the process: destroying the application at exit, after the toolkit's
    // thread storage, would crash.
    auto* app = new QApplication(argc, argv);
    app->installEventFilter(new TDialogCloser);
    Fixture = new TFixture;
    Fixture->Form.reset(CreateForms());
    Fixture->Form->ProgramFileName = Fixture->Dir.filePath(QStringLiteral("fingerwise"));
    Fixture->Form->FirstShow = false;
    // One load before fuzzing sets up what the toolkit keeps for the whole run (the font
    // configuration among it), so that the leak check of each input sees only that input's memory.
    static const char warmUp[] =
        "[Explanation texts]\ntitle-0=Warm up\nimage-0=letter\n"
        "[Key co-ordinates]\nletter=,0,0,1536,522\n[Bitmap]\nbitmap=w.bmp\n"
        "\x10\x10\x80\x80";
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(warmUp), sizeof warmUp - 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4)
        return 0;
    const QByteArray layout(reinterpret_cast<const char*>(data), qsizetype(size - 4));
    const uchar* tail = data + size - 4;
    TMainForm& form = *Fixture->Form;
    form.LayoutFileName = Fixture->Dir.filePath(QStringLiteral("layout.kb"));
    WriteLayoutFile(form.LayoutFileName, layout);
    const QString pictureName = ReadLayoutText(form.LayoutFileName, QStringLiteral("Bitmap"),
                                               QStringLiteral("bitmap"), QString(), 10);
    if (!pictureName.isEmpty() && !pictureName.contains(u'/') && pictureName != u"." &&
        pictureName != u"..")
        WriteFile(Fixture->Dir.filePath(pictureName), PictureBytes(layout, tail[0], tail[1]));

    // Wide enough, every other time, for key rectangles whose pixels pass 32 bits.
    form.resize(tail[2] % 2 ? 1400 : 500, 400);
    form.FormResize();
    form.PageNumber = 0;
    form.HistoryDepth = 0;
    form.LoadLayoutFile();
    form.ShowPage(1);
    const int x = tail[3] * form.PaintBox->width() / 255;
    const int y = tail[2] * form.PaintBox->height() / 255;
    // A co-ordinates value that is no number ends the handler with EConvertError; the program's
    // event handlers show it to the learner.
    for (const auto& handler : {std::function<void()>([&] { form.PaintBoxPaint(); }),
                                std::function<void()>([&] { form.PaintBoxMouseMove(x, y); }),
                                std::function<void()>([&] { form.PaintBoxMouseUp(x, y); })}) {
        try {
            handler();
        } catch (const EConvertError&) {
        }
    }
    // The layout chooser lists the folder and reads the prompt of the layout in use.
    const QString settings = Fixture->Dir.filePath(QStringLiteral("fingerwise.ini"));
    WriteFile(settings, "[General]\nkeyboard=layout\n");
    form.ChooseLayout(settings);
    if (!pictureName.isEmpty())
        QFile::remove(Fixture->Dir.filePath(pictureName));
    return 0;
}
