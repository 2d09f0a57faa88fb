#include "packageverifier.h"

#include <QCryptographicHash>
#include <QDomDocument>
#include <QSet>
#include <QStringList>
#include <QTemporaryFile>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

namespace {

const QString headerEntry = QStringLiteral("header.xml");
const QString libraryEntry = QStringLiteral("kvLibrary");
// Far above any real manifest, signature or header; a bigger one is not ours.
constexpr qint64 smallEntryCap = 1 << 20;

PackageVerifier::Result notAuthentic(const QString& detail)
{
    PackageVerifier::Result result;
    result.outcome = PackageVerifier::NotAuthentic;
    result.detail = detail;
    return result;
}

PackageVerifier::Result refused(const QString& detail, const QString& userReason)
{
    PackageVerifier::Result result;
    result.outcome = PackageVerifier::Refused;
    result.detail = detail;
    result.userReason = userReason;
    return result;
}

struct ArchiveEntry
{
    QString name;
    QByteArray sha256;
};

// Every entry of `zip` hashed in archive order, with the library archive kept in
// `library` when one is there. Empty `error` on success.
QList<ArchiveEntry> hashEntries(QuaZip& zip, const PackageVerifier::Limits& limits,
                                QTemporaryFile* library, QString* error)
{
    QList<ArchiveEntry> entries;
    qint64 total = 0;
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        const QString name = zip.getCurrentFileName();
        QuaZipFile file(&zip);
        if (!file.open(QIODevice::ReadOnly)) {
            *error = QStringLiteral("entry %1 cannot be read").arg(name);
            return {};
        }
        QIODevice* sink = nullptr;
        if (name == libraryEntry && library && library->open())
            sink = library;
        ArchiveEntry entry{name, QByteArray()};
        const qint64 cap = qMin(limits.entry, limits.package - total);
        qint64 length = 0;
        if (!PackageVerifier::streamEntry(file, cap, &entry.sha256, sink, error, &length))
            return {};
        total += length;
        entries.append(entry);
    }
    if (zip.getZipError() != UNZ_OK) {
        *error = QStringLiteral("the archive's directory cannot be read");
        return {};
    }
    return entries;
}

QByteArray entryContent(QuaZip& zip, const QString& name)
{
    if (!zip.setCurrentFile(name))
        return QByteArray();
    QuaZipFile file(&zip);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    const QByteArray content = file.read(smallEntryCap + 1);
    return content.size() > smallEntryCap ? QByteArray() : content;
}

bool hasPathPart(const QString& name)
{
    return name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) ||
           name == QLatin1String("..") || name == QLatin1String(".");
}

} // namespace

QString PackageVerifier::Result::message() const
{
    if (outcome == Refused)
        return QStringLiteral("Paket update tidak dapat digunakan: ") + userReason +
               QStringLiteral(" Aplikasi tidak diubah dan paket telah dihapus.");
    return QStringLiteral("Paket update tidak asli: tanda tangan atau isi paket tidak sesuai. "
                          "Aplikasi tidak diubah dan paket telah dihapus.");
}

QByteArray PackageVerifier::Result::hashOf(const QString& name) const
{
    for (const UpdateManifest::Line& line : manifest) {
        if (line.name == name)
            return line.sha256;
    }
    return QByteArray();
}

PackageVerifier::PackageVerifier(const QString& publicKey, Limits limits)
    : m_key(MinisignPublicKey::fromBase64(publicKey, &m_keyError)), m_limits(limits)
{
}

bool PackageVerifier::streamEntry(QuaZipFile& file, qint64 cap, QByteArray* sha256, QIODevice* sink,
                                  QString* error, qint64* streamed)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    QByteArray chunk(1 << 16, Qt::Uninitialized);
    qint64 length = 0;
    for (;;) {
        const qint64 read = file.read(chunk.data(), chunk.size());
        if (read < 0) {
            if (error)
                *error = QStringLiteral("entry %1 cannot be read").arg(file.getActualFileName());
            return false;
        }
        if (read == 0)
            break;
        length += read;
        if (length > cap) {
            if (error)
                *error = QStringLiteral("entry %1 is larger than %2 bytes")
                             .arg(file.getActualFileName())
                             .arg(cap);
            return false;
        }
        hash.addData(chunk.constData(), int(read));
        if (sink && sink->write(chunk.constData(), read) != read) {
            if (error)
                *error = QStringLiteral("entry %1 cannot be stored: %2")
                             .arg(file.getActualFileName(), sink->errorString());
            return false;
        }
    }
    // The archive's CRC is compared when the entry is closed at its end.
    file.close();
    if (file.getZipError() != UNZ_OK) {
        if (error)
            *error =
                QStringLiteral("entry %1 does not match its CRC").arg(file.getActualFileName());
        return false;
    }
    *sha256 = hash.result();
    if (streamed)
        *streamed = length;
    return true;
}

bool PackageVerifier::readHeader(const QByteArray& content, QList<QPair<QString, QString>>* records)
{
    QDomDocument document(QStringLiteral("updateHeader"));
    if (!document.setContent(content))
        return false;
    const QDomElement list = document.documentElement().firstChildElement();
    for (QDomElement record = list.firstChildElement(); !record.isNull();
         record = record.nextSiblingElement()) {
        const QDomElement key = record.firstChildElement();
        const QDomElement version = key.nextSiblingElement();
        records->append({key.text(), version.text()});
    }
    return true;
}

