#include "datasetjson.h"

#include "stringpool.h"

#include <QCborArray>
#include <QCborMap>
#include <QCborValue>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace {

// Converts a parsed tree it owns alone, taking each member or element out before
// converting it, so that each part is freed as soon as it is converted. Parts are taken
// from the end, where removing them moves nothing. The maps and lists are emptied in
// place: they cannot be moved, and a second owner would make every removal copy them.
class Converter
{
public:
    QVariantMap map(QCborMap& source);
    QVariantList list(QCborArray& source);
    QVariant value(QCborValue source);

private:
    StringPool m_pool;
};

QVariantMap Converter::map(QCborMap& source)
{
    QVariantMap target;
    while (!source.isEmpty()) {
        const QCborMap::Iterator last = source.end() - 1;
        const QString key = m_pool.shared(last.key().toString());
        target.insert(key, value(source.extract(last)));
    }
    return target;
}

QVariantList Converter::list(QCborArray& source)
{
    QVariantList target;
    target.reserve(int(source.size()));
    while (!source.isEmpty())
        target.append(value(source.takeLast()));
    std::reverse(target.begin(), target.end());
    return target;
}

QVariant Converter::value(QCborValue source)
{
    switch (source.type()) {
    case QCborValue::Map: {
        QCborMap part = source.toMap();
        // The value's own reference would make taking from the map copy it.
        source = QCborValue();
        return map(part);
    }
    case QCborValue::Array: {
        QCborArray part = source.toArray();
        source = QCborValue();
        return list(part);
    }
    case QCborValue::String:
        return m_pool.shared(source.toString());
    default:
        // Numbers, booleans and null as the JSON object's own conversion gives them.
        return source.toVariant();
    }
}

} // namespace

QVariantMap DataSetJson::parse(const QByteArray& json)
{
    QJsonDocument document = QJsonDocument::fromJson(json);
    // The map shares the document's tree; dropping the document leaves it the only owner.
    QCborMap root = QCborMap::fromJsonObject(document.object());
    document = QJsonDocument();
    return Converter().map(root);
}
