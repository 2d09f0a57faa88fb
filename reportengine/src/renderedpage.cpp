#include "lrrenderedpage.h"

namespace LimeReport {

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
