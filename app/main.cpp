#include "Main.h"
#include "About.h"
#include "Application.h"

#include <QIcon>
#include <QMessageBox>

int main(int argc, char** argv) {
    TApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Fingerwise"));
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
