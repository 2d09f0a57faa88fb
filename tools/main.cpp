#include "command.h"
#include "toolcommon.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QTextStream>

#include <memory>

static void usage(QTextStream& out)
{
    out << "usage: vardotool <command> [options]\n"
           "       vardotool --help | --version\n\ncommands:\n";
    for (const Command* c : allCommands())
        out << "  " << QString::fromLatin1(c->name).leftJustified(14) << c->summary << "\n";
    out << "\nvardotool <command> --help shows the options of one command. Where a command "
           "reads a document, - stands for standard input.\n"
           "\nexit codes: 0 done, 1 failed, 2 viewer too old, 3 invalid password, 4 damaged "
           "document, 64 wrong usage, 66 input file missing or unreadable\n";
    out.flush();
}

// Asked for, the usage goes to standard output; given because of a mistake, to
// standard error with the usage exit code.
static int usageError(const QString& message)
{
    QTextStream& err = ToolCommon::err();
    if (!message.isEmpty())
        err << "vardotool: " << message << "\n\n";
    usage(err);
    return ToolCommon::exitUsage;
}

// Commands that lay out pages need the GUI application for fonts; the offscreen
// platform keeps them working without a display.
static bool needsGui(int argc, char* argv[])
{
    return argc > 1 && (qstrcmp(argv[1], "render") == 0 || qstrcmp(argv[1], "export") == 0 ||
                        qstrcmp(argv[1], "find") == 0);
}

int main(int argc, char* argv[])
{
    const bool gui = needsGui(argc, argv);
    if (gui && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QCoreApplication> application(gui ? new QGuiApplication(argc, argv)
                                                            : new QCoreApplication(argc, argv));
    QCoreApplication& app = *application;
    QCoreApplication::setApplicationName(QStringLiteral("vardotool"));
    // The library's trace lines are meant for the viewer's log file, not a terminal;
    // QT_LOGGING_RULES still turns them back on.
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return usageError(QString());
    const QString first = args.first();
    if (first == QLatin1String("--help") || first == QLatin1String("-h") ||
        first == QLatin1String("help")) {
        usage(ToolCommon::out());
        return 0;
    }
    if (first == QLatin1String("--version") || first == QLatin1String("-v")) {
        ToolCommon::out() << ToolCommon::versionText() << "\n";
        ToolCommon::out().flush();
        return 0;
    }
    if (first.startsWith(QLatin1Char('-')))
        return usageError(QStringLiteral("unknown option \"%1\"").arg(first));
    const Command* command = findCommand(first);
    if (!command)
        return usageError(QStringLiteral("unknown command \"%1\"").arg(first));
    QStringList rest = args.mid(1);
    rest.prepend(QStringLiteral("vardotool ") + QLatin1String(command->name));
    return command->run(rest);
}
