#include "applicationversion.h"

#include "common.h"
#include "platform.h"
#include "uiutils.h"
#include "vardoversion.h"

#include <QCoreApplication>
#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QSaveFile>
#include <QSettings>
#include <QTemporaryFile>
#include <QUrl>
#include <QtDebug>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

#include <exception>
#include <memory>

#ifndef VARDO_DEFAULT_UPDATE_SERVER
#error "VARDO_DEFAULT_UPDATE_SERVER must name the update server of the deployment"
#endif

namespace {

const QString headerEntry = QStringLiteral("header.xml");
const QString connectionFailure = QStringLiteral("Failed to Connect to Server : ");

bool writeWholeFile(const QString& path, const QByteArray& content, QString* error = nullptr)
{
    QSaveFile file(path);
    const bool written =
        file.open(QIODevice::WriteOnly) && file.write(content) == content.size() && file.commit();
    if (!written && error)
        *error = file.errorString();
    return written;
}

bool isUpdatePackage(const QString& path)
{
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdUnzip))
        return false;
    const bool hasHeader = zip.getFileNameList().contains(headerEntry);
    zip.close();
    return hasHeader;
}

// The versions from before an update, kept in its work directory: a rollback may run
// in a later process than the apply (the updater can be stopped in between), and a
// second run of the same package finds the new versions already installed. Like the
// backups, they belong to one package and go when another one arrives.
QString backupVersionsPath(const QString& updateDir)
{
    return updateDir + QStringLiteral("/versions.bak");
}

QJsonObject readBackupVersions(const QString& updateDir)
{
    QFile file(backupVersionsPath(updateDir));
    if (!file.open(QIODevice::ReadOnly))
        return QJsonObject();
    return QJsonDocument::fromJson(
               UIUtils::decryptValue(QString::fromUtf8(file.readAll())).toUtf8())
        .object();
}

bool writeBackupVersions(const QString& updateDir, const QJsonObject& versions)
{
    const QString json = QString::fromUtf8(QJsonDocument(versions).toJson(QJsonDocument::Compact));
    return writeWholeFile(backupVersionsPath(updateDir), UIUtils::encryptValue(json).toUtf8());
}

} // namespace

ApplicationVersion::ApplicationVersion(QObject* parent) : QObject(parent), m_home(thread())
{
    qRegisterMetaType<QNetworkReply::NetworkError>();
    qRegisterMetaType<QNetworkReply*>();

    const QString appDir = QCoreApplication::applicationDirPath();
    m_updateDir = appDir + QStringLiteral("/update");
    m_configDir = appDir + QStringLiteral("/config");
    m_updateFile = m_updateDir + QStringLiteral("/tavi-viewer.kvu");
    m_versionFile = m_configDir + QStringLiteral("/version.cfg");

    if (!QFile::exists(m_versionFile))
        initConfigFile();

    QString content;
    QFile file(m_versionFile);
    if (file.open(QIODevice::ReadOnly)) {
        content = QString::fromUtf8(file.readAll());
        file.close();
    }
    const QString decrypted = UIUtils::decryptValue(content);
    qDebug() << "version content " << decrypted;
    const QJsonDocument document = QJsonDocument::fromJson(decrypted.toUtf8());
    setJson(document.object());
    // A file that decrypts to something other than a version object is as unreadable
    // as one that does not decrypt at all.
    if (decrypted.isEmpty() || !document.isObject())
        initConfigFile();
}

ApplicationVersion::~ApplicationVersion()
{
    // A request still on its way (the window closed during a check) is dropped on the
    // thread its sockets belong to.
    for (QNetworkAccessManager* manager : {m_checkManager.data(), m_downloadManager.data()}) {
        if (!manager)
            continue;
        if (manager->thread() == QThread::currentThread() || !manager->thread()->isRunning())
            delete manager;
        else
            QMetaObject::invokeMethod(
                manager, [manager] { delete manager; }, Qt::BlockingQueuedConnection);
    }
    if (m_worker.isRunning()) {
        m_worker.quit();
        m_worker.wait();
    }
}

QString ApplicationVersion::defaultServerAddress()
{
    return QStringLiteral(VARDO_DEFAULT_UPDATE_SERVER);
}

QString ApplicationVersion::configFilename() const
{
    return m_versionFile;
}

QString ApplicationVersion::updateFilename() const
{
    return m_updateFile;
}

