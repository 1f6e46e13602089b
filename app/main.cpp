#include "Main.h"
#include "About.h"
#include "Application.h"
#include "CommandLine.h"

#include <QIcon>
#include <QMessageBox>
#include <QScreen>

namespace {

// Room left above the window for a window manager's title bar.
constexpr int TitleBarAllowance = 32;

} // namespace

int main(int argc, char** argv) {
    QApplication::setApplicationName(QStringLiteral("Fingerwise"));
    QApplication::setApplicationVersion(QStringLiteral(FW_VERSION));
    if (const std::optional<int> exitCode = CommandLineExitCode(argc, argv))
        return *exitCode;
    BeginDisplayWatch();
    TApplication app(argc, argv);
    EndDisplayWatch();
    InstallFontSubstitutions();
    QApplication::setWindowIcon(ProgramIcon());
    try {
        TMainForm* mainForm = CreateForms();
        mainForm->setAttribute(Qt::WA_DeleteOnClose);
        // A window manager that honours the missing maximise button does not maximise the
        // window itself: it starts as large as the work area leaves room for with a title bar,
        // so it fills the screen either way (a window of the whole screen's size would be taken
        // for a full-screen one and lose its title bar).
        if (const QScreen* screen = mainForm->screen())
            mainForm->setGeometry(screen->availableGeometry().adjusted(0, TitleBarAllowance, 0, 0));
        mainForm->showMaximized();
        app.exec();
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, QApplication::applicationName(),
                              QString::fromUtf8(error.what()));
    }
    return 0;
}
