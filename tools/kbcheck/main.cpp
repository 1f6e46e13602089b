// kbcheck: checks layout files the way the program will read them and reports every finding as
// "file:line: message". Exit status: 0 when every file is clean, 1 when there are findings, 2
// when a file cannot be read (or no file is named).
//
//   kbcheck FILE.kb [FILE.kb...]

#include "LayoutCheck.h"
#include "WindowMeasures.h"

#include <QApplication>
#include <QTextStream>

namespace {

constexpr int Clean = 0;
constexpr int Findings = 1;
constexpr int Unreadable = 2;

} // namespace

int main(int argc, char* argv[]) {
    // The windows that measure the texts are never shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);

    const QStringList files = app.arguments().mid(1);
    if (files.isEmpty()) {
        err << "usage: kbcheck FILE.kb [FILE.kb...]\n";
        return Unreadable;
    }
    TWindowMeasures measures;
    int status = Clean;
    for (const QString& file : files) {
        const std::optional<TLayoutSource> source = TLayoutSource::Read(file);
        if (!source) {
            err << file << ": cannot be read\n";
            status = Unreadable;
            continue;
        }
        for (const TFinding& finding : CheckLayout(*source, measures)) {
            out << FormatFinding(file, finding) << "\n";
            if (status == Clean)
                status = Findings;
        }
    }
    return status;
}