QString ApplicationVersion::updateDirname() const
{
    return m_updateDir;
}

QString ApplicationVersion::configBaseUpdateUrl() const
{
    const std::unique_ptr<QSettings> settings(UIUtils::getSettings());
    const QString address =
        settings->value(QStringLiteral("update-online/server.address")).toString();
    const int port = settings->value(QStringLiteral("update-online/port"), 80).toInt();
    const bool ssl = settings->value(QStringLiteral("update-online/is.ssl"), false).toBool();
    const QString path = settings->value(QStringLiteral("update-online/path")).toString();

    const QString pathPart = path.isEmpty() ? QString() : QLatin1Char('/') + path;
    const bool defaultPort = port == 0 || (ssl && port == 443) || (!ssl && port == 80);
    const QString portPart = defaultPort ? QString() : QLatin1Char(':') + QString::number(port);
    const QString host = address.isEmpty() ? defaultServerAddress() : address;
    const QString url =
        (ssl ? QStringLiteral("https://") : QStringLiteral("http://")) + host + portPart + pathPart;
    qDebug() << "configBaseUpdateUrl()" << url;
    return url;
}

QString ApplicationVersion::configOsCode()
{
    return QLatin1String(Platform::osCode);
}

QJsonObject ApplicationVersion::getJsonObject()
{
    QJsonObject object;
    for (const QString& key : {m_keyApplication, m_keyLibrary, m_keyManual, m_keyFaq, m_keyConfig})
        object.insert(key, m_registry[key].version);
    return object;
}

QByteArray ApplicationVersion::getJson()
{
    return QJsonDocument(getJsonObject()).toJson(QJsonDocument::Compact);
}

void ApplicationVersion::setJson(const QJsonObject& object)
{
    for (const QString& key : {m_keyApplication, m_keyLibrary, m_keyFaq, m_keyManual, m_keyConfig})
        setValue(key, object.value(key).toString());
}

void ApplicationVersion::sync()
{
    const QByteArray json = getJson();
    qDebug() << " sync() version " << json;
    const QString encrypted = UIUtils::encryptValue(QString::fromUtf8(json));
    Common::prepareDirectory(m_configDir);
    // Written through a temporary file: a crash mid-write must not cost the versions.
    writeWholeFile(m_versionFile, encrypted.toUtf8());
    qDebug() << " sync() complete";
}

QString ApplicationVersion::getValue(QString key)
{
    return m_registry[key].version;
}

void ApplicationVersion::setValue(QString key, QString version)
{
    m_registry[key].version = version;
}

void ApplicationVersion::backupValue(QString key)
{
    ApplicationObject& entry = m_registry[key];
    entry.backupVersion = entry.version;
}

void ApplicationVersion::restoreValue(QString key)
{
    ApplicationObject& entry = m_registry[key];
    // Without a backup there is nothing to go back to; blanking the version would
    // make the component look uninstalled.
    if (!entry.backupVersion.isEmpty())
        entry.version = entry.backupVersion;
}

void ApplicationVersion::initConfigFile()
{
    initStatuses();
    sync();
}

void ApplicationVersion::initStatuses()
{
    const QList<QPair<QString, QString>> defaults = {
        {m_keyApplication, QStringLiteral(VARDO_VERSION)},
        {m_keyLibrary, QStringLiteral("1.0.3")},
        {m_keyManual, QStringLiteral("1.0.0")},
        {m_keyFaq, QStringLiteral("1.0.0")},
        {m_keyConfig, QStringLiteral("1.0.0")},
    };
    m_registry.clear();
    for (const auto& component : defaults) {
        ApplicationObject entry;
        entry.version = component.second;
        entry.secondVersion = component.second;
        m_registry.insert(component.first, entry);
    }
}

QString ApplicationVersion::getCurrentVersion(QString key)
{
    const QString version = getValue(key);
    qDebug() << "componentName : " << key;
    qDebug() << "currentVersion : " << version;
    return version;
}

QString ApplicationVersion::getApplicationVersion()
{
    return getValue(m_keyApplication);
}

QString ApplicationVersion::lastStatus() const
{
    return m_lastStatus;
}

bool ApplicationVersion::isHasUpdate()
{
    const QJsonObject payload = QJsonDocument::fromJson(m_lastStatus.toUtf8()).object();
    for (auto it = payload.constBegin(); it != payload.constEnd(); ++it) {
        if (!it.value().toObject().value(QStringLiteral("latestStatus")).toBool())
            return true;
    }
    return false;
}

