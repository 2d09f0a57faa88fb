#include "command.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QTextStream>

static int usage(QTextStream& out)
{
    out << "usage: vardotool <command> [options]\n\ncommands:\n";
    for (const Command* c : allCommands())
        out << "  " << QString::fromLatin1(c->name).leftJustified(14) << c->summary << "\n";
    out << "\nvardotool <command> --help shows the options of one command.\n";
    return 2;
}

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vardotool"));
    // The library's trace lines are meant for the viewer's log file, not a terminal;
    // QT_LOGGING_RULES still turns them back on.
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    QStringList args = app.arguments().mid(1);
    QTextStream err(stderr);
    if (args.isEmpty() || args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h"))
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
