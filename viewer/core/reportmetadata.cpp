#include "reportmetadata.h"

#include "qmapds.h"
#include "tavids.h"
#include "vardoversion.h"

#include <QStringList>

namespace ReportMetadata {

QString productName()
{
    return QStringLiteral("Vardo Viewer %1").arg(QStringLiteral(VARDO_VERSION));
}

LimeReport::PdfMetadata forDocument(const QString& title)
{
    return {title, productName(), productName()};
}

LimeReport::PdfMetadata forReport(const TAVIDs& dataSources)
{
    const QMapDs* header = dataSources.debtorType() == TAVIDs::individualType
                               ? dataSources.individualHeaderDs()
                               : dataSources.corporateHeaderDs();
    QString name;
    QString number;
    if (header && !header->cursor().records().isEmpty()) {
        const QVariantMap& row = header->cursor().records().first();
        name = row.value(QStringLiteral("identityNumberName")).toString().simplified();
        number = row.value(QStringLiteral("reportNumber")).toString().simplified();
    }
    // Either part alone still tells the reader which report this is.
    QStringList parts;
    if (!name.isEmpty())
        parts << name;
    if (!number.isEmpty())
        parts << QStringLiteral("Laporan %1").arg(number);
    return forDocument(parts.join(QStringLiteral(" - ")));
}

} // namespace ReportMetadata
