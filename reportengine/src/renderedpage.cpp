#include "lrrenderedpage.h"

#include <algorithm>

namespace LimeReport {

void RenderedPage::takePending(const RenderedPage& final)
{
    const int ranges = std::min(m_pending.size(), final.m_pending.size());
    QVector<RenderedItem> items;
    items.reserve(m_items.size());
    QVector<Range> pending;
    int at = 0;
    for (int i = 0; i < ranges; ++i) {
        const Range mine = m_pending.at(i);
        const Range theirs = final.m_pending.at(i);
        for (; at < mine.first && at < m_items.size(); ++at)
            items << m_items.at(at);
        const int first = items.size();
        for (int item = theirs.first; item < theirs.end && item < final.m_items.size(); ++item)
            items << final.m_items.at(item);
        pending << Range{first, items.size()};
        at = mine.end;
    }
    for (; at < m_items.size(); ++at)
        items << m_items.at(at);
    m_items = items;
    m_pending = pending;
}

QStringList RenderedPage::texts() const
{
    QStringList list;
    for (const RenderedItem& item : m_items) {
        if (item.kind == RenderedItem::Text)
            list << item.text;
    }
    return list;
}

const RenderedItem* RenderedPage::findText(const QString& text, bool partial) const
{
    for (const RenderedItem& item : m_items) {
        if (item.kind == RenderedItem::Text &&
            (partial ? item.text.contains(text) : item.text == text))
            return &item;
    }
    return nullptr;
}

} // namespace LimeReport
