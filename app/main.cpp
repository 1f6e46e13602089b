#include "Main.h"
#include "Application.h"

#include <QIcon>
#include <QMessageBox>

int main(int argc, char** argv) {
    TApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Fingerwise"));
    InstallFontSubstitutions();
    QIcon icon;
    for (int size : {16, 32, 48})
        icon.addFile(QStringLiteral(":/icon/fingerwise-%1.png").arg(size));
    QApplication::setWindowIcon(icon);
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
