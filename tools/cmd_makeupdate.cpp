// vardotool make-update: writes an update package (.kvu) for the updater.
//
// The package is a zip archive with one entry per component key and the version
// header "header.xml" after them: the updater's progress reaches 100 % on the last
// component only when the header comes after all of them. The manifest of these
// entries follows, and with --sign its signature, which the updater requires.

#include "updatemanifest.h"
#include "updatesigning.h"

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

#include <QBuffer>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSaveFile>
#include <QSet>
#include <QTextStream>

namespace {

struct PackageRequest
{
    QString output;
    QString secretKey;
    QMap<QString, QString> componentFiles; // component key -> source file
    QStringList libraryFiles;
    QList<QPair<QString, QString>> versions; // component key, version, in command-line order
};

// Single-file components in the order the updater applies them.
const QList<QPair<QString, QString>> singleFileOptions = {
    {QStringLiteral("--application"), QStringLiteral("kvApplication")},
    {QStringLiteral("--manual"), QStringLiteral("kvManual")},
    {QStringLiteral("--faq"), QStringLiteral("kvFAQ")},
    {QStringLiteral("--config"), QStringLiteral("kvConfig")},
};

const QStringList componentOrder = {QStringLiteral("kvApplication"), QStringLiteral("kvLibrary"),
                                    QStringLiteral("kvManual"), QStringLiteral("kvFAQ"),
                                    QStringLiteral("kvConfig")};

int usage(QTextStream& err)
{
    err << "usage: vardotool make-update -o OUT.kvu [--application FILE] [--library FILE...]\n"
           "                             [--manual FILE] [--faq FILE] [--config FILE]\n"
           "                             --version KEY=VERSION... [--sign SECRETKEYFILE]\n"
           "KEY is one of "
        << componentOrder.join(QStringLiteral(", "))
        << ".\n"
           "The package gets manifest.txt; --sign adds its signature (manifest.txt.minisig)\n"
           "made with a secret key saved without a password.\n";
    return 2;
}

QString optionKey(const QString& option)
{
    for (const auto& pair : singleFileOptions) {
        if (pair.first == option)
            return pair.second;
    }
    return QString();
}

bool isOption(const QString& arg)
{
    return arg.startsWith(QLatin1Char('-'));
}

// Returns an error text, or an empty text when the arguments make a valid request.
QString parseArguments(const QStringList& args, PackageRequest& request)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        const bool hasValue = i + 1 < args.size() && !isOption(args.at(i + 1));
        if (arg == QLatin1String("-o") || arg == QLatin1String("--sign") ||
            !optionKey(arg).isEmpty()) {
            if (!hasValue)
                return arg + QStringLiteral(" needs a file name");
            const QString value = args.at(++i);
            if (arg == QLatin1String("-o")) {
                request.output = value;
            } else if (arg == QLatin1String("--sign")) {
                request.secretKey = value;
            } else {
                const QString key = optionKey(arg);
                if (request.componentFiles.contains(key))
                    return arg + QStringLiteral(" given twice");
                request.componentFiles.insert(key, value);
            }
        } else if (arg == QLatin1String("--library") || arg == QLatin1String("--version")) {
            if (!hasValue)
                return arg + QStringLiteral(" needs at least one value");
            while (i + 1 < args.size() && !isOption(args.at(i + 1))) {
                const QString value = args.at(++i);
                if (arg == QLatin1String("--library")) {
                    request.libraryFiles << value;
                    continue;
                }
                const int eq = value.indexOf(QLatin1Char('='));
                const QString key = value.left(eq);
                const QString version = eq < 0 ? QString() : value.mid(eq + 1);
                if (!componentOrder.contains(key) || version.isEmpty())
                    return QStringLiteral(
                               "--version expects KEY=VERSION with a component key, not \"%1\"")
                        .arg(value);
                for (const auto& known : request.versions) {
                    if (known.first == key)
                        return QStringLiteral("--version for %1 given twice").arg(key);
                }
                request.versions << qMakePair(key, version);
            }
        } else {
            return QStringLiteral("unknown argument \"%1\"").arg(arg);
        }
    }
    if (request.output.isEmpty())
        return QStringLiteral("-o OUT.kvu is required");
    if (request.versions.isEmpty())
        return QStringLiteral("at least one --version KEY=VERSION is required");
    return QString();
}

bool readFile(const QString& path, QByteArray& content, QString& error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    content = file.readAll();
    return true;
}

bool addEntry(QuaZip& zip, const QString& name, const QByteArray& content, QString& error)
{
    QuaZipFile entry(&zip);
    if (!entry.open(QIODevice::WriteOnly, QuaZipNewInfo(name))) {
        error =
            QStringLiteral("cannot add entry %1 (zip error %2)").arg(name).arg(entry.getZipError());
        return false;
    }
    const bool written = entry.write(content) == content.size();
    entry.close();
    if (!written || entry.getZipError() != UNZ_OK) {
        error = QStringLiteral("cannot write entry %1").arg(name);
        return false;
    }
    return true;
}

