#include "lrpagetext.h"

#include "itemline.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace LimeReport {

namespace {

// The offset in the item's text where each line starts, and one past the end.
QVector<int> lineStarts(const QString& text)
{
    QVector<int> starts{0};
    for (int i = text.indexOf(QLatin1Char('\n')); i >= 0;
         i = text.indexOf(QLatin1Char('\n'), i + 1))
        starts << i + 1;
    starts << text.size() + 1;
    return starts;
}

int lineOf(const QVector<int>& starts, int offset)
{
    const auto it = std::upper_bound(starts.begin(), starts.end(), offset);
    return std::max(0, int(it - starts.begin()) - 1);
}

bool isBlank(QChar c)
{
    return c.isSpace();
}

struct Order
{
    QVector<int> items;
    QVector<int> rows;
};

// Rows are what a reader takes in at one glance: items whose first line starts above
// the middle of the row's first line sit in that row, then left to right.
Order readingOrderOf(const RenderedPage& page)
{
    const QVector<RenderedItem>& items = page.items();
    QVector<int> sorted;
    for (int i = 0; i < items.size(); ++i) {
        if (items.at(i).kind == RenderedItem::Text && !items.at(i).text.isEmpty())
            sorted << i;
    }
    std::stable_sort(sorted.begin(), sorted.end(), [&](int a, int b) {
        const QRectF& ra = items.at(a).rect;
        const QRectF& rb = items.at(b).rect;
        return ra.top() != rb.top() ? ra.top() < rb.top() : ra.left() < rb.left();
    });
    QVector<int> rowOf(items.size(), -1);
    int row = -1;
    qreal rowMiddle = 0;
    for (int index : sorted) {
        const RenderedItem& item = items.at(index);
        if (row < 0 || item.rect.top() >= rowMiddle) {
            ++row;
            rowMiddle = item.rect.top() + ItemLine::lineHeight(item) / 2;
        }
        rowOf[index] = row;
    }
    std::stable_sort(sorted.begin(), sorted.end(), [&](int a, int b) {
        return rowOf.at(a) != rowOf.at(b) ? rowOf.at(a) < rowOf.at(b)
                                          : items.at(a).rect.left() < items.at(b).rect.left();
    });
    Order order;
    order.items = sorted;
    for (int index : sorted)
        order.rows << rowOf.at(index);
    return order;
}

} // namespace

PageText::PageText(const RenderedPage& page) : m_page(page)
{
    Order order = readingOrderOf(m_page);
    m_order = std::move(order.items);
    m_row = std::move(order.rows);
}

QVector<int> PageText::readingOrder(const RenderedPage& page)
{
    return readingOrderOf(page).items;
}

QVector<qreal> PageText::boundaries(int item, int line) const
{
    const ItemLine layout(m_page.items().at(item), line);
    QVector<qreal> edges(layout.text().size() + 1);
    for (int i = 0; i < edges.size(); ++i)
        edges[i] = layout.x(i);
    return edges;
}

QVector<QRectF> PageText::rects(const TextRange& range) const
{
    QVector<QRectF> result;
    if (range.isEmpty() || range.item >= m_page.items().size())
        return result;
    const RenderedItem& item = m_page.items().at(range.item);
    const qreal height = ItemLine::lineHeight(item);
    const QVector<int> starts = lineStarts(item.text);
    for (int line = lineOf(starts, range.start); line + 1 < starts.size(); ++line) {
        const int lineStart = starts.at(line);
        const int lineEnd = starts.at(line + 1) - 1;
        if (lineStart >= range.end)
            break;
        const int from = std::max(range.start, lineStart) - lineStart;
        const int to = std::min(range.end, lineEnd) - lineStart;
        if (to <= from)
            continue;
        const QVector<qreal> edges = boundaries(range.item, line);
        result << QRectF(edges.at(from), item.rect.top() + line * height,
                         edges.at(to) - edges.at(from), height);
    }
    return result;
}

QRectF PageText::textArea(int item) const
{
    const RenderedItem& it = m_page.items().at(item);
    const int lines = it.text.count(QLatin1Char('\n')) + 1;
    QRectF area = it.rect;
    area.setHeight(std::max(area.height(), lines * ItemLine::lineHeight(it)));
    return area;
}

int PageText::itemAt(const QPointF& point) const
{
    for (int item : m_order) {
        if (textArea(item).contains(point))
            return item;
    }
    return -1;
}

int PageText::nearestItem(const QPointF& point) const
{
    int nearest = -1;
    qreal best = 0;
    for (int item : m_order) {
        const QRectF area = textArea(item);
        const qreal dx = std::max({area.left() - point.x(), 0.0, point.x() - area.right()});
        const qreal dy = std::max({area.top() - point.y(), 0.0, point.y() - area.bottom()});
        const qreal distance = dx * dx + dy * dy;
        if (nearest < 0 || distance < best) {
            nearest = item;
            best = distance;
        }
    }
    return nearest;
}

