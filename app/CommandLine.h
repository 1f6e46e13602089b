#pragma once

#include <QStringList>

#include <optional>

// What the program says when it cannot reach a graphical display.
inline const QString NoDisplayMessage =
    QStringLiteral("Fingerwise needs a graphical desktop: no display was found, so start it "
                   "from a desktop session.");

// The program's command line, read before the GUI starts so that --help and --version work
// without a display: each prints its text and the program ends without opening a window.
// Returns the exit code when the program ends here: 0 after --help or --version, 1 when no
// display is to be had (after saying so in one sentence). Qt's own options (-platform, ...)
// pass through to the application object. The application's name and version are set before.
std::optional<int> CommandLineExitCode(int& argc, char** argv);

// Whether the GUI platform the program would start on has no display to open: none is named in
// the environment (DISPLAY, WAYLAND_DISPLAY) and no other platform is chosen (-platform or
// QT_QPA_PLATFORM, such as "offscreen").
bool DisplayMissing(const QStringList& arguments);

// Around the creation of the GUI application object: when the platform cannot open the display
// named in the environment (no server behind it), the program says so in one sentence and ends
// with exit code 1 instead of aborting with the platform's diagnostics. The platform's messages
// are held meanwhile and passed on when it started after all.
void BeginDisplayWatch();
void EndDisplayWatch();
