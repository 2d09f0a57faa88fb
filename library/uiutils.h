#ifndef UIUTILS_H
#define UIUTILS_H

#include <QObject>
#include <QPixmap>
#include <QString>

#include "libglobal.h"

class QSettings;

// The settings file config/config.ini and a few helpers for the QML screens, which
// reach the first six operations through an instance in their context.
class TAVI_VIEWER_EXPORT UIUtils : public QObject
{
    Q_OBJECT
public:
    explicit UIUtils(QObject* parent = nullptr);

    Q_INVOKABLE static QString getApplicationPath();
    Q_INVOKABLE static QString readResourceFile(QString filename);
    Q_INVOKABLE static QString getSettingValue(QString key);
    Q_INVOKABLE static void setSettingValue(QString key, QString value);
    Q_INVOKABLE static QString encryptValue(QString value);
    Q_INVOKABLE static QString decryptValue(QString value);

    // A new settings object on the file; the caller deletes it.
    static QSettings* getSettings();
    static QString settingsFilePath();
    static QPixmap setAlpha(QPixmap pixmap, float opacity);
};

#endif // UIUTILS_H
