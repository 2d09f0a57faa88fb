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

    // Items [first, end) whose text shows what is known only once the whole report is
    // laid out, as the page count: the renderer writes them again then and hands the
    // page over once more, with these ranges on the items as they are now. A writer
    // that puts pages out as they come leaves room for each range.
    struct Range
    {
        int first = 0;
        int end = 0;
    };
    const QVector<Range>& pending() const { return m_pending; }
    void setPending(const QVector<Range>& ranges) { m_pending = ranges; }
    // Puts the items of each pending range of final (a page seen again that holds
    // only those) in place of this page's items of the same range.
    void takePending(const RenderedPage& final);

    // The texts of the page's text items, in drawing order.
    QStringList texts() const;
    // The first text item whose text equals or, with partial, contains the text.
    const RenderedItem* findText(const QString& text, bool partial = false) const;

private:
    QSizeF m_size;
    QVector<RenderedItem> m_items;
    QVector<Range> m_pending;
};

using ReportPages = QVector<RenderedPage>;

} // namespace LimeReport

#endif // LRRENDEREDPAGE_H
