#include "command.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QTextStream>

#include <memory>

static int usage(QTextStream& out)
{
    out << "usage: vardotool <command> [options]\n\ncommands:\n";
    for (const Command* c : allCommands())
        out << "  " << QString::fromLatin1(c->name).leftJustified(14) << c->summary << "\n";
    out << "\nvardotool <command> --help shows the options of one command.\n";
    return 2;
}

// Commands that lay out pages need the GUI application for fonts; the offscreen
// platform keeps them working without a display.
static bool needsGui(int argc, char* argv[])
{
    return argc > 1 && (qstrcmp(argv[1], "render") == 0 || qstrcmp(argv[1], "export") == 0);
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
    QTextStream err(stderr);
    if (args.isEmpty() || args.first() == QLatin1String("--help") ||
        args.first() == QLatin1String("-h"))
        return usage(err);
    const Command* command = findCommand(args.first());
    if (!command) {
        err << "vardotool: unknown command \"" << args.first() << "\"\n\n";
        return usage(err);
    }
    QStringList rest = args.mid(1);
    rest.prepend(QStringLiteral("vardotool ") + QLatin1String(command->name));
    return command->run(rest);
}
