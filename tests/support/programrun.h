#ifndef PROGRAMRUN_H
#define PROGRAMRUN_H

#include <QByteArray>
#include <QString>
#include <QStringList>

// One run of a program under test: its input written whole, its output collected.
class ProgramRun
{
public:
    static ProgramRun run(const QString& program, const QStringList& args,
                          const QByteArray& input = QByteArray(), int timeoutMilliseconds = 30000);
    // What a tool printed, read as UTF-8; empty unless it ran to a clean exit.
    static QString output(const QString& program, const QStringList& args);

    // False when the program did not start or did not end in time.
    bool finished = false;
    bool crashed = false;
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

#endif // PROGRAMRUN_H
