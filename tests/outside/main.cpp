// Uses the installed controls: a fancy button with the artwork compiled into the library, and a
// URL label. Returns 0 when they work.
#include <FancyButton.h>
#include <URLStatic.h>

#include <QApplication>
#include <QTextStream>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    TFancyButton button;
    button.SetGlyph(QPixmap(QStringLiteral(":/buttons/ok.bmp")));
    button.SetNumGlyphs(4);
    button.SetCaption(QStringLiteral("OK"));
    TURLStatic link;
    link.SetURL(QStringLiteral("https://www.brightmoss.com/"));
    const bool works = button.size() == QSize(100, 48) && button.GetCaption() == "OK" &&
                       link.GetURL() == "https://www.brightmoss.com/";
    if (!works)
        QTextStream(stderr) << "the installed controls do not work as in the build tree\n";
    return works ? 0 : 1;
}
