#ifndef EXPORTWRITER_H
#define EXPORTWRITER_H

#include "facilityrecords.h"

#include <QList>
#include <QMap>
#include <QPair>
#include <QString>
#include <QVariant>
#include <QVariantMap>

#include <rapidjson/prettywriter.h>
#include <rapidjson/stringbuffer.h>

// Writes a data set as the text export: one pretty-printed JSON object with
// Indonesian member names, every value a string ("" when absent or null). The
// subject parts come from the document map, the facility lists from the rows the
// facility data sources prepared in export mode.
class ExportWriter
{
public:
    using Writer = rapidjson::PrettyWriter<rapidjson::StringBuffer>;
    // JSON key of the document, member name of the export.
    using KeyPairs = QList<QPair<QString, QString>>;
    using FacilityRows = QMap<FacilityRecords::Type, QList<QVariantMap>>;

    static void writeKeyValue(Writer& writer, const QString& key, const QVariant& value);
    static void writeObject(Writer& writer, const QString& name, const KeyPairs& pairs,
                            const QVariantMap& map);
    static void writeArray(Writer& writer, const QString& name, const KeyPairs& pairs,
                           const QVariantList& rows);

    // The whole export of one data set, UTF-8 encoded.
    static QByteArray exportText(const QVariantMap& document, const FacilityRows& facilities);
    // Replaces the file's content with `text`; false with the reason when it fails.
    static bool writeFile(const QString& path, const QByteArray& text, QString* error);

private:
    static void writeMembers(Writer& writer, const KeyPairs& pairs, const QVariantMap& map);
    static void writeOfficerGroups(Writer& writer, const QVariantList& groups);
    static void writeFacilities(Writer& writer, const QString& name, FacilityRecords::Type type,
                                const QList<QVariantMap>& rows);
};

#endif // EXPORTWRITER_H
