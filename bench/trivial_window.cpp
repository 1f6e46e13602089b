// The floor of the start-up figures: a trivial Qt window, maximised, with one line of text.
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLabel window(QStringLiteral("A trivial Qt window"));
    window.setAlignment(Qt::AlignCenter);
    window.showMaximized();
    return app.exec();
}