int PackageVerifier::compareVersions(const QString& a, const QString& b, bool* ok)
{
    const QStringList left = a.split(QLatin1Char('.'));
    const QStringList right = b.split(QLatin1Char('.'));
    *ok = true;
    for (int i = 0; i < qMax(left.size(), right.size()); ++i) {
        bool leftOk = true;
        bool rightOk = true;
        // A missing part counts as 0, so that 1.2 and 1.2.0 are the same version.
        const QString leftPart = left.value(i, QStringLiteral("0"));
        const QString rightPart = right.value(i, QStringLiteral("0"));
        for (const QString& part : {leftPart, rightPart}) {
            for (QChar c : part) {
                if (!c.isDigit() || c.unicode() > '9')
                    *ok = false;
            }
            if (part.isEmpty())
                *ok = false;
        }
        const qulonglong l = leftPart.toULongLong(&leftOk);
        const qulonglong r = rightPart.toULongLong(&rightOk);
        if (!*ok || !leftOk || !rightOk) {
            *ok = false;
            return 0;
        }
        if (l != r)
            return l < r ? -1 : 1;
    }
    return 0;
}

PackageVerifier::Result PackageVerifier::verify(const QString& packagePath,
                                                const QMap<QString, QString>& installed) const
{
    if (!m_key.isValid())
        return notAuthentic(QStringLiteral("no trusted key: ") + m_keyError);

    QuaZip zip(packagePath);
    if (!zip.open(QuaZip::mdUnzip))
        return notAuthentic(QStringLiteral("the package is not a zip archive"));

    const QList<QuaZipFileInfo64> infos = zip.getFileInfoList64();
    qint64 announced = 0;
    for (const QuaZipFileInfo64& info : infos) {
        announced += qint64(info.uncompressedSize);
        if (qint64(info.uncompressedSize) > m_limits.entry || announced > m_limits.package)
            return refused(QStringLiteral("the package is larger than the limits allow"),
                           QStringLiteral("paket melebihi batas ukuran."));
    }

    const QByteArray manifestText = entryContent(zip, UpdateManifest::fileName);
    const QByteArray signatureText = entryContent(zip, UpdateManifest::signatureName);
    if (manifestText.isEmpty() || signatureText.isEmpty())
        return notAuthentic(QStringLiteral("the package carries no signed manifest"));
    Minisignature signature;
    QString error;
    if (!Minisignature::parse(signatureText, &signature, &error) ||
        !signature.verify(m_key, manifestText, &error))
        return notAuthentic(QStringLiteral("manifest signature: ") + error);
    Result result;
    if (!UpdateManifest::parse(manifestText, &result.manifest, &error))
        return notAuthentic(error);

    QTemporaryFile library;
    const QList<ArchiveEntry> entries = hashEntries(zip, m_limits, &library, &error);
    if (!error.isEmpty())
        return notAuthentic(error);

    QSet<QString> seen;
    for (const ArchiveEntry& entry : entries) {
        if (entry.name == UpdateManifest::fileName || entry.name == UpdateManifest::signatureName)
            continue;
        if (seen.contains(entry.name))
            return notAuthentic(QStringLiteral("the package holds %1 twice").arg(entry.name));
        seen.insert(entry.name);
        const QByteArray listed = result.hashOf(entry.name);
        if (listed.isEmpty())
            return notAuthentic(QStringLiteral("%1 is not in the manifest").arg(entry.name));
        if (listed != entry.sha256)
            return notAuthentic(
                QStringLiteral("%1 is not the file that was signed").arg(entry.name));
    }
    if (!seen.contains(headerEntry))
        return notAuthentic(QStringLiteral("the package has no header.xml"));

    QSet<QString> libraries;
    if (seen.contains(libraryEntry)) {
        library.close();
        QuaZip inner(library.fileName());
        if (!inner.open(QuaZip::mdUnzip))
            return refused(QStringLiteral("kvLibrary is not a zip archive"),
                           QStringLiteral("arsip library tidak dapat dibaca."));
        const QList<ArchiveEntry> files = hashEntries(inner, m_limits, nullptr, &error);
        if (!error.isEmpty())
            return notAuthentic(QStringLiteral("kvLibrary: ") + error);
        for (const ArchiveEntry& file : files) {
            // A name with a path part is never installed (libraries lie flat beside
            // the program), so it is not part of what the signature must cover.
            if (hasPathPart(file.name))
                continue;
            const QString name = UpdateManifest::libraryPrefix + file.name;
            if (libraries.contains(name))
                return notAuthentic(QStringLiteral("kvLibrary holds %1 twice").arg(file.name));
            libraries.insert(name);
            if (result.hashOf(name) != file.sha256)
                return notAuthentic(
                    QStringLiteral("%1 is not a library that was signed").arg(file.name));
        }
    }
    for (const UpdateManifest::Line& line : result.manifest) {
        if (!seen.contains(line.name) && !libraries.contains(line.name))
            return notAuthentic(QStringLiteral("%1 is listed but missing").arg(line.name));
    }

    if (!readHeader(entryContent(zip, headerEntry), &result.versions))
        return refused(QStringLiteral("header.xml is not a version header"),
                       QStringLiteral("header versi tidak dapat dibaca."));
    for (const auto& record : result.versions) {
        bool ok = true;
        compareVersions(record.second, record.second, &ok);
        if (!ok)
            return refused(QStringLiteral("version %1 of %2 is not a version number")
                               .arg(record.second, record.first),
                           QStringLiteral("versi %1 untuk %2 bukan nomor versi.")
                               .arg(record.second, record.first));
        const QString current = installed.value(record.first);
        bool comparable = true;
        if (!current.isEmpty() && compareVersions(record.second, current, &comparable) < 0 &&
            comparable)
            return refused(QStringLiteral("version %1 of %2 is lower than the installed %3")
                               .arg(record.second, record.first, current),
                           QStringLiteral("versi %1 untuk %2 lebih rendah dari versi terpasang %3.")
                               .arg(record.second, record.first, current));
    }
    zip.close();
    result.outcome = Accepted;
    return result;
}
