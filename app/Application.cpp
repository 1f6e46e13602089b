#include "Application.h"

#include <QFont>
#include <QMessageBox>
#include <QPointer>
#include <QProxyStyle>
#include <QTimer>

namespace {

class THintPauseStyle : public QProxyStyle {
public:
    explicit THintPauseStyle(int pause)
        : Pause(pause) {}

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_ToolTip_WakeUpDelay)
            return Pause;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }

private:
    int Pause;
};

} // namespace

TApplication::TApplication(int& argc, char** argv)
    : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowException(QString::fromUtf8(error.what()));
    } catch (...) {
        ShowException(QStringLiteral("Unknown error"));
    }
    return false;
}

void TApplication::ShowException(const QString& message) {
    // Never from inside the handler that failed (it may be painting): once it has returned.
    QTimer::singleShot(0, qApp, [message] {
        QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(), message,
                        QMessageBox::Ok, QApplication::activeWindow());
        box.exec();
    });
}

void RunHandler(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        TApplication::ShowException(QString::fromUtf8(error.what()));
    }
}

void InstallFontSubstitutions() {
    QFont::insertSubstitutions(QStringLiteral("Tahoma"), {QStringLiteral("DejaVu Sans Condensed"),
                                                          QStringLiteral("Sans Serif")});
    QFont::insertSubstitutions(QStringLiteral("Arial"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("Sans Serif")});
}

void SetHintPause(int milliseconds) {
    static QPointer<THintPauseStyle> installed;
    if (installed)
        return;
    installed = new THintPauseStyle(milliseconds);
    QApplication::setStyle(installed);
}
