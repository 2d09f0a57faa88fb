#include "applicationversion.h"

#include "common.h"
#include "platform.h"
#include "transferguard.h"
#include "updateconnection.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkRequest>
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

} // namespace

ApplicationVersion::ApplicationVersion(QObject* parent)
    : QObject(parent), m_home(thread()),
      m_updateDir(QCoreApplication::applicationDirPath() + QStringLiteral("/update")),
      m_configDir(QCoreApplication::applicationDirPath() + QStringLiteral("/config")),
      m_updateFile(m_updateDir + QStringLiteral("/tavi-viewer.kvu")),
      m_versionFile(m_configDir + QStringLiteral("/version.cfg")), m_versions(m_versionFile),
      m_installer(m_versions, m_updateDir, [this] { waitForUpdate(); })
{
    qRegisterMetaType<QNetworkReply::NetworkError>();
    qRegisterMetaType<QNetworkReply*>();
    m_versions.load();
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
    return UpdateConnection::baseUrl(defaultServerAddress());
}

QString ApplicationVersion::configOsCode()
{
    return QLatin1String(Platform::osCode);
}

QJsonObject ApplicationVersion::getJsonObject()
{
    return m_versions.jsonObject();
}

QByteArray ApplicationVersion::getJson()
{
    return QJsonDocument(getJsonObject()).toJson(QJsonDocument::Compact);
}

void ApplicationVersion::setJson(const QJsonObject& object)
{
    m_versions.setJson(object);
}

void ApplicationVersion::sync()
{
    m_versions.sync();
}

QString ApplicationVersion::getValue(QString key)
{
    return m_versions.value(key);
}

void ApplicationVersion::setValue(QString key, QString version)
{
    m_versions.setValue(key, version);
}

void ApplicationVersion::backupValue(QString key)
{
    m_versions.backupValue(key);
}

void ApplicationVersion::restoreValue(QString key)
{
    m_versions.restoreValue(key);
}

void ApplicationVersion::initConfigFile()
{
    initStatuses();
    sync();
}

