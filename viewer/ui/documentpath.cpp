#include "documentpath.h"

#include <QUrl>

QString DocumentPath::fromUrlOrPath(const QString& text)
{
    // Cutting "file:///" off the text would turn a root-based path into a relative
    // one and leave escapes such as %20 in the name; the URL parser does neither.
    if (!text.startsWith(QLatin1String("file:")))
        return text;
    return QUrl(text).toLocalFile();
}