PageText::Position PageText::positionAt(const QPointF& point) const
{
    Position position;
    int item = itemAt(point);
    if (item < 0)
        item = nearestItem(point);
    if (item < 0)
        return position;
    const RenderedItem& it = m_page.items().at(item);
    const QVector<int> starts = lineStarts(it.text);
    const int line =
        std::clamp(int(std::floor((point.y() - it.rect.top()) / ItemLine::lineHeight(it))), 0,
                   int(starts.size()) - 2);
    const QVector<qreal> edges = boundaries(item, line);
    int nearest = 0;
    for (int i = 1; i < edges.size(); ++i) {
        if (std::abs(edges.at(i) - point.x()) < std::abs(edges.at(nearest) - point.x()))
            nearest = i;
    }
    position.order = m_order.indexOf(item);
    position.offset = starts.at(line) + nearest;
    return position;
}

QVector<TextRange> PageText::between(const QPointF& from, const QPointF& to) const
{
    Position first = positionAt(from);
    Position last = positionAt(to);
    QVector<TextRange> ranges;
    if (first.order < 0)
        return ranges;
    if (last.order < first.order || (last.order == first.order && last.offset < first.offset))
        std::swap(first, last);
    for (int order = first.order; order <= last.order; ++order) {
        TextRange range;
        range.item = m_order.at(order);
        range.start = order == first.order ? first.offset : 0;
        range.end = order == last.order ? last.offset : m_page.items().at(range.item).text.size();
        if (!range.isEmpty())
            ranges << range;
    }
    return ranges;
}

TextRange PageText::wordAt(const QPointF& point) const
{
    const int item = itemAt(point);
    if (item < 0)
        return {};
    const RenderedItem& it = m_page.items().at(item);
    const QVector<int> starts = lineStarts(it.text);
    const int line =
        std::clamp(int(std::floor((point.y() - it.rect.top()) / ItemLine::lineHeight(it))), 0,
                   int(starts.size()) - 2);
    const QVector<qreal> edges = boundaries(item, line);
    // The character whose box holds the point.
    int under = -1;
    for (int i = 0; i + 1 < edges.size(); ++i) {
        if (point.x() >= std::min(edges.at(i), edges.at(i + 1)) &&
            point.x() < std::max(edges.at(i), edges.at(i + 1)))
            under = starts.at(line) + i;
    }
    if (under < 0 || isBlank(it.text.at(under)))
        return {};
    // A value too wide for its cell was split inside: it goes on over the break.
    const auto goesOn = [&](int offset) {
        const QChar c = it.text.at(offset);
        return c == QLatin1Char('\n') ? lineJoint(item, lineOf(starts, offset)).isEmpty()
                                      : !isBlank(c);
    };
    TextRange word{item, under, under + 1};
    while (word.start > 0 && goesOn(word.start - 1))
        --word.start;
    while (word.end < it.text.size() && goesOn(word.end))
        ++word.end;
    return word;
}

// A line ends where the text broke it, or where it met the item's width: then the
// next line goes on after a space, or in the same word when the word alone was wider
// than the item (it is then the only word of its line).
QString PageText::lineJoint(int item, int line) const
{
    const RenderedItem& it = m_page.items().at(item);
    const QString current = it.text.section(QLatin1Char('\n'), line, line);
    const QString next = it.text.section(QLatin1Char('\n'), line + 1, line + 1);
    const QString newline(QLatin1Char('\n'));
    if (current.isEmpty() || next.isEmpty())
        return newline;
    const QFontMetricsF metrics(it.font);
    const qreal width = it.rect.width();
    if (!current.contains(QLatin1Char(' ')) &&
        metrics.horizontalAdvance(current + next.at(0)) > width)
        return QString();
    const QString firstWord = next.section(QLatin1Char(' '), 0, 0);
    if (metrics.horizontalAdvance(current + QLatin1Char(' ') + firstWord) > width)
        return QStringLiteral(" ");
    return newline;
}

QString PageText::text(const QVector<TextRange>& ranges) const
{
    QString text;
    int previousRow = -1;
    for (const TextRange& range : ranges) {
        if (range.isEmpty())
            continue;
        const int order = m_order.indexOf(range.item);
        if (order < 0)
            continue;
        const int row = m_row.at(order);
        if (previousRow >= 0)
            text += row == previousRow ? QLatin1Char('\t') : QLatin1Char('\n');
        previousRow = row;
        const QString& source = m_page.items().at(range.item).text;
        const QVector<int> starts = lineStarts(source);
        int from = range.start;
        for (int line = lineOf(starts, range.start); from < range.end; ++line) {
            const int lineEnd = std::min(range.end, starts.at(line + 1) - 1);
            text += source.mid(from, lineEnd - from);
            if (lineEnd < range.end)
                text += lineJoint(range.item, line);
            from = starts.at(line + 1);
        }
    }
    return text;
}

} // namespace LimeReport
