#ifndef APPLICATIONVERSION_H
#define APPLICATIONVERSION_H

#include <QJsonObject>
#include <QMap>
#include <QNetworkReply>
#include <QObject>
#include <QPair>
#include <QPointer>
#include <QSemaphore>
#include <QSet>
#include <QStringList>
#include <QThread>

#include <atomic>
#include <memory>

#include "applicationobject.h"
#include "libglobal.h"

class QNetworkAccessManager;
class QTemporaryFile;
class QuaZipFile;

// The update manager: the installed version of each component, the update server's
// status check and package download, and applying or rolling back a package.
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
    using HeaderRecords = QList<QPair<QString, QString>>;

    // Where a component's files live and which of them an update backs up and installs.
    struct ComponentFiles
    {
        QString installDir;
        QString backupPattern;
        QString installPattern;
        QString stagingDir;
        QString label;
    };
    ComponentFiles componentFiles(const QString& entry) const;

    void startJob(void (ApplicationVersion::*job)());
    void finishJob();
    void applyPackage();
    void rollbackPackage();
    QNetworkRequest updateRequest(const QString& path) const;
    QString replyFailure(QNetworkReply* reply) const;
    static void refuseReply(QNetworkReply* reply, const QString& reason);
    void appendDownload(QNetworkReply* reply);
    QString storeDownload(QNetworkReply* reply);
    bool applyHeader(const QByteArray& content);
    bool extractLibraryArchive();
    QString componentFailed(const QString& entry, const QString& reason);
    static bool readHeader(const QByteArray& content, HeaderRecords* records);

    QThread m_worker;
    QThread* m_home;
    // Apply and rollback touch the same files and versions: one at a time.
    QSemaphore m_packageJob{1};
    QMap<QString, ApplicationObject> m_registry;
    const QString m_keyApplication = QStringLiteral("kvApplication");
    const QString m_keyLibrary = QStringLiteral("kvLibrary");
    const QString m_keyManual = QStringLiteral("kvManual");
    const QString m_keyFaq = QStringLiteral("kvFAQ");
    const QString m_keyConfig = QStringLiteral("kvConfig");
    QString m_updateDir;
    QString m_configDir;
    QString m_updateFile;
    QString m_versionFile;
    QString m_lastStatus;
    int m_transferTimeout = defaultTransferTimeout;
    qint64 m_maximumPackageSize = defaultMaximumPackageSize;
    // The package as it arrives; it takes the place of the earlier one only when whole.
    std::unique_ptr<QTemporaryFile> m_download;
    QPointer<QNetworkAccessManager> m_checkManager;
    QPointer<QNetworkAccessManager> m_downloadManager;
    QPointer<QNetworkReply> m_downloadReply;
    QPointer<QNetworkReply> m_checkReply;
    std::atomic<bool> m_checkInFlight{false};
    // Within one apply: components whose files failed, and those the header advanced.
    QSet<QString> m_failedComponents;
    QSet<QString> m_advancedComponents;
};

#endif // APPLICATIONVERSION_H
