#include "updateconnection.h"

#include "uiutils.h"

#include <QSettings>
#include <QtDebug>

#include <memory>

QString UpdateConnection::baseUrl(const QString& defaultAddress)
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
    const QString host = address.isEmpty() ? defaultAddress : address;
    const QString url =
        (ssl ? QStringLiteral("https://") : QStringLiteral("http://")) + host + portPart + pathPart;
    qDebug() << "configBaseUpdateUrl()" << url;
    return url;
}

QNetworkProxy UpdateConnection::proxy()
{
    const std::unique_ptr<QSettings> settings(UIUtils::getSettings());
    const QString address =
        settings->value(QStringLiteral("proxy/ip.address")).toString().trimmed();
    if (address.isEmpty())
        return QNetworkProxy(QNetworkProxy::NoProxy);
    bool portOk = false;
    const uint port = settings->value(QStringLiteral("proxy/port")).toString().toUInt(&portOk);
    QNetworkProxy proxy(QNetworkProxy::HttpProxy, address,
                        quint16(portOk && port <= 65535 ? port : 8080));
    if (settings->value(QStringLiteral("proxy/is.secured")).toString() == QLatin1String("true")) {
        proxy.setUser(
            UIUtils::decryptValue(settings->value(QStringLiteral("proxy/username")).toString()));
        proxy.setPassword(
            UIUtils::decryptValue(settings->value(QStringLiteral("proxy/password")).toString()));
    }
    return proxy;
}
