#ifndef VIEWERCOMMANDLINE_H
#define VIEWERCOMMANDLINE_H

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

class QIODevice;
class QTextStream;

// The viewer's command line: an optional document (the first argument that is no
// option; "-" reads it from standard input), --help and --version. Options are
// answered before the application object exists, so that they need no display.
class ViewerCommandLine
{
public:
    static constexpr int proceed = -1;
    static constexpr int exitUsage = 64;
    static constexpr int exitNoInput = 66;

    // Answers --help and --version on out, an unknown option on err: the exit code,
    // or proceed when the viewer should start. arguments start with the program name.
    static int answerOptions(const QStringList& arguments, QTextStream& out, QTextStream& err);

    // Finds the document to open at start: proceed, or exitNoInput with error set when
    // the named file does not exist or standard input cannot be read. A document from
    // input is kept in a temporary file for as long as this object lives.
    int resolveDocument(const QStringList& arguments, QIODevice* input);

    QString error() const { return m_error; }
    // The command line as the main window takes it: the program name and, when a
    // document is to be opened, its path.
    QStringList windowArguments() const { return m_windowArguments; }

    // What --help prints.
    static QString helpText(const QString& program);

private:
    static QString documentArgument(const QStringList& arguments);

    QString m_error;
    QStringList m_windowArguments;
    std::unique_ptr<QTemporaryDir> m_inputCopy;
};

#endif // VIEWERCOMMANDLINE_H
