#include "lrpackedpages.h"

#include <QDataStream>

#include <algorithm>

namespace LimeReport {

namespace {

// Enough for the sheets a view shows at once and the one a search stands on.
const int recentKept = 6;

// Text compresses some tenfold at the fastest level; more costs time for little.
const int packLevel = 1;

const int packVersion = QDataStream::Qt_5_15;

// Values that most items of a page share are written once and named by their place.
template <typename T> qint32 placeIn(QVector<T>* table, const T& value)
{
    const int at = table->indexOf(value);
    if (at >= 0)
        return at;
    *table << value;
    return table->size() - 1;
}

} // namespace

QByteArray PackedPages::pack(const RenderedPage& page)
{
    QVector<QFont> fonts;
    QVector<QString> names;
    QVector<QImage> images;
    QByteArray items;
    {
        QDataStream out(&items, QIODevice::WriteOnly);
        out.setVersion(packVersion);
        out << qint32(page.items().size());
        for (const RenderedItem& item : page.items()) {
            out << qint8(item.kind) << item.rect << item.text << item.lineHeight
                << placeIn(&names, item.name) << placeIn(&fonts, item.font) << item.color
                << item.fillColor << qint32(item.brush) << qint32(item.penStyle) << item.penWidth
                << item.radius << item.opacity << qint32(item.flags)
                << (item.image.isNull() ? qint32(-1) : placeIn(&images, item.image));
        }
        out << qint32(page.pending().size());
        for (const RenderedPage::Range& range : page.pending())
            out << qint32(range.first) << qint32(range.end);
    }
    QByteArray packed;
    QDataStream out(&packed, QIODevice::WriteOnly);
    out.setVersion(packVersion);
    out << page.size() << fonts << names << images << items;
    return qCompress(packed, packLevel);
}

RenderedPage PackedPages::unpack(const QByteArray& bytes)
{
    const QByteArray packed = qUncompress(bytes);
    QDataStream in(packed);
    in.setVersion(packVersion);
    QSizeF size;
    QVector<QFont> fonts;
    QVector<QString> names;
    QVector<QImage> images;
    QByteArray items;
    in >> size >> fonts >> names >> images >> items;
    RenderedPage page(size);
    QDataStream itemsIn(items);
    itemsIn.setVersion(packVersion);
    qint32 count = 0;
    itemsIn >> count;
    page.items().reserve(std::max(0, count));
    for (int i = 0; i < count && itemsIn.status() == QDataStream::Ok; ++i) {
        RenderedItem item;
        qint8 kind = 0;
        qint32 name = 0;
        qint32 font = 0;
        qint32 brush = 0;
        qint32 penStyle = 0;
        qint32 flags = 0;
        qint32 image = -1;
        itemsIn >> kind >> item.rect >> item.text >> item.lineHeight >> name >> font >>
            item.color >> item.fillColor >> brush >> penStyle >> item.penWidth >> item.radius >>
            item.opacity >> flags >> image;
        item.kind = RenderedItem::Kind(kind);
        item.name = names.value(name);
        item.font = fonts.value(font);
        item.brush = Qt::BrushStyle(brush);
        item.penStyle = Qt::PenStyle(penStyle);
        item.flags = flags;
        if (image >= 0)
            item.image = images.value(image);
        page.items() << item;
    }
    qint32 ranges = 0;
    itemsIn >> ranges;
    QVector<RenderedPage::Range> pending;
    for (int i = 0; i < ranges && itemsIn.status() == QDataStream::Ok; ++i) {
        qint32 first = 0;
        qint32 end = 0;
        itemsIn >> first >> end;
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
    const RenderedPage page = unpack(m_packed.at(index));
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

void PackedPages::replace(int index, const RenderedPage& page)
{
    m_packed[index] = pack(page);
    m_sizes[index] = page.size();
    for (Recent& recent : m_recent) {
        if (recent.index == index)
            recent.page = page;
    }
}

void PackedPages::clear()
{
    m_packed.clear();
    m_sizes.clear();
    m_recent.clear();
}

} // namespace LimeReport
