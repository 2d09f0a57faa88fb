#include "uiutils.h"

#include "crypto.h"
#include "datalocation.h"

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSettings>
#include <QTextStream>
#include <QtDebug>

#include <memory>

UIUtils::UIUtils(QObject* parent) : QObject(parent) {}

QString UIUtils::getApplicationPath()
{
    return QCoreApplication::applicationDirPath();
}

QString UIUtils::readResourceFile(QString filename)
{
    QFile file(QLatin1Char(':') + filename);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        qDebug() << "could not open file for read";
        return QString();
    }
    QTextStream stream(&file);
    stream.setCodec("UTF-8");
    return stream.readAll();
}

QString UIUtils::settingsFilePath()
{
    return DataLocation::directory() + QStringLiteral("/config/config.ini");
}

QSettings* UIUtils::getSettings()
{
    return new QSettings(settingsFilePath(), QSettings::IniFormat);
}

QString UIUtils::getSettingValue(QString key)
{
    const std::unique_ptr<QSettings> settings(getSettings());
    return settings->value(key).toString();
}

void UIUtils::setSettingValue(QString key, QString value)
{
    const std::unique_ptr<QSettings> settings(getSettings());
    settings->setValue(key, value);
    settings->sync();
}

QString UIUtils::encryptValue(QString value)
{
    return crypto.encryptToString(value);
}

QString UIUtils::decryptValue(QString value)
{
    return crypto.decryptToString(value);
}

QPixmap UIUtils::setAlpha(QPixmap pixmap, float opacity)
{
    if (pixmap.isNull())
        return pixmap;
    QImage image(pixmap.size(), QImage::Format_ARGB32_Premultiplied);
    // A pixmap drawn for a scaled screen keeps its scale, so that it keeps its size.
    image.setDevicePixelRatio(pixmap.devicePixelRatio());
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setOpacity(qreal(opacity));
    painter.drawPixmap(0, 0, pixmap);
    painter.end();
    return QPixmap::fromImage(image);
}
