#include "datasetjson.h"

#include "stringpool.h"

#include <QCborArray>
#include <QCborMap>
#include <QCborValue>
#include <QJsonDocument>
#include <QJsonObject>

#include <rapidjson/memorystream.h>
#include <rapidjson/reader.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

namespace {

// The deepest nesting of objects and arrays QJsonDocument reads.
constexpr std::size_t deepestNesting = 1024;

// Builds the map straight from the text, event by event, so that no parsed form is held
// beside it. It reads strict JSON only and declines everything else (returning false
// from an event stops the reader); QJsonDocument, which is more lenient in places, then
// decides on such a text.
class TreeBuilder : public rapidjson::BaseReaderHandler<rapidjson::UTF8<>, TreeBuilder>
{
public:
    explicit TreeBuilder(StringPool& pool) : m_pool(pool) {}

    QVariantMap takeRoot();

    bool Null() { return add(QVariant::fromValue(nullptr)); }
    bool Bool(bool value) { return add(value); }
    bool Int(int value) { return add(qlonglong(value)); }
    bool Uint(unsigned value) { return add(qlonglong(value)); }
    bool Int64(int64_t value) { return add(qlonglong(value)); }
    bool Uint64(uint64_t value);
    bool Double(double value);
    bool String(const char* text, rapidjson::SizeType length, bool);
    bool Key(const char* text, rapidjson::SizeType length, bool);
    bool StartObject() { return open(true); }
    bool EndObject(rapidjson::SizeType) { return close(); }
    bool StartArray() { return open(false); }
    bool EndArray(rapidjson::SizeType) { return close(); }

private:
    struct Level
    {
        bool isMap;
        QVariantMap map;
        QVariantList list;
        QString key;
    };

    bool add(const QVariant& value);
    bool open(bool isMap);
    bool close();
    bool text(const char* utf8, rapidjson::SizeType length, QString* out);

    StringPool& m_pool;
    std::vector<Level> m_levels;
    QVariant m_root;
};

QVariantMap TreeBuilder::takeRoot()
{
    // A text whose top level is no object gives an empty map, as QJsonDocument's does.
    const QVariantMap root =
        m_root.userType() == QMetaType::QVariantMap ? m_root.toMap() : QVariantMap();
    m_root = QVariant();
    return root;
}

bool TreeBuilder::Uint64(uint64_t value)
{
    if (value <= uint64_t(std::numeric_limits<qint64>::max()))
        return add(qlonglong(value));
    return add(double(value));
}

bool TreeBuilder::Double(double value)
{
    // QJsonDocument keeps a whole number that fits in 64 bits as an integer however it
    // is written (5.0, 1e2, -0.0).
    const double limit = 9223372036854775808.0;
    if (value >= -limit && value < limit && value == double(qint64(value)))
        return add(qlonglong(value));
    return add(value);
}

bool TreeBuilder::text(const char* utf8, rapidjson::SizeType length, QString* out)
{
    // An escaped lone surrogate comes out as the three-byte form of a surrogate, which
    // UTF-8 text cannot hold; QJsonDocument keeps such a surrogate as it is.
    for (const char* at = static_cast<const char*>(std::memchr(utf8, '\xed', length)); at;
         at = static_cast<const char*>(
             std::memchr(at + 1, '\xed', length - std::size_t(at + 1 - utf8)))) {
        if (at + 1 < utf8 + length && static_cast<unsigned char>(at[1]) >= 0xa0)
            return false;
    }
    *out = m_pool.shared(QString::fromUtf8(utf8, int(length)));
    return true;
}

bool TreeBuilder::String(const char* utf8, rapidjson::SizeType length, bool)
{
    QString value;
    return text(utf8, length, &value) && add(value);
}

bool TreeBuilder::Key(const char* utf8, rapidjson::SizeType length, bool)
{
    return text(utf8, length, &m_levels.back().key);
}

bool TreeBuilder::add(const QVariant& value)
{
    if (m_levels.empty()) {
        m_root = value;
        return true;
    }
    Level& level = m_levels.back();
    if (level.isMap)
        level.map.insert(level.key, value);
    else
        level.list.append(value);
    return true;
}

bool TreeBuilder::open(bool isMap)
{
    if (m_levels.size() == deepestNesting)
        return false;
    m_levels.push_back({isMap, {}, {}, {}});
    return true;
}

bool TreeBuilder::close()
{
    Level level = std::move(m_levels.back());
    m_levels.pop_back();
    return level.isMap ? add(level.map) : add(level.list);
}

// Converts a parsed tree it owns alone, taking each member or element out before
// converting it, so that each part is freed as soon as it is converted. Parts are taken
// from the end, where removing them moves nothing. The maps and lists are emptied in
// place: they cannot be moved, and a second owner would make every removal copy them.
class Converter
{
public:
    explicit Converter(StringPool& pool) : m_pool(pool) {}
    QVariantMap map(QCborMap& source);
    QVariantList list(QCborArray& source);
    QVariant value(QCborValue source);

private:
    StringPool& m_pool;
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
    StringPool pool;
    {
        TreeBuilder builder(pool);
        rapidjson::MemoryStream stream(json.constData(), std::size_t(json.size()));
        rapidjson::Reader reader;
        constexpr unsigned flags = rapidjson::kParseValidateEncodingFlag |
                                   rapidjson::kParseIterativeFlag |
                                   rapidjson::kParseFullPrecisionFlag;
        // The reader takes a NUL byte for the end of the text: what follows one must
        // still count.
        if (!reader.Parse<flags>(stream, builder).IsError() &&
            stream.Tell() == std::size_t(json.size()))
            return builder.takeRoot();
    }
    QJsonDocument document = QJsonDocument::fromJson(json);
    // The map shares the document's tree; dropping the document leaves it the only owner.
    QCborMap root = QCborMap::fromJsonObject(document.object());
    document = QJsonDocument();
    return Converter(pool).map(root);
}
