#ifndef APPLICATIONVERSION_H
#define APPLICATIONVERSION_H

#include <QJsonObject>
#include <QMap>
#include <QNetworkReply>
#include <QObject>
#include <QPair>
#include <QPointer>
#include <QSemaphore>
#include <QStringList>
#include <QThread>

#include <atomic>
#include <memory>

#include "libglobal.h"
#include "packageinstaller.h"
#include "packageverifier.h"
#include "versionregistry.h"

class QNetworkAccessManager;
class QTemporaryFile;
class QuaZipFile;

// The update manager: the installed version of each component (VersionRegistry),
// the update server's status check and package download, the check that a package
// is signed and may be installed (PackageVerifier), and applying or rolling it back
// (PackageInstaller).
//
// A background job moves the manager onto its worker thread and reports through
// queued signals; when the job ends the manager moves back to the thread that made
// it, so that its owner can call it directly again and destroy it safely.
class TAVI_VIEWER_EXPORT ApplicationVersion : public QObject
{
    Q_OBJECT
public:
    explicit ApplicationVersion(QObject* parent = nullptr);
    ~ApplicationVersion() override;

    // The server used when the settings name none; fixed when the library is built.
    static QString defaultServerAddress();
    static constexpr int defaultTransferTimeout = 30000;
    // A status check ends within a minute; a download may take longer, but not at a
    // crawl: below 1 KB/s over half a minute it is given up.
    static constexpr int defaultCheckDeadline = 60000;
    static constexpr int defaultDownloadDeadline = 3600000;
    static constexpr qint64 defaultMinimumRate = 1024;
    static constexpr int defaultRateWindow = 30000;
    // Larger answers are refused while they arrive, before they fill the disk: a
    // package holds the program and its libraries, a status a few lines of JSON.
    static constexpr qint64 defaultMaximumPackageSize = qint64(1) << 30;
    static constexpr qint64 maximumStatusSize = 1 << 20;

    QString configFilename() const;
    QString updateFilename() const;
    QString updateDirname() const;
    QString configBaseUpdateUrl() const;
    static QString configOsCode();

    QJsonObject getJsonObject();
    QByteArray getJson();
    void setJson(const QJsonObject& object);
    void sync();
    QString getValue(QString key);
    void setValue(QString key, QString version);
    void backupValue(QString key);
    void restoreValue(QString key);
    void initConfigFile();
    void initStatuses();
    QString getCurrentVersion(QString key);
    QString getApplicationVersion();
    bool isHasUpdate();
    QString lastStatus() const;
    void downloadUpdateOnline(QString status);
    void resetThread();
    void waitForUpdate();

    // Milliseconds without any data after which a request is given up.
    void setTransferTimeout(int milliseconds);
    int transferTimeout() const;
    void setMaximumPackageSize(qint64 bytes);
    qint64 maximumPackageSize() const;
    void setCheckDeadline(int milliseconds);
    // Bytes per second below which a transfer, measured over each window, is given up.
    void setMinimumTransferRate(qint64 bytesPerSecond, int windowMilliseconds);
    void setPackageLimits(const PackageVerifier::Limits& limits);

    // Checks a package against the trusted key and the installed versions.
    PackageVerifier::Result verifyPackage(const QString& path);
    // What the user reads about the last package refused by prepareOfflineUpdate.
    QString packageRefusal() const;
    // The user answered that the waiting package is not to be applied now: the
    // updater then leaves it alone until the viewer offers it again.
    void declineUpdate();
    bool isUpdateDeclined();
    // Stops a download; the package from before stays, and nothing is reported.
    void cancelDownload();

    bool prepareOfflineUpdate(QString path);
    QStringList getUpdateFilelist();
    static QString getFileCategory(QString entry);
    static QString getActualFileName(QString entry);
    // True when the entry is a known one. When it could not be applied, `failure`
    // receives the reason (and stays empty otherwise).
    bool extractFile(QString entry, QuaZipFile& file, QString* failure = nullptr);
    bool backupFile(QString entry);
    bool replaceFile(QString entry);
    bool rollbackFile(QString entry);
    void cleanUpUpdate();

signals:
    void statusReturned(QString result);
    void downloadProgressReturned(qint64 bytes, qint64 totalBytes);
    void downloadFinished();
    void singleFileUpdateFinished(int filePos, QString category);
    void rollbackFileUpdateFinished(int filePos, QString category);
    void onlineUpdateConnectionFailed(QString error);
    // Emitted instead of singleFileUpdateFinished for an entry whose files could not
    // be replaced; its component keeps its old version.
    void singleFileUpdateFailed(int filePos, QString category, QString reason);
    // A downloaded or waiting package was refused (not authentic, or not to be
    // installed here); `message` is what the user reads. Nothing was changed.
    void updatePackageRefused(QString message);

public slots:
    void checkStatusInBackground();
    void checkStatus();
    void applyUpdateInBackground();
    void applyUpdate();
    void rollbackUpdateInBackground();
    void rollbackUpdate();
    void networkError(QNetworkReply::NetworkError code);
    void statusFinished(QNetworkReply* reply);
    void downloadProgress(qint64 bytes, qint64 totalBytes);
    void downloadFinished(QNetworkReply* reply);

private slots:
    void checkProgress(qint64 bytes, qint64 totalBytes);
    void downloadReadyRead();
    void runApplyJob();
    void runRollbackJob();

private:
    void startJob(void (ApplicationVersion::*job)());
    void finishJob();
    void applyPackage();
    void rollbackPackage();
    QNetworkAccessManager* newManager();
    QNetworkRequest updateRequest(const QString& path) const;
    QString replyFailure(QNetworkReply* reply) const;
    void appendDownload(QNetworkReply* reply);
    QString storeDownload(QNetworkReply* reply);
    bool storePackage(const QString& source);
    QString declinedMarker() const;
    QByteArray packageHash() const;

    QThread m_worker;
    QThread* m_home;
    // Apply and rollback touch the same files and versions: one at a time.
    QSemaphore m_packageJob{1};
    const QString m_keyApplication = QStringLiteral("kvApplication");
    QString m_updateDir;
    QString m_configDir;
    QString m_updateFile;
    QString m_versionFile;
    VersionRegistry m_versions;
    PackageInstaller m_installer;
    PackageVerifier::Limits m_limits;
    QString m_lastStatus;
    QString m_packageRefusal;
    int m_transferTimeout = defaultTransferTimeout;
    int m_checkDeadline = defaultCheckDeadline;
    qint64 m_minimumRate = defaultMinimumRate;
    int m_rateWindow = defaultRateWindow;
    qint64 m_maximumPackageSize = defaultMaximumPackageSize;
    // The package as it arrives; it takes the place of the earlier one only when whole.
    std::unique_ptr<QTemporaryFile> m_download;
    QPointer<QNetworkAccessManager> m_checkManager;
    QPointer<QNetworkAccessManager> m_downloadManager;
    QPointer<QNetworkReply> m_downloadReply;
    QPointer<QNetworkReply> m_checkReply;
    std::atomic<bool> m_checkInFlight{false};
    bool m_downloadCancelled = false;
};

#endif // APPLICATIONVERSION_H
