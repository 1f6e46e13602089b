#include "Main.h"
#include "About.h"
#include "Application.h"
#include "CommandLine.h"

#include <QIcon>
#include <QMessageBox>

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
        mainForm->showMaximized();
        app.exec();
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, QApplication::applicationName(),
                              QString::fromUtf8(error.what()));
    }
    return 0;
}
