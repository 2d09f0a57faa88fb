#include "toolcommon.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include "platform.h"
#include "vardoversion.h"

namespace {

QCommandLineOption passwordOption()
{
    return QCommandLineOption({QStringLiteral("p"), QStringLiteral("password")},
                              QStringLiteral("The document password."), QStringLiteral("PASSWORD"));
}

QCommandLineOption passwordFileOption()
{
    return QCommandLineOption(QStringLiteral("password-file"),
                              QStringLiteral("Read the password from the first line of F."),
                              QStringLiteral("F"));
}

QTextStream& utf8Stream(FILE* file)
{
    static QTextStream out(stdout);
    static QTextStream err(stderr);
    QTextStream& stream = file == stdout ? out : err;
    stream.setCodec("UTF-8");
    return stream;
}

} // namespace

QString ToolCommon::applicationVersion()
{
    return QStringLiteral(VARDO_VERSION);
}

QString ToolCommon::versionText()
{
    return QStringLiteral("vardotool ") + applicationVersion();
}

bool ToolCommon::isStandardInput(const QString& path)
{
    return path == QLatin1String("-");
}

bool ToolCommon::readInput(const QString& path, QByteArray* content, QString* error)
{
    QFile file(path);
    const QFileInfo info(path);
    QString reason;
    if (isStandardInput(path)) {
        Platform::useBinaryStandardInput();
        if (!file.open(stdin, QIODevice::ReadOnly))
            reason = file.errorString();
    } else if (!info.exists()) {
        reason = QStringLiteral("no such file");
    } else if (!info.isFile()) {
        // A directory opens on some systems and reads as nothing.
        reason = QStringLiteral("not a file");
    } else if (!file.open(QIODevice::ReadOnly)) {
        reason = file.errorString();
    }
    if (reason.isEmpty()) {
        *content = file.readAll();
        if (file.error() == QFileDevice::NoError)
            return true;
        reason = file.errorString();
    }
    *error = QStringLiteral("cannot read %1: %2").arg(path, reason);
    return false;
}

QTextStream& ToolCommon::out()
{
    return utf8Stream(stdout);
}

QTextStream& ToolCommon::err()
{
    return utf8Stream(stderr);
}

void ToolCommon::addPasswordOptions(QCommandLineParser& parser)
{
    parser.addOption(passwordOption());
    parser.addOption(passwordFileOption());
}

int ToolCommon::parse(QCommandLineParser& parser, const QStringList& args)
{
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    if (!parser.parse(args))
        return fail(args, parser.errorText(), exitUsage);
    if (parser.isSet(version)) {
        out() << versionText() << "\n";
        out().flush();
        return 0;
    }
    if (parser.isSet(help)) {
        // The parser names the program file; a command is named by its two words.
        QString text = parser.helpText();
        const QString program = QCoreApplication::arguments().value(0);
        if (!program.isEmpty())
            text.replace(text.indexOf(program), program.size(), args.value(0));
        out() << text;
        out().flush();
        return 0;
    }
    return proceed;
}

int ToolCommon::parseWithPassword(QCommandLineParser& parser, const QStringList& args,
                                  QString* password)
{
    addPasswordOptions(parser);
    const int parsed = parse(parser, args);
    if (parsed != proceed)
        return parsed;
    QString error;
    const int code = ToolCommon::password(parser, password, &error);
    if (code != proceed)
        return fail(args, error, code);
    return proceed;
}

int ToolCommon::password(const QCommandLineParser& parser, QString* password, QString* error)
{
    const bool direct = parser.isSet(passwordOption());
    const bool fromFile = parser.isSet(passwordFileOption());
    if (direct == fromFile) {
        *error = QStringLiteral("give the password with either -p or --password-file");
        return exitUsage;
    }
    if (direct) {
        *password = parser.value(passwordOption());
        return proceed;
    }
    return readFirstLine(parser.value(passwordFileOption()), password, error) ? proceed
                                                                              : exitNoInput;
}

bool ToolCommon::readFirstLine(const QString& path, QString* line, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    QByteArray first = file.readLine();
    if (first.endsWith('\n'))
        first.chop(1);
    if (first.endsWith('\r'))
        first.chop(1);
    *line = QString::fromUtf8(first);
    return true;
}

int ToolCommon::fail(const QStringList& args, const QString& message, int code)
{
    err() << args.value(0) << ": " << message << "\n";
    err().flush();
    return code;
}

int ToolCommon::usageError(const QStringList& args, const QString& message)
{
    return fail(args, message, exitUsage);
}

int ToolCommon::inputError(const QStringList& args, const QString& message)
{
    return fail(args, message, exitNoInput);
}
