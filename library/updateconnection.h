#ifndef UPDATECONNECTION_H
#define UPDATECONNECTION_H

#include <QNetworkProxy>
#include <QString>

#include "libglobal.h"

// How the update server is reached, read afresh from the settings file for each
// request: its base URL from "update-online", and the proxy of the settings page.
class TAVI_VIEWER_EXPORT UpdateConnection
{
public:
    static QString baseUrl(const QString& defaultAddress);
    // The proxy named by "proxy/ip.address" and "proxy/port", with the stored user and
    // password when "proxy/is.secured" is "true"; no proxy when no address is set.
    static QNetworkProxy proxy();
};

#endif // UPDATECONNECTION_H
