#ifndef COMMAND_H
#define COMMAND_H

#include <QStringList>

// One subcommand of vardotool. `run` gets the arguments after the command name and
// returns the process exit code.
struct Command
{
    const char* name;
    const char* summary;
    int (*run)(const QStringList& args);
};

// Commands register themselves in commands.cpp; each lives in its own cmd_<name>.cpp.
const Command* findCommand(const QString& name);
QList<const Command*> allCommands();

#endif // COMMAND_H