void ApplicationVersion::setTransferTimeout(int milliseconds)
{
    m_transferTimeout = milliseconds;
}

int ApplicationVersion::transferTimeout() const
{
    return m_transferTimeout;
}

void ApplicationVersion::setMaximumPackageSize(qint64 bytes)
{
    m_maximumPackageSize = bytes;
}

qint64 ApplicationVersion::maximumPackageSize() const
{
    return m_maximumPackageSize;
}

QNetworkRequest ApplicationVersion::updateRequest(const QString& path) const
{
    QNetworkRequest request(QUrl(configBaseUpdateUrl() + path));
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/json"));
    request.setTransferTimeout(m_transferTimeout);
    return request;
}

namespace {
const char* const refusalProperty = "vardoRefusal";
}

void ApplicationVersion::refuseReply(QNetworkReply* reply, const QString& reason)
{
    reply->setProperty(refusalProperty, reason);
    reply->abort();
}

QString ApplicationVersion::replyFailure(QNetworkReply* reply) const
{
    const QString refusal = reply->property(refusalProperty).toString();
    if (!refusal.isEmpty())
        return connectionFailure + refusal;
    // The transfer time-out aborts the reply, which Qt reports as a cancellation.
    if (reply->error() == QNetworkReply::OperationCanceledError)
        return connectionFailure + QStringLiteral("no answer within %1 ms").arg(m_transferTimeout);
    return connectionFailure + reply->errorString();
}

void ApplicationVersion::checkStatus()
{
    m_checkInFlight = true;
    // Parentless: the manager stays on the thread that sends the request even when
    // this object moves home before the manager's deferred deletion.
    m_checkManager = new QNetworkAccessManager;
    connect(m_checkManager, &QNetworkAccessManager::finished, this,
            &ApplicationVersion::statusFinished);
    m_checkReply =
        m_checkManager->post(updateRequest(QStringLiteral("/pub/kv/cekVersion")), getJson());
    connect(m_checkReply, &QNetworkReply::errorOccurred, this, &ApplicationVersion::networkError);
    connect(m_checkReply, &QNetworkReply::downloadProgress, this,
            &ApplicationVersion::checkProgress);
}

void ApplicationVersion::checkProgress(qint64 bytes, qint64 totalBytes)
{
    if (m_checkReply && qMax(bytes, totalBytes) > maximumStatusSize)
        refuseReply(
            m_checkReply,
            QStringLiteral("the status answer is larger than %1 bytes").arg(maximumStatusSize));
}

void ApplicationVersion::networkError(QNetworkReply::NetworkError code)
{
    Q_UNUSED(code)
    QNetworkReply* reply = qobject_cast<QNetworkReply*>(sender());
    if (!reply)
        reply = m_checkReply;
    if (!reply)
        return;
    const QString error = replyFailure(reply);
    qDebug() << error;
    emit onlineUpdateConnectionFailed(error);
}

void ApplicationVersion::statusFinished(QNetworkReply* reply)
{
    // A reply cut off by the time-out is closed; its body is empty.
    const QByteArray body = reply->isOpen() ? reply->readAll() : QByteArray();
    const QJsonObject payload =
        QJsonDocument::fromJson(body).object().value(QStringLiteral("payload")).toObject();
    if (m_checkManager)
        m_checkManager->deleteLater();
    m_checkManager = nullptr;
    m_checkReply = nullptr;
    m_checkInFlight = false;
    m_lastStatus = QString::fromUtf8(QJsonDocument(payload).toJson(QJsonDocument::Indented));
    qDebug() << "lastJsonReturned = " << m_lastStatus;
    finishJob();
    emit statusReturned(m_lastStatus);
}

void ApplicationVersion::downloadUpdateOnline(QString status)
{
    // The package is written to disk as it arrives rather than held in memory; it goes
    // beside the other temporary files of the user, so that nothing half-downloaded is
    // ever found in the update directory.
    m_download = std::make_unique<QTemporaryFile>(QDir::tempPath() +
                                                  QStringLiteral("/tavi-viewer-XXXXXX.kvu"));
    m_download->open();
    m_downloadManager = new QNetworkAccessManager;
    connect(m_downloadManager, &QNetworkAccessManager::finished, this,
            qOverload<QNetworkReply*>(&ApplicationVersion::downloadFinished));
    const QString path = QStringLiteral("/pub/kv/updateOnline?osCode=") + configOsCode();
    m_downloadReply = m_downloadManager->post(updateRequest(path), status.toLocal8Bit());
    connect(m_downloadReply, &QNetworkReply::downloadProgress, this,
            &ApplicationVersion::downloadProgress);
    connect(m_downloadReply, &QNetworkReply::readyRead, this,
            &ApplicationVersion::downloadReadyRead);
}

