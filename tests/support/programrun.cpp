#include "programrun.h"

#include <QProcess>

ProgramRun ProgramRun::run(const QString& program, const QStringList& args, const QByteArray& input,
                           int timeoutMilliseconds)
{
    ProgramRun result;
    QProcess process;
    process.start(program, args);
    if (!process.waitForStarted(timeoutMilliseconds))
        return result;
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(timeoutMilliseconds)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.finished = true;
    result.crashed = process.exitStatus() == QProcess::CrashExit;
    result.exitCode = process.exitCode();
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

QString ProgramRun::output(const QString& program, const QStringList& args)
{
    const ProgramRun result = run(program, args);
    if (!result.finished || result.crashed || result.exitCode != 0)
        return QString();
    return QString::fromUtf8(result.out);
}
