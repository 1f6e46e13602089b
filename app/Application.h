#pragma once

#include <QApplication>

#include <exception>
#include <functional>

// The application object: it shows an error that leaves an event handler in a message box and
// goes on, as the program's standard error display.
class TApplication : public QApplication {
    Q_OBJECT

public:
    TApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Shows the message of an error in a message box once the current event has returned.
    static void ShowException(const QString& message);
};

// Runs an event handler; an error that leaves it goes to the standard error display.
void RunHandler(const std::function<void()>& handler);

// Maps the design's font families onto installed ones: "Tahoma" and "Arial" are not on Linux.
void InstallFontSubstitutions();

// Sets the delay between the pointer coming to rest over a control and its hint showing.
void SetHintPause(int milliseconds);