void ApplicationVersion::downloadProgress(qint64 bytes, qint64 totalBytes)
{
    emit downloadProgressReturned(bytes, totalBytes);
}

void ApplicationVersion::downloadReadyRead()
{
    if (m_downloadReply)
        appendDownload(m_downloadReply);
}

void ApplicationVersion::appendDownload(QNetworkReply* reply)
{
    if (!m_download || !reply->property(refusalProperty).isNull())
        return;
    const qint64 announced = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
    if (qMax(announced, m_download->size() + reply->bytesAvailable()) > m_maximumPackageSize) {
        refuseReply(
            reply,
            QStringLiteral("the update package is larger than %1 bytes").arg(m_maximumPackageSize));
        return;
    }
    const QByteArray chunk = reply->readAll();
    if (m_download->write(chunk) != chunk.size())
        refuseReply(reply, QStringLiteral("the update package could not be stored: ") +
                               m_download->errorString());
}

// Empty when the finished download is a package now in place of the earlier one.
QString ApplicationVersion::storeDownload(QNetworkReply* reply)
{
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->error() != QNetworkReply::NoError)
        return replyFailure(reply);
    if (status < 200 || status > 299)
        return connectionFailure +
               QStringLiteral("the server answered with HTTP status %1").arg(status);
    appendDownload(reply);
    if (!reply->property(refusalProperty).isNull())
        return replyFailure(reply);
    if (!m_download || !m_download->isOpen() || !m_download->flush())
        return QStringLiteral("The update package could not be stored: ") +
               (m_download ? m_download->errorString() : QString());
    if (!isUpdatePackage(m_download->fileName()))
        return QStringLiteral("The downloaded update package is not a zip archive with header.xml");

    Common::prepareDirectory(m_updateDir);
    // A new package starts a new update: backups of an earlier one do not belong to it.
    Common::removeDirectoryRecursively(m_updateDir + QStringLiteral("/backup"));
    QFile::remove(backupVersionsPath(m_updateDir));
    if (!Common::replaceFileContent(m_download->fileName(), m_updateFile))
        return QStringLiteral("The update package could not be stored in ") + m_updateDir;
    return QString();
}

void ApplicationVersion::downloadFinished(QNetworkReply* reply)
{
    if (m_downloadManager)
        m_downloadManager->deleteLater();
    m_downloadManager = nullptr;
    m_downloadReply = nullptr;

    // Only a complete, well-formed package may take the place of the earlier one.
    const QString failure = storeDownload(reply);
    m_download.reset();
    if (!failure.isEmpty()) {
        qDebug() << failure;
        emit onlineUpdateConnectionFailed(failure);
        return;
    }
    emit downloadFinished();
}

void ApplicationVersion::resetThread()
{
    if (m_worker.isRunning()) {
        m_worker.quit();
        // A quitting thread ignores start(); the next job must find it stopped.
        m_worker.wait();
    }
    m_worker.disconnect();
}

void ApplicationVersion::startJob(void (ApplicationVersion::*job)())
{
    resetThread();
    if (thread() != &m_worker)
        moveToThread(&m_worker);
    connect(&m_worker, &QThread::started, this, job);
    m_worker.start(QThread::InheritPriority);
}

void ApplicationVersion::finishJob()
{
    if (thread() == &m_worker)
        moveToThread(m_home);
}

void ApplicationVersion::checkStatusInBackground()
{
    // Stopping the worker now would drop the pending answer; it is on its way (the
    // transfer time-out bounds the wait), so this request is answered by it.
    if (m_checkInFlight.exchange(true)) {
        qDebug() << "ApplicationVersion::checkStatusInBackground a check is already running";
        return;
    }
    startJob(&ApplicationVersion::checkStatus);
}

void ApplicationVersion::applyUpdateInBackground()
{
    // Taken here rather than on the worker, so that a rollback asked for right after
    // this call already waits for the apply.
    m_packageJob.acquire();
    startJob(&ApplicationVersion::runApplyJob);
}

