#include "CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QList>
#include <QTextStream>

#include <cstdlib>

namespace {

void PrintLine(FILE* stream, const QString& text) {
    QTextStream(stream) << text << (text.endsWith(u'\n') ? "" : "\n");
}

// The platform named by "-platform NAME" (or "--platform", "-platform=NAME"), else by
// QT_QPA_PLATFORM; empty when neither names one.
QString ChosenPlatform(const QStringList& arguments) {
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        for (const QString& option : {QStringLiteral("-platform"), QStringLiteral("--platform")}) {
            if (argument == option && i + 1 < arguments.size())
                return arguments[i + 1];
            if (argument.startsWith(option + u'='))
                return argument.mid(option.size() + 1);
        }
    }
    return qEnvironmentVariable("QT_QPA_PLATFORM");
}

struct THeldMessage {
    QtMsgType Type;
    QString Category;
    QString Text;
};

QList<THeldMessage> HeldMessages;
QtMessageHandler PreviousHandler = nullptr;

void WatchMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        PrintLine(stderr, NoDisplayMessage);
        std::_Exit(1);
    }
    HeldMessages.append({type, QString::fromUtf8(context.category), text});
}

} // namespace

bool DisplayMissing(const QStringList& arguments) {
    const QString platform = ChosenPlatform(arguments);
    if (platform.isEmpty())
        return qEnvironmentVariableIsEmpty("DISPLAY") &&
               qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (platform == QStringLiteral("xcb"))
        return qEnvironmentVariableIsEmpty("DISPLAY");
    return false;
}

std::optional<int> CommandLineExitCode(int& argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("A keyboard tutorial: learn what each key of a computer keyboard is for."));
    // Not addHelpOption(): its --help-all lists Qt's options, which are read later.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Displays this help."));
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();
    // Qt's own options are not known here: the application object takes them later.
    parser.parse(arguments);
    if (parser.isSet(help)) {
        // The help names the program as it was called, which it learns from an application
        // object; one without a GUI needs no display.
        QCoreApplication core(argc, argv);
        PrintLine(stdout, parser.helpText());
        return 0;
    }
    if (parser.isSet(version)) {
        PrintLine(stdout, QCoreApplication::applicationName() + u' ' +
                              QCoreApplication::applicationVersion());
        return 0;
    }
    if (DisplayMissing(arguments)) {
        PrintLine(stderr, NoDisplayMessage);
        return 1;
    }
    return std::nullopt;
}

void BeginDisplayWatch() {
    HeldMessages.clear();
    PreviousHandler = qInstallMessageHandler(WatchMessage);
}

void EndDisplayWatch() {
    qInstallMessageHandler(PreviousHandler);
    for (const THeldMessage& held : HeldMessages) {
        const QByteArray category = held.Category.toUtf8();
        qt_message_output(held.Type, QMessageLogContext(nullptr, 0, nullptr, category.constData()),
                          held.Text);
    }
    HeldMessages.clear();
}
