// kbpicgen: draws a keyboard picture for a layout file and writes the rectangles of its key
// groups, both from one legend file (see Legends.h), so that the two always agree.

#include "KeyGroups.h"
#include "KeyboardDrawing.h"
#include "KeyboardGeometry.h"
#include "LayoutSections.h"
#include "Legends.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSaveFile>
#include <QTextStream>

#include <cstdio>

using namespace kbpicgen;

namespace {

int Fail(const QStringList& messages) {
    QTextStream err(stderr);
    for (const QString& message : messages)
        err << "kbpicgen: " << message << "\n";
    return 1;
}

// A path as written from the source folder, when it lies in it.
QString FromSourceFolder(const QString& path) {
    const QString relative = QDir(QStringLiteral(KBPICGEN_SOURCE_DIR))
                                 .relativeFilePath(QFileInfo(path).absoluteFilePath());
    return relative.startsWith("..") ? QDir::cleanPath(QFileInfo(path).absoluteFilePath())
                                     : relative;
}

bool SaveImage(const QImage& image, const QString& fileName, const char* format,
               QStringList& errors) {
    if (image.save(fileName, format))
        return true;
    errors.append(QString("cannot write %1").arg(fileName));
    return false;
}

bool UpdateLayoutFile(const QString& fileName, const QString& sections, QStringList& errors) {
    QFile in(fileName);
    if (!in.open(QIODevice::ReadOnly)) {
        errors.append(QString("%1: %2").arg(fileName, in.errorString()));
        return false;
    }
    const QByteArray old = in.readAll();
    in.close();
    const QByteArray updated = ReplaceGeneratedSections(old, sections);
    QSaveFile out(fileName);
    if (!out.open(QIODevice::WriteOnly) || out.write(updated) != updated.size() || !out.commit()) {
        errors.append(QString("%1: %2").arg(fileName, out.errorString()));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Draws a keyboard picture from a legend file and prints the matching [Key co-ordinates] "
        "and [Key positions] sections of a layout file (with a [Bitmap] section naming the picture "
        "when one is "
        "drawn).");
    parser.addHelpOption();
    parser.addPositionalArgument("legends", "the legend file, e.g. tools/kbpicgen/layouts/us.txt");
    const QCommandLineOption pictureOption(
        "picture", "Draw the keyboard picture into <file> (BMP, 8 bits of grey per pixel).",
        "file");
    const QCommandLineOption updateOption(
        "update",
        "Put the sections into the layout file <file> instead of printing them, replacing its "
        "[Bitmap], [Key co-ordinates] and [Key positions] sections and keeping all others (needs "
        "--picture). The "
        "file must exist: copy a shipped layout file first.",
        "file");
    const QCommandLineOption checkOption(
        "check", "Draw every key group highlighted as the tutorial shows it into <file> (PNG).",
        "file");
    const QCommandLineOption overlayOption(
        "overlay", "Draw the picture with the key groups' rectangles in colours into <file> (PNG).",
        "file");
    parser.addOptions({pictureOption, updateOption, checkOption, overlayOption});
    parser.process(app);

    if (parser.positionalArguments().size() != 1)
        parser.showHelp(1);
    const QString legendFile = parser.positionalArguments().front();
    const QString pictureFile = parser.value(pictureOption);
    const QString layoutFile = parser.value(updateOption);
    const QString bitmapName = QFileInfo(pictureFile).fileName();

    QStringList errors;
    if (!layoutFile.isEmpty() && pictureFile.isEmpty())
        errors.append("--update needs --picture, which names the picture in the layout file");
    // A new file would hold only the picture's sections: a window of placeholders in the program.
    if (!layoutFile.isEmpty() && !QFileInfo(layoutFile).isFile())
        errors.append(QString("the layout file %1 does not exist; copy a shipped layout file to "
                              "it first, then update it")
                          .arg(layoutFile));
    if (bitmapName.size() > MaxBitmapNameLength)
        errors.append(QString("the picture's file name %1 is longer than the %2 characters that a "
                              "layout file can name")
                          .arg(bitmapName)
                          .arg(MaxBitmapNameLength));
    const std::optional<LegendSet> legends = LoadLegends(legendFile, errors);
    if (!errors.isEmpty())
        return Fail(errors);

    const Keyboard keyboard = MakeKeyboard(legends->form);
    const QList<KeyGroup> groups = MakeKeyGroups(keyboard, *legends);
    const QStringList lines = CoordinateLines(groups, errors);
    const QStringList positions = KeyPositionLines(keyboard, *legends, errors);
    if (!errors.isEmpty())
        return Fail(errors);

    QStringList comments;
    if (!pictureFile.isEmpty()) {
        comments << QString("Keyboard picture, key co-ordinates and key positions made by kbpicgen "
                            "from %1.")
                        .arg(FromSourceFolder(legendFile));
        QString command =
            QString("%1 --picture %2")
                .arg(FromSourceFolder(app.applicationFilePath()), FromSourceFolder(pictureFile));
        if (!layoutFile.isEmpty())
            command += " --update " + FromSourceFolder(layoutFile);
        comments << "To make them again, build, then run in the source folder: " + command + " " +
                        FromSourceFolder(legendFile);
    }
    const QString sections = GeneratedSections(comments, bitmapName, lines, positions);

    const QImage picture = DrawKeyboard(keyboard, *legends);
    if (!pictureFile.isEmpty())
        SaveImage(ToGreyBitmap(picture), pictureFile, "BMP", errors);
    if (parser.isSet(checkOption))
        SaveImage(DrawCheckSheet(picture, groups), parser.value(checkOption), "PNG", errors);
    if (parser.isSet(overlayOption))
        SaveImage(DrawOverlay(picture, groups), parser.value(overlayOption), "PNG", errors);
    if (!layoutFile.isEmpty())
        UpdateLayoutFile(layoutFile, sections, errors);
    else
        QTextStream(stdout) << sections;
    return errors.isEmpty() ? 0 : Fail(errors);
}