void ApplicationVersion::initStatuses()
{
    m_versions.initStatuses();
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

void ApplicationVersion::setCheckDeadline(int milliseconds)
{
    m_checkDeadline = milliseconds;
}

void ApplicationVersion::setMinimumTransferRate(qint64 bytesPerSecond, int windowMilliseconds)
{
    m_minimumRate = bytesPerSecond;
    m_rateWindow = windowMilliseconds;
}

void ApplicationVersion::setPackageLimits(const PackageVerifier::Limits& limits)
{
    m_limits = limits;
}

QNetworkRequest ApplicationVersion::updateRequest(const QString& path) const
{
    QNetworkRequest request(QUrl(configBaseUpdateUrl() + path));
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/json"));
    request.setTransferTimeout(m_transferTimeout);
    return request;
}

QNetworkAccessManager* ApplicationVersion::newManager()
{
    // Parentless: the manager stays on the thread that sends the request even when
    // this object moves home before the manager's deferred deletion.
    auto* manager = new QNetworkAccessManager;
    // The settings page's proxy; without an address the connection is direct.
    manager->setProxy(UpdateConnection::proxy());
    return manager;
}

QString ApplicationVersion::replyFailure(QNetworkReply* reply) const
{
    const QString reason = TransferGuard::reason(reply);
    if (!reason.isEmpty())
        return connectionFailure + reason;
    // The transfer time-out aborts the reply, which Qt reports as a cancellation.
    if (reply->error() == QNetworkReply::OperationCanceledError)
        return connectionFailure + QStringLiteral("no answer within %1 ms").arg(m_transferTimeout);
    return connectionFailure + reply->errorString();
}

void ApplicationVersion::checkStatus()
{
    m_checkInFlight = true;
    m_checkManager = newManager();
    connect(m_checkManager, &QNetworkAccessManager::finished, this,
            &ApplicationVersion::statusFinished);
    m_checkReply =
        m_checkManager->post(updateRequest(QStringLiteral("/pub/kv/cekVersion")), getJson());
    new TransferGuard(m_checkReply, m_checkDeadline, m_minimumRate, m_rateWindow);
    connect(m_checkReply, &QNetworkReply::errorOccurred, this, &ApplicationVersion::networkError);
    connect(m_checkReply, &QNetworkReply::downloadProgress, this,
            &ApplicationVersion::checkProgress);
}

void ApplicationVersion::checkProgress(qint64 bytes, qint64 totalBytes)
{
    if (m_checkReply && qMax(bytes, totalBytes) > maximumStatusSize)
        TransferGuard::giveUp(
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
    m_downloadCancelled = false;
    m_downloadManager = newManager();
    connect(m_downloadManager, &QNetworkAccessManager::finished, this,
            qOverload<QNetworkReply*>(&ApplicationVersion::downloadFinished));
    const QString path = QStringLiteral("/pub/kv/updateOnline?osCode=") + configOsCode();
    m_downloadReply = m_downloadManager->post(updateRequest(path), status.toLocal8Bit());
    new TransferGuard(m_downloadReply, defaultDownloadDeadline, m_minimumRate, m_rateWindow);
    connect(m_downloadReply, &QNetworkReply::downloadProgress, this,
            &ApplicationVersion::downloadProgress);
    connect(m_downloadReply, &QNetworkReply::readyRead, this,
            &ApplicationVersion::downloadReadyRead);
}

void ApplicationVersion::cancelDownload()
{
    if (!m_downloadReply)
        return;
    m_downloadCancelled = true;
    TransferGuard::giveUp(m_downloadReply, QStringLiteral("the download was cancelled"));
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
    if (!m_download || TransferGuard::isGivenUp(reply))
        return;
    const qint64 announced = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
    if (qMax(announced, m_download->size() + reply->bytesAvailable()) > m_maximumPackageSize) {
        TransferGuard::giveUp(
            reply,
            QStringLiteral("the update package is larger than %1 bytes").arg(m_maximumPackageSize));
        return;
    }
    const QByteArray chunk = reply->readAll();
    if (m_download->write(chunk) != chunk.size())
        TransferGuard::giveUp(reply, QStringLiteral("the update package could not be stored: ") +
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
    if (TransferGuard::isGivenUp(reply))
        return replyFailure(reply);
    if (!m_download || !m_download->isOpen() || !m_download->flush())
        return QStringLiteral("The update package could not be stored: ") +
               (m_download ? m_download->errorString() : QString());
    if (!storePackage(m_download->fileName()))
        return m_packageRefusal.isEmpty()
                   ? QStringLiteral("The update package could not be stored in ") + m_updateDir
                   : m_packageRefusal;
    return QString();
}

void ApplicationVersion::downloadFinished(QNetworkReply* reply)
{
    if (m_downloadManager)
        m_downloadManager->deleteLater();
    m_downloadManager = nullptr;
    m_downloadReply = nullptr;
    m_packageRefusal.clear();

    // Only a complete package signed by the trusted key may take the place of the
    // earlier one.
    const QString failure = storeDownload(reply);
    m_download.reset();
    if (m_downloadCancelled) {
        qDebug() << "ApplicationVersion::downloadFinished cancelled by the user";
        return;
    }
    if (!m_packageRefusal.isEmpty()) {
        emit updatePackageRefused(m_packageRefusal);
        return;
    }
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

PackageVerifier::Result ApplicationVersion::verifyPackage(const QString& path)
{
    const PackageVerifier::Result result = PackageVerifier(PackageVerifier::builtInKey(), m_limits)
                                               .verify(path, m_versions.versions());
    if (!result.accepted())
        qWarning() << "update package" << path << "refused:" << result.detail;
    return result;
}

QString ApplicationVersion::packageRefusal() const
{
    return m_packageRefusal;
}

// Puts a verified copy of `source` in place of the waiting package. The copy is
// checked rather than the source, so that what is checked is what stays.
bool ApplicationVersion::storePackage(const QString& source)
{
    Common::prepareDirectory(m_updateDir);
    const QString incoming = m_updateDir + QStringLiteral("/incoming.kvu");
    QFile::remove(incoming);
    if (!QFile::copy(source, incoming))
        return false;
    const PackageVerifier::Result verified = verifyPackage(incoming);
    if (!verified.accepted()) {
        QFile::remove(incoming);
        m_packageRefusal = verified.message();
        return false;
    }
    m_installer.forgetBackups();
    QFile::remove(declinedMarker());
    QFile::remove(m_updateFile);
    return QFile::rename(incoming, m_updateFile);
}

bool ApplicationVersion::prepareOfflineUpdate(QString path)
{
    m_packageRefusal.clear();
    if (QFileInfo(path).canonicalFilePath() == QFileInfo(m_updateFile).canonicalFilePath()) {
        const PackageVerifier::Result verified = verifyPackage(m_updateFile);
        if (verified.accepted()) {
            QFile::remove(declinedMarker());
            return true;
        }
        QFile::remove(m_updateFile);
        m_packageRefusal = verified.message();
        return false;
    }
    return QFileInfo(path).isFile() && storePackage(path);
}

QString ApplicationVersion::declinedMarker() const
{
    return m_updateDir + QStringLiteral("/declined");
}

QByteArray ApplicationVersion::packageHash() const
{
    QFile file(m_updateFile);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return QByteArray();
    return hash.result().toHex();
}

void ApplicationVersion::declineUpdate()
{
    // The marker names the package by its hash: one placed there later, by another
    // download or by an administrator, is nobody's declined package.
    const QByteArray hash = packageHash();
    QFile marker(declinedMarker());
    if (hash.isEmpty() || !marker.open(QIODevice::WriteOnly) || marker.write(hash) != hash.size())
        qWarning() << "the declined update cannot be remembered";
}

bool ApplicationVersion::isUpdateDeclined()
{
    QFile marker(declinedMarker());
    if (!marker.open(QIODevice::ReadOnly))
        return false;
    const QByteArray declined = marker.readAll();
    return !declined.isEmpty() && declined == packageHash();
}

QStringList ApplicationVersion::getUpdateFilelist()
{
    QuaZip zip(m_updateFile);
    if (!zip.open(QuaZip::mdUnzip))
        return QStringList();
    const QStringList entries = zip.getFileNameList();
    zip.close();
    // The components the updater will list as it installs them; the header, the
    // manifest and names it does not know produce no line.
    QStringList names;
    for (const QString& entry : entries) {
        if (entry != headerEntry && !getActualFileName(entry).isEmpty())
            names << entry;
    }
    return names;
}

QString ApplicationVersion::getActualFileName(QString entry)
{
    return PackageInstaller::fileName(entry);
}

QString ApplicationVersion::getFileCategory(QString entry)
{
    return PackageInstaller::category(entry);
}

void ApplicationVersion::applyPackage()
{
    qDebug() << "ApplicationVersion::applyUpdate()";
    // Checked again here, right before the first file is replaced: the package may
    // have been put in update/ by other hands than the viewer's.
    const PackageVerifier::Result verified = verifyPackage(m_updateFile);
    if (!verified.accepted()) {
        QFile::remove(m_updateFile);
        QFile::remove(declinedMarker());
        emit updatePackageRefused(verified.message());
        return;
    }
    m_installer.begin(verified, m_limits);
    QuaZip zip(m_updateFile);
    if (!zip.open(QuaZip::mdUnzip)) {
        qDebug() << "ApplicationVersion::applyUpdate() cannot open" << m_updateFile;
        emit updatePackageRefused(PackageVerifier::Result().message());
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
        if (file.isOpen())
            file.close();
    }
    zip.close();
}

bool ApplicationVersion::extractFile(QString entry, QuaZipFile& file, QString* failure)
{
    return m_installer.install(entry, file, failure);
}

bool ApplicationVersion::backupFile(QString entry)
{
    return m_installer.backup(entry);
}

bool ApplicationVersion::replaceFile(QString entry)
{
    return m_installer.replace(entry);
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
    return m_installer.rollback(entry);
}

void ApplicationVersion::cleanUpUpdate()
{
    Common::removeDirectoryRecursively(m_updateDir);
}
