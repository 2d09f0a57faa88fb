// The test update server as a program of its own, for tests that drive whole
// programs: it prints the port it listens on, then serves until it is killed.

#include "updateserver.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Local update server for tests"));
    parser.addHelpOption();
    const QCommandLineOption portOption(QStringLiteral("port"),
                                        QStringLiteral("Port to listen on (0: any free port)."),
                                        QStringLiteral("port"), QStringLiteral("0"));
    const QCommandLineOption packageOption(QStringLiteral("package"),
                                           QStringLiteral("Package file served on download."),
                                           QStringLiteral("file"));
    const QCommandLineOption outdatedOption(
        QStringLiteral("outdated"),
        QStringLiteral("Comma-separated component keys reported as out of date."),
        QStringLiteral("keys"));
    const QCommandLineOption modeOption(
        QStringLiteral("mode"), QStringLiteral("Normal, ServerError, NotJson, Reset or Stall."),
        QStringLiteral("mode"), QStringLiteral("Normal"));
    parser.addOptions({portOption, packageOption, outdatedOption, modeOption});
    parser.process(app);

    QTextStream err(stderr);
    UpdateServer server;
    bool known = false;
    server.setMode(UpdateServer::modeFromName(parser.value(modeOption), &known));
    if (!known) {
        err << "unknown mode " << parser.value(modeOption) << "\n";
        return 2;
    }
    if (parser.isSet(outdatedOption))
        server.setOutdated(
            parser.value(outdatedOption).split(QLatin1Char(','), Qt::SkipEmptyParts));
    if (parser.isSet(packageOption)) {
        QFile package(parser.value(packageOption));
        if (!package.open(QIODevice::ReadOnly)) {
            err << "cannot read " << package.fileName() << "\n";
            return 2;
        }
        server.setPackage(package.readAll());
    }
    if (!server.listen(quint16(parser.value(portOption).toUInt()))) {
        err << "cannot listen on port " << parser.value(portOption) << "\n";
        return 1;
    }
    QObject::connect(&server, &UpdateServer::requestReceived, &server, [&server, &err] {
        const UpdateServer::Request request = server.requests().constLast();
        err << request.method << ' ' << request.target << ' ' << request.body << "\n";
        err.flush();
    });
    QTextStream out(stdout);
    out << server.port() << "\n";
    out.flush();
    return app.exec();
}