void ApplicationVersion::rollbackUpdateInBackground()
{
    qDebug() << "starting rollback in background";
    try {
        m_packageJob.acquire();
        startJob(&ApplicationVersion::runRollbackJob);
    } catch (const std::exception& e) {
        qDebug() << "error rollback in background";
        qFatal("Error while starting rollback update in background, Details: %s", e.what());
    }
    qDebug() << "finish rollback in background";
}

void ApplicationVersion::applyUpdate()
{
    m_packageJob.acquire();
    applyPackage();
    m_packageJob.release();
}

void ApplicationVersion::rollbackUpdate()
{
    m_packageJob.acquire();
    rollbackPackage();
    m_packageJob.release();
}

void ApplicationVersion::runApplyJob()
{
    applyPackage();
    m_packageJob.release();
    finishJob();
}

void ApplicationVersion::runRollbackJob()
{
    rollbackPackage();
    m_packageJob.release();
    finishJob();
}

void ApplicationVersion::waitForUpdate()
{
    const QString program =
        QCoreApplication::applicationDirPath() + QLatin1Char('/') + Platform::viewerProgram;
    while (!Common::checkFileIsWriteAble(program))
        QThread::msleep(10);
}

bool ApplicationVersion::prepareOfflineUpdate(QString path)
{
    Common::prepareDirectory(m_updateDir);
    if (QFileInfo(path).canonicalFilePath() == QFileInfo(m_updateFile).canonicalFilePath())
        return true;
    Common::removeDirectoryRecursively(m_updateDir + QStringLiteral("/backup"));
    QFile::remove(backupVersionsPath(m_updateDir));
    return Common::replaceFileContent(path, m_updateFile);
}

QStringList ApplicationVersion::getUpdateFilelist()
{
    QuaZip zip(m_updateFile);
    if (!zip.open(QuaZip::mdUnzip))
        return QStringList();
    QStringList names = zip.getFileNameList();
    zip.close();
    names.removeAll(headerEntry);
    return names;
}

namespace {

struct PackageEntry
{
    QString entry;
    QString fileName;
    QString category;
};

const QList<PackageEntry>& packageEntries()
{
    static const QList<PackageEntry> entries = {
        {QStringLiteral("kvApplication"), QLatin1String(Platform::viewerProgram),
         QStringLiteral("File Aplikasi")},
        {QStringLiteral("kvLibrary"), QStringLiteral("kvLibrary.zip"), QStringLiteral("Library")},
        {QStringLiteral("kvManual"), QStringLiteral("manual.lrxml"), QStringLiteral("Buku Manual")},
        {QStringLiteral("kvFAQ"), QStringLiteral("faq.lrxml"), QStringLiteral("FAQ")},
        {QStringLiteral("kvConfig"), QStringLiteral("config.ini"), QStringLiteral("Konfigurasi")},
        {headerEntry, headerEntry, QStringLiteral("Header")},
    };
    return entries;
}

PackageEntry findPackageEntry(const QString& entry)
{
    for (const PackageEntry& known : packageEntries()) {
        if (known.entry == entry)
            return known;
    }
    return {};
}

} // namespace

QString ApplicationVersion::getActualFileName(QString entry)
{
    return findPackageEntry(entry).fileName;
}

QString ApplicationVersion::getFileCategory(QString entry)
{
    return findPackageEntry(entry).category;
}

void ApplicationVersion::applyPackage()
{
    qDebug() << "ApplicationVersion::applyUpdate()";
    m_failedComponents.clear();
    m_advancedComponents.clear();
    QuaZip zip(m_updateFile);
    if (!zip.open(QuaZip::mdUnzip)) {
        qDebug() << "ApplicationVersion::applyUpdate() cannot open" << m_updateFile;
        return;
    }
    int position = 0;
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile(), ++position) {
        const QString entry = zip.getCurrentFileName();
        qDebug() << "filename" << entry;
        QuaZipFile file(&zip);
        file.open(QIODevice::ReadOnly);
        QString failure;
        if (extractFile(entry, file, &failure)) {
            if (failure.isEmpty())
                emit singleFileUpdateFinished(position, getFileCategory(entry));
            else
                emit singleFileUpdateFailed(position, getFileCategory(entry), failure);
        }
        file.close();
    }
    zip.close();
}

