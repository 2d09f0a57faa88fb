#ifndef TOOLCOMMON_H
#define TOOLCOMMON_H

#include <QString>
#include <QStringList>

class QCommandLineParser;
class QTextStream;

// Option handling shared by the vardotool commands.
class ToolCommon
{
public:
    // Exit codes of a command besides its own results. Usage errors keep clear of the
    // small codes that `open` passes on from the document result.
    static constexpr int exitFailure = 1;
    static constexpr int exitUsage = 64;
    // An input file that does not exist or cannot be read.
    static constexpr int exitNoInput = 66;
    // parse() returns this when the command should go on.
    static constexpr int proceed = -1;

    // The viewer version a command acts as unless told otherwise.
    static QString applicationVersion();
    // What --version prints: the program name and the product version.
    static QString versionText();

    // Where a command reads a file, this name stands for standard input.
    static bool isStandardInput(const QString& path);
    // The whole content of path, or of standard input for "-"; false with error set
    // when it cannot be read.
    static bool readInput(const QString& path, QByteArray* content, QString* error);

    // UTF-8 streams on standard output and standard error.
    static QTextStream& out();
    static QTextStream& err();

    // Adds -p/--password PASSWORD and --password-file F to a parser.
    static void addPasswordOptions(QCommandLineParser& parser);

    // Parses a command's arguments (the first one is "vardotool <command>") with --help
    // and --version added. Prints the help or the error itself and returns the exit code, or
    // proceed.
    static int parse(QCommandLineParser& parser, const QStringList& args);

    // addPasswordOptions, parse and password in one: proceed with password set, or the
    // exit code after the help or the error has been printed.
    static int parseWithPassword(QCommandLineParser& parser, const QStringList& args,
                                 QString* password);

    // The password given by -p, or the first line of the --password-file file (without
    // its line end): proceed, or the exit code with error set when not exactly one of the
    // two is given (exitUsage) or the file cannot be read (exitNoInput).
    static int password(const QCommandLineParser& parser, QString* password, QString* error);

    // The first line of a text file, UTF-8, without its line end.
    static bool readFirstLine(const QString& path, QString* line, QString* error);

    // Prints "<command>: <message>" on standard error and returns code.
    static int fail(const QStringList& args, const QString& message, int code = exitFailure);
    // fail with exitUsage.
    static int usageError(const QStringList& args, const QString& message);
    // fail with exitNoInput.
    static int inputError(const QStringList& args, const QString& message);
};

#endif // TOOLCOMMON_H
