#include "lrpackedpages.h"

#include <QDataStream>
#include <QRgba64>

#include <cstring>

#include <algorithm>

namespace LimeReport {

namespace {

// Enough for the sheets a view shows at once and the one a search stands on.
const int recentKept = 6;

// Text compresses some tenfold at the fastest level; more costs time for little.
const int packLevel = 1;

const int streamVersion = QDataStream::Qt_5_15;

// An item's plain values as they lie in memory; the pages never leave the program
// that packed them.
struct ItemRecord
{
    double rect[4];
    double lineHeight;
    double penWidth;
    double radius;
    double opacity;
    quint64 color;
    quint64 fillColor;
    qint32 flags;
    qint32 font;
    qint32 name;
    qint32 image;
    qint32 textLength;
    quint8 kind;
    quint8 brush;
    quint8 penStyle;
    quint8 valid; // 1: color, 2: fillColor
};

// Values that most items of a page share are kept once and named by their place;
// the last one found is tried first, as neighbours mostly share theirs.
template <typename T> class Table
{
public:
    qint32 place(const T& value)
    {
        if (m_last >= 0 && m_values.at(m_last) == value)
            return m_last;
        m_last = m_values.indexOf(value);
        if (m_last < 0) {
            m_values << value;
            m_last = m_values.size() - 1;
        }
        return m_last;
    }
    const QVector<T>& values() const { return m_values; }

private:
    QVector<T> m_values;
    int m_last = -1;
};

template <typename T> void put(QByteArray* bytes, const T& value)
{
    bytes->append(reinterpret_cast<const char*>(&value), int(sizeof(T)));
}

template <typename T> bool take(const QByteArray& bytes, int* at, T* value)
{
    if (*at < 0 || bytes.size() - *at < int(sizeof(T)))
        return false;
    std::memcpy(value, bytes.constData() + *at, sizeof(T));
    *at += int(sizeof(T));
    return true;
}

} // namespace

QByteArray PackedPages::pack(const RenderedPage& page)
{
    Table<QFont> fonts;
    Table<QString> names;
    Table<QImage> images;
    QByteArray items;
    items.reserve(page.items().size() * int(sizeof(ItemRecord) + 48));
    put(&items, qint32(page.items().size()));
    for (const RenderedItem& item : page.items()) {
        ItemRecord record;
        record.rect[0] = item.rect.x();
        record.rect[1] = item.rect.y();
        record.rect[2] = item.rect.width();
        record.rect[3] = item.rect.height();
        record.lineHeight = item.lineHeight;
        record.penWidth = item.penWidth;
        record.radius = item.radius;
        record.opacity = item.opacity;
        record.color = item.color.rgba64();
        record.fillColor = item.fillColor.rgba64();
        record.valid = (item.color.isValid() ? 1 : 0) | (item.fillColor.isValid() ? 2 : 0);
        record.flags = item.flags;
        record.font = fonts.place(item.font);
        record.name = names.place(item.name);
        record.image = item.image.isNull() ? -1 : images.place(item.image);
        record.textLength = item.text.size();
        record.kind = quint8(item.kind);
        record.brush = quint8(item.brush);
        record.penStyle = quint8(item.penStyle);
        put(&items, record);
        items.append(reinterpret_cast<const char*>(item.text.constData()),
                     item.text.size() * int(sizeof(QChar)));
    }
    put(&items, qint32(page.pending().size()));
    for (const RenderedPage::Range& range : page.pending()) {
        put(&items, qint32(range.first));
        put(&items, qint32(range.end));
    }
    QByteArray packed;
    {
        QDataStream out(&packed, QIODevice::WriteOnly);
        out.setVersion(streamVersion);
        out << page.size() << fonts.values() << names.values() << images.values();
    }
    packed += items;
    // The packer's buffer is as large as the page was: the page keeps a copy of its size.
    const QByteArray compressed = qCompress(packed, packLevel);
    return QByteArray(compressed.constData(), compressed.size());
}

RenderedPage PackedPages::unpack(const QByteArray& bytes)
{
    const QByteArray packed = qUncompress(bytes);
    QSizeF size;
    QVector<QFont> fonts;
    QVector<QString> names;
    QVector<QImage> images;
    QDataStream in(packed);
    in.setVersion(streamVersion);
    in >> size >> fonts >> names >> images;
    RenderedPage page(size);
    int at = int(in.device()->pos());
    qint32 count = 0;
    if (!take(packed, &at, &count))
        return page;
    page.items().reserve(std::max(0, count));
    for (int i = 0; i < count; ++i) {
        ItemRecord record;
        if (!take(packed, &at, &record) || record.textLength < 0 ||
            packed.size() - at < record.textLength * int(sizeof(QChar)))
            return page;
        RenderedItem item;
        item.kind = RenderedItem::Kind(record.kind);
        item.rect = QRectF(record.rect[0], record.rect[1], record.rect[2], record.rect[3]);
        item.text =
            QString(reinterpret_cast<const QChar*>(packed.constData() + at), record.textLength);
        at += record.textLength * int(sizeof(QChar));
        item.lineHeight = record.lineHeight;
        item.name = names.value(record.name);
        item.font = fonts.value(record.font);
        if (record.valid & 1)
            item.color = QColor::fromRgba64(QRgba64::fromRgba64(record.color));
        if (record.valid & 2)
            item.fillColor = QColor::fromRgba64(QRgba64::fromRgba64(record.fillColor));
        item.brush = Qt::BrushStyle(record.brush);
        item.penStyle = Qt::PenStyle(record.penStyle);
        item.penWidth = record.penWidth;
        item.radius = record.radius;
        item.opacity = record.opacity;
        item.flags = record.flags;
        if (record.image >= 0)
            item.image = images.value(record.image);
        page.items() << item;
    }
    qint32 ranges = 0;
    take(packed, &at, &ranges);
    QVector<RenderedPage::Range> pending;
    for (int i = 0; i < ranges; ++i) {
        qint32 first = 0;
        qint32 end = 0;
        if (!take(packed, &at, &first) || !take(packed, &at, &end))
            break;
        pending << RenderedPage::Range{first, end};
    }
    page.setPending(pending);
    return page;
}

RenderedPage PackedPages::at(int index) const
{
    for (const Recent& recent : m_recent) {
        if (recent.index == index)
            return recent.page;
    }
    RenderedPage page = unpack(m_packed.at(index));
    const auto final = m_final.constFind(index);
    if (final != m_final.constEnd())
        page.takePending(*final);
    keep(index, page);
    return page;
}

void PackedPages::keep(int index, const RenderedPage& page) const
{
    if (m_recent.size() >= recentKept)
        m_recent.removeFirst();
    m_recent << Recent{index, page};
}

void PackedPages::append(const RenderedPage& page)
{
    m_packed << pack(page);
    m_sizes << page.size();
    keep(m_packed.size() - 1, page);
}

void PackedPages::takePending(int index, const RenderedPage& final)
{
    m_final.insert(index, final);
    for (Recent& recent : m_recent) {
        if (recent.index == index)
            recent.page.takePending(final);
    }
}

void PackedPages::clear()
{
    m_packed.clear();
    m_sizes.clear();
    m_final.clear();
    m_recent.clear();
}

} // namespace LimeReport
