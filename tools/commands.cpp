#include "command.h"

#include <vector>

// Each command's entry point, defined in its cmd_<name>.cpp.
int runPack(const QStringList& args);
int runOpen(const QStringList& args);
int runMakeUpdate(const QStringList& args);
int runVerifyUpdate(const QStringList& args);
int runCrypt(const QStringList& args);
int runRender(const QStringList& args);
int runExport(const QStringList& args);
int runDumpSources(const QStringList& args);
int runFind(const QStringList& args);

// Keep the table in the order `vardotool --help` should list them.
static const std::vector<Command> commands = {
    {"pack", "write a .vardo document from data-set files", runPack},
    {"open", "open a .vardo document and list or write its data sets", runOpen},
    {"make-update", "write an update package (.kvu) from component files and versions",
     runMakeUpdate},
    {"verify-update", "check an update package's signature and manifest as the updater does",
     runVerifyUpdate},
    {"crypt", "encrypt or decrypt a stored value (stdin to stdout) with the shared cipher",
     runCrypt},
    {"render", "render a template that needs no data (manual, FAQ) to PDF", runRender},
    {"export", "export every data set of a .vardo document as text files or PDF reports",
     runExport},
    {"dump-sources", "print the report data sources of a document as the engine reads them",
     runDumpSources},
    {"find", "find text in the reports of every data set of documents, as the report view does",
     runFind},
};

const Command* findCommand(const QString& name)
{
    for (const Command& c : commands) {
        if (name == QLatin1String(c.name))
            return &c;
    }
    return nullptr;
}

QList<const Command*> allCommands()
{
    QList<const Command*> list;
    for (const Command& c : commands)
        list << &c;
    return list;
}
