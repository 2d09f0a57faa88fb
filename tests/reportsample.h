#ifndef REPORTSAMPLE_H
#define REPORTSAMPLE_H

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QVariantMap>

// A data set as the population step gets it: the JSON text of one document entry,
// parsed into a variant map.
inline QVariantMap documentMap(const QByteArray& json)
{
    return QJsonDocument::fromJson(json).object().toVariantMap();
}

inline QByteArray sampleText(const QString& name)
{
    QFile file(QStringLiteral(TEST_SAMPLES "/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("sample %s missing", qPrintable(name));
    return file.readAll();
}

inline QVariantMap sampleMap(const QString& name)
{
    return documentMap(sampleText(name));
}

// The rows of one facility list of a subject, as the population step hands them on.
inline QVariantList facilityRows(const QVariantMap& subject, const QString& listKey)
{
    return subject.value(QStringLiteral("facility")).toMap().value(listKey).toList();
}

#endif // REPORTSAMPLE_H
