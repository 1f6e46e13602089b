#include "OpenUrl.h"

#include <QDesktopServices>
#include <QUrl>

#include <utility>

namespace {

TOpenUrlFunction& CurrentFunction() {
    static TOpenUrlFunction function;
    return function;
}

void OpenWithDesktop(const QString& address) {
    QDesktopServices::openUrl(QUrl::fromUserInput(address));
}

} // namespace

void OpenUrl(const QString& address) {
    const TOpenUrlFunction& function = CurrentFunction();
    if (function)
        function(address);
    else
        OpenWithDesktop(address);
}

TOpenUrlFunction SetOpenUrlFunction(TOpenUrlFunction function) {
    return std::exchange(CurrentFunction(), std::move(function));
}
