#include "Application.h"

#include <QWidget>

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Fingerwise"));
    QWidget window;
    window.show();
    return app.exec();
}
