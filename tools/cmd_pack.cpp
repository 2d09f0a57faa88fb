// vardotool pack: the issuer side, writing a document from data-set files.

#include "documentencoder.h"
#include "toolcommon.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTextStream>

int runPack(const QStringList& args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Writes a .vardo document whose archive holds each FILE under its file name."));
    const QCommandLineOption minVersion(
        QStringLiteral("min-ver"),
        QStringLiteral("Lowest viewer version that may open the document."),
        QStringLiteral("X.Y.Z"));
    const QCommandLineOption noMarker(
        QStringLiteral("no-marker"),
        QStringLiteral("Write no metadata marker (no version check)."));
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("The document to write."),
                                    QStringLiteral("OUT.vardo"));
    parser.addOptions({minVersion, noMarker, output});
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("Data-set files."),
                                 QStringLiteral("FILE..."));
    QString password;
    const int parsed = ToolCommon::parseWithPassword(parser, args, &password);
    if (parsed != ToolCommon::proceed)
        return parsed;
    if (!parser.isSet(output) || parser.positionalArguments().isEmpty())
        return ToolCommon::usageError(args,
                                      QStringLiteral("need -o OUT.vardo and at least one FILE"));
    if (parser.isSet(minVersion) && parser.isSet(noMarker))
        return ToolCommon::usageError(args, QStringLiteral("--min-ver needs the marker"));
    const QString version = parser.value(minVersion);
    if (parser.isSet(minVersion) &&
        !QRegularExpression(QStringLiteral("^\\d+(\\.\\d+){0,2}$")).match(version).hasMatch())
        return ToolCommon::usageError(
            args, QStringLiteral("--min-ver wants X.Y.Z, not \"%1\"").arg(version));

    QList<DocumentEncoder::Entry> entries;
    for (const QString& path : parser.positionalArguments()) {
        // The entry is named after its file.
        if (ToolCommon::isStandardInput(path))
            return ToolCommon::usageError(args,
                                          QStringLiteral("a data set needs a file name, not -"));
        QByteArray content;
        QString error;
        if (!ToolCommon::readInput(path, &content, &error))
            return ToolCommon::inputError(args, error);
        entries.append({QFileInfo(path).fileName(), content});
    }

    const QString metadata =
        parser.isSet(minVersion) ? QStringLiteral("minVer=") + version : QString();
    const QByteArray document = DocumentEncoder::encode(
        DocumentEncoder::zipArchive(entries), password, !parser.isSet(noMarker), metadata);
    if (document.isEmpty())
        return ToolCommon::fail(
            args, QStringLiteral("this password makes no AES key: padded to 16 characters it must "
                                 "be 16, 24 or 32 bytes of UTF-8"));

    QSaveFile target(parser.value(output));
    if (!target.open(QIODevice::WriteOnly) || target.write(document) != document.size() ||
        !target.commit())
        return ToolCommon::fail(
            args,
            QStringLiteral("cannot write %1: %2").arg(parser.value(output), target.errorString()));
    return 0;
}