QString ApplicationVersion::componentFailed(const QString& entry, const QString& reason)
{
    qDebug() << "ApplicationVersion::extractFile failed" << entry << reason;
    m_failedComponents.insert(entry);
    // The header came first and already advanced this component: take that back.
    if (m_advancedComponents.remove(entry)) {
        restoreValue(entry);
        sync();
    }
    return reason;
}

bool ApplicationVersion::extractFile(QString entry, QuaZipFile& file, QString* failure)
{
    const QString actual = getActualFileName(entry);
    if (actual.isEmpty())
        return false;

    QString reason;
    const QByteArray content = file.isOpen() ? file.readAll() : QByteArray();
    const bool readable = file.isOpen() && file.getZipError() == UNZ_OK;
    Common::prepareDirectory(m_updateDir);
    QString writeError;
    const QString extracted = m_updateDir + QLatin1Char('/') + actual;
    const bool written = readable && writeWholeFile(extracted, content, &writeError);
    if (written && actual == QLatin1String(Platform::viewerProgram))
        QFile::setPermissions(extracted, QFile::permissions(extracted) | QFile::ExeOwner |
                                             QFile::ExeGroup | QFile::ExeOther);

    if (entry == headerEntry) {
        if (!written)
            reason = QStringLiteral("header.xml could not be extracted");
        else if (!applyHeader(content))
            reason = QStringLiteral("header.xml is not a version header");
    } else if (!written) {
        reason = componentFailed(
            entry, QStringLiteral("could not extract %1: %2").arg(actual, writeError));
    } else if (content.isEmpty()) {
        // No component is ever an empty file: installing one would leave the viewer
        // without its program, its documents or its settings.
        reason = componentFailed(entry, QStringLiteral("%1 is empty").arg(actual));
    } else if (actual == QLatin1String(Platform::viewerProgram) &&
               !Common::isDirectoryWritable(QCoreApplication::applicationDirPath())) {
        // The wait for the viewer to exit would never end: its file cannot be replaced
        // even once it is free.
        reason = componentFailed(entry, QStringLiteral("cannot write in ") +
                                            QCoreApplication::applicationDirPath());
    } else if (!backupFile(entry)) {
        // Without a complete backup the old files could not be restored: keep them.
        reason = componentFailed(
            entry, QStringLiteral("could not back up the files replaced by %1").arg(actual));
    } else {
        if (actual == QLatin1String(Platform::viewerProgram))
            waitForUpdate();
        if (entry == m_keyLibrary && !extractLibraryArchive())
            reason = componentFailed(entry,
                                     QStringLiteral("kvLibrary.zip is not a readable zip archive"));
        else if (!replaceFile(entry))
            reason = componentFailed(
                entry, QStringLiteral("could not replace the files of %1").arg(actual));
    }
    if (failure)
        *failure = reason;
    return true;
}

bool ApplicationVersion::readHeader(const QByteArray& content, HeaderRecords* records)
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

bool ApplicationVersion::applyHeader(const QByteArray& content)
{
    HeaderRecords records;
    if (!readHeader(content, &records))
        return false;
    QJsonObject saved = readBackupVersions(m_updateDir);
    for (const auto& record : records) {
        if (m_failedComponents.contains(record.first)) {
            qDebug() << "keep version '" << record.first << "' because its files were not replaced";
            continue;
        }
        backupValue(record.first);
        ApplicationObject& component = m_registry[record.first];
        if (saved.contains(record.first))
            component.backupVersion = saved.value(record.first).toString();
        else
            saved.insert(record.first, component.backupVersion);
        setValue(record.first, record.second);
        m_advancedComponents.insert(record.first);
        qDebug() << "set version '" << record.first << "'='" << record.second << "'";
    }
    // Kept before the new versions are written, so that no moment exists in which the
    // new versions are stored and the old ones are not.
    if (!writeBackupVersions(m_updateDir, saved))
        qWarning() << "the versions before this update could not be kept for a rollback";
    sync();
    return true;
}

