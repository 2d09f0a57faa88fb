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

#include <functional>
#include <vector>

class QIODevice;

// Writes a data set as the text export: one pretty-printed JSON object with
// Indonesian member names, every value a string ("" when absent or null). The
// subject parts come from the document map, the facility lists from the rows the
// facility data sources prepared in export mode.
class ExportWriter
{
public:
    // Hands the text on to a device in large pieces, so that an export is never held
    // whole in memory, and remembers whether the device took all of it.
    class DeviceStream
    {
    public:
        using Ch = char;
        explicit DeviceStream(QIODevice* device);
        void Put(char c)
        {
            m_buffer[m_used++] = c;
            if (m_used == m_buffer.size())
                Flush();
        }
        void Flush();
        bool failed() const { return m_failed; }

    private:
        QIODevice* m_device;
        std::vector<char> m_buffer;
        std::size_t m_used = 0;
        bool m_failed = false;
    };
    using Writer = rapidjson::PrettyWriter<DeviceStream>;
    // JSON key of the document, member name of the export.
    using KeyPairs = QList<QPair<QString, QString>>;
    using FacilityRows = QMap<FacilityRecords::Type, QList<QVariantMap>>;

    static void writeKeyValue(Writer& writer, const QString& key, const QVariant& value);
    static void writeObject(Writer& writer, const QString& name, const KeyPairs& pairs,
                            const QVariantMap& map);
    static void writeArray(Writer& writer, const QString& name, const KeyPairs& pairs,
                           const QVariantList& rows);

    // Writes the whole export of one data set to `device`, UTF-8 encoded; false when the
    // device did not take all of it.
    static bool exportTo(QIODevice* device, const QVariantMap& document,
                         const FacilityRows& facilities);
    // Puts what `write` writes in place of the file once all of it is written; `write`
    // returns false when the device did not take all of it. On failure the file is as it
    // was, and false comes with the reason in the user's words.
    static bool writeFile(const QString& path, const std::function<bool(QIODevice*)>& write,
                          QString* error);

private:
    static void writeMembers(Writer& writer, const KeyPairs& pairs, const QVariantMap& map);
    static void writeOfficerGroups(Writer& writer, const QVariantList& groups);
    static void writeFacilities(Writer& writer, const QString& name, FacilityRecords::Type type,
                                const QList<QVariantMap>& rows);
};

#endif // EXPORTWRITER_H
