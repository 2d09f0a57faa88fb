#ifndef DATASETJSON_H
#define DATASETJSON_H

#include <QByteArray>
#include <QVariantMap>

// Turns the JSON text of one data set into the document map the record builders read.
// The map holds the same keys, values and value types as
// QJsonDocument::fromJson(json).object().toVariantMap(), so a text that is no JSON
// object gives an empty map. Two things differ in how it is held: every key and every
// recurring text is one shared QString (StringPool), and the parsed tree is taken apart
// while it is converted, each part freed once its map or list is built, so that the
// parsed form and the whole map are never held together.
class DataSetJson
{
public:
    static QVariantMap parse(const QByteArray& json);
};

#endif // DATASETJSON_H