// The library component is itself an archive of the library files, stored flat
// under their own names, since the updater installs only files lying directly
// in its extraction directory.
bool buildLibraryArchive(const QStringList& files, QByteArray& archive, QString& error)
{
    QBuffer buffer(&archive);
    QuaZip zip(&buffer);
    if (!zip.open(QuaZip::mdCreate)) {
        error = QStringLiteral("cannot create the library archive");
        return false;
    }
    QSet<QString> names;
    for (const QString& path : files) {
        const QString name = QFileInfo(path).fileName();
        if (names.contains(name)) {
            error = QStringLiteral("two library files are named %1").arg(name);
            return false;
        }
        names.insert(name);
        QByteArray content;
        if (!readFile(path, content, error) || !addEntry(zip, name, content, error))
            return false;
    }
    zip.close();
    return zip.getZipError() == UNZ_OK;
}

QByteArray buildHeader(const QList<QPair<QString, QString>>& versions)
{
    QDomDocument document(QStringLiteral("updateHeader"));
    QDomElement root = document.createElement(QStringLiteral("updateHeader"));
    document.appendChild(root);
    QDomElement list = document.createElement(QStringLiteral("components"));
    root.appendChild(list);
    for (const auto& pair : versions) {
        QDomElement record = document.createElement(QStringLiteral("component"));
        QDomElement key = document.createElement(QStringLiteral("key"));
        key.appendChild(document.createTextNode(pair.first));
        QDomElement version = document.createElement(QStringLiteral("version"));
        version.appendChild(document.createTextNode(pair.second));
        record.appendChild(key);
        record.appendChild(version);
        list.appendChild(record);
    }
    return document.toByteArray(2);
}

bool buildPackage(const PackageRequest& request, QByteArray& package, QString& error)
{
    QBuffer buffer(&package);
    QuaZip zip(&buffer);
    if (!zip.open(QuaZip::mdCreate)) {
        error = QStringLiteral("cannot create the package archive");
        return false;
    }
    QList<QPair<QString, QByteArray>> entries;
    for (const QString& key : componentOrder) {
        QByteArray content;
        if (key == QLatin1String("kvLibrary")) {
            if (request.libraryFiles.isEmpty())
                continue;
            if (!buildLibraryArchive(request.libraryFiles, content, error))
                return false;
        } else if (!request.componentFiles.contains(key)) {
            continue;
        } else if (!readFile(request.componentFiles.value(key), content, error)) {
            return false;
        }
        entries.append({key, content});
    }
    entries.append({QStringLiteral("header.xml"), buildHeader(request.versions)});
    const QByteArray manifest = UpdateSigning::manifestFor(entries, &error);
    if (manifest.isEmpty())
        return false;
    entries.append({UpdateManifest::fileName, manifest});
    if (!request.secretKey.isEmpty()) {
        QStringList versions;
        for (const auto& version : request.versions)
            versions << version.first + QLatin1Char('=') + version.second;
        const QByteArray signature = UpdateSigning::sign(
            manifest, request.secretKey,
            QStringLiteral("vardo update ") + versions.join(QLatin1Char(' ')), &error);
        if (signature.isEmpty())
            return false;
        entries.append({UpdateManifest::signatureName, signature});
    }
    for (const auto& entry : entries) {
        if (!addEntry(zip, entry.first, entry.second, error))
            return false;
    }
    zip.close();
    if (zip.getZipError() != UNZ_OK) {
        error = QStringLiteral("cannot finish the package archive");
        return false;
    }
    return true;
}

} // namespace

int runMakeUpdate(const QStringList& args)
{
    QTextStream err(stderr);
    const QStringList options = args.mid(1);
    if (options.contains(QStringLiteral("--help")) || options.contains(QStringLiteral("-h")))
        return usage(err);

    PackageRequest request;
    QString error = parseArguments(options, request);
    if (!error.isEmpty()) {
        err << "vardotool make-update: " << error << "\n";
        return usage(err);
    }

    QByteArray package;
    if (!buildPackage(request, package, error)) {
        err << "vardotool make-update: " << error << "\n";
        return 1;
    }
    // Written whole or not at all, so a failed run never leaves a half package
    // that the updater would try to apply.
    QSaveFile out(request.output);
    if (!out.open(QIODevice::WriteOnly) || out.write(package) != package.size() || !out.commit()) {
        err << "vardotool make-update: cannot write " << request.output << ": " << out.errorString()
            << "\n";
        return 1;
    }
    return 0;
}
