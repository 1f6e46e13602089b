#pragma once

#include <QString>

#include <functional>

// Asks the desktop to open an address (a web page in the browser, a file with its program), as
// the shell's "open" verb does: no parameters, no working directory, failures ignored.
void OpenUrl(const QString& address);

// The function that OpenUrl calls; tests replace it. An empty function restores the default,
// which hands the address to QDesktopServices::openUrl. Returns the function it replaces.
using TOpenUrlFunction = std::function<void(const QString& address)>;
TOpenUrlFunction SetOpenUrlFunction(TOpenUrlFunction function);