bool ApplicationVersion::extractLibraryArchive()
{
    const QString libDir = m_updateDir + QStringLiteral("/lib");
    QuaZip archive(m_updateDir + QStringLiteral("/kvLibrary.zip"));
    if (!archive.open(QuaZip::mdUnzip))
        return false;
    Common::prepareDirectory(libDir);
    bool extracted = true;
    for (bool more = archive.goToFirstFile(); more; more = archive.goToNextFile()) {
        const QString name = archive.getCurrentFileName();
        // Libraries lie flat beside the program; a path in the name (including "..")
        // would write outside update/lib.
        if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) ||
            name == QLatin1String(".."))
            continue;
        qDebug() << "library filename " << name;
        QuaZipFile file(&archive);
        if (!file.open(QIODevice::ReadOnly)) {
            extracted = false;
            continue;
        }
        const QByteArray content = file.readAll();
        // An empty library would replace a working one with nothing that loads.
        extracted = !content.isEmpty() &&
                    writeWholeFile(libDir + QLatin1Char('/') + name, content) && extracted;
        file.close();
        qDebug() << "library filename " << name << " size " << content.size();
    }
    archive.close();
    return extracted;
}

ApplicationVersion::ComponentFiles ApplicationVersion::componentFiles(const QString& entry) const
{
    const QString appDir = QCoreApplication::applicationDirPath();
    const QString program = QLatin1String(Platform::viewerProgram);
    const QString libraries = QLatin1String(Platform::libraryPattern);
    if (entry == m_keyApplication)
        return {appDir, program, program, m_updateDir, QStringLiteral("**kvApplication**")};
    if (entry == m_keyLibrary)
        return {appDir, libraries, libraries, m_updateDir + QStringLiteral("/lib"),
                QStringLiteral("**kvLibrary**")};
    // The two documents share one pattern, so either entry installs both once extracted.
    if (entry == m_keyManual || entry == m_keyFaq)
        return {appDir + QStringLiteral("/documents"), QStringLiteral("*.lrxml"),
                QStringLiteral("*.lrxml"), m_updateDir, QStringLiteral("**kvManual kvFAQ**")};
    if (entry == m_keyConfig)
        return {m_configDir, QStringLiteral("*.ini"), QStringLiteral("config.ini"), m_updateDir,
                QStringLiteral("**kvConfig**")};
    return {};
}

bool ApplicationVersion::backupFile(QString entry)
{
    const ComponentFiles files = componentFiles(entry);
    if (files.installDir.isEmpty())
        return false;
    // The first copy of a file in this update is the one a rollback needs; a later
    // entry (or a second run of the same package) must not overwrite it with a file
    // this update already replaced.
    return Common::copyFileWithWildcard(files.installDir, files.backupPattern,
                                        m_updateDir + QStringLiteral("/backup"),
                                        Common::KeepExisting);
}

bool ApplicationVersion::replaceFile(QString entry)
{
    qDebug() << "ApplicationVersion::replaceFile" << entry;
    const ComponentFiles files = componentFiles(entry);
    if (files.installDir.isEmpty())
        return false;
    qDebug().noquote() << "ApplicationVersion::replaceFile " + files.label;
    return Common::copyFileWithWildcard(files.stagingDir, files.installPattern, files.installDir);
}

void ApplicationVersion::rollbackPackage()
{
    qDebug() << "starting rollback update";
    QuaZip zip(m_updateFile);
    if (zip.open(QuaZip::mdUnzip)) {
        int position = 0;
        for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile(), ++position) {
            const QString entry = zip.getCurrentFileName();
            if (rollbackFile(entry))
                emit rollbackFileUpdateFinished(position, getFileCategory(entry));
        }
        zip.close();
    }
    qDebug() << "finish rollback update";
}

bool ApplicationVersion::rollbackFile(QString entry)
{
    if (entry == headerEntry) {
        QFile file(m_updateDir + QLatin1Char('/') + headerEntry);
        HeaderRecords records;
        if (file.open(QIODevice::ReadOnly) && readHeader(file.readAll(), &records)) {
            const QJsonObject saved = readBackupVersions(m_updateDir);
            for (const auto& record : records) {
                if (saved.contains(record.first))
                    m_registry[record.first].backupVersion = saved.value(record.first).toString();
                restoreValue(record.first);
            }
            sync();
        }
        return true;
    }
    const ComponentFiles files = componentFiles(entry);
    if (files.installDir.isEmpty())
        return false;
    Common::copyFileWithWildcard(m_updateDir + QStringLiteral("/backup"), files.installPattern,
                                 files.installDir);
    return true;
}

void ApplicationVersion::cleanUpUpdate()
{
    Common::removeDirectoryRecursively(m_updateDir);
}
