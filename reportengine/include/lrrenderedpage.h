#ifndef LRRENDEREDPAGE_H
#define LRRENDEREDPAGE_H

#include "lrrendereditem.h"

#include <QSizeF>
#include <QStringList>
#include <QVector>

#include <utility>

namespace LimeReport {

// One output page: its size in 0.1 mm and what is drawn on it, back to front.
class RenderedPage
{
public:
    RenderedPage() = default;
    explicit RenderedPage(const QSizeF& size) : m_size(size) {}

    QSizeF size() const { return m_size; }
    const QVector<RenderedItem>& items() const& { return m_items; }
    QVector<RenderedItem>& items() & { return m_items; }
    // A temporary page hands its items over rather than a reference into itself.
    QVector<RenderedItem> items() && { return std::move(m_items); }

    // The texts of the page's text items, in drawing order.
    QStringList texts() const;
    // The first text item whose text equals or, with partial, contains the text.
    const RenderedItem* findText(const QString& text, bool partial = false) const;

private:
    QSizeF m_size;
    QVector<RenderedItem> m_items;
};

using ReportPages = QVector<RenderedPage>;

} // namespace LimeReport

#endif // LRRENDEREDPAGE_H
