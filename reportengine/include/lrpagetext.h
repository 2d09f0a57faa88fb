#ifndef LRPAGETEXT_H
#define LRPAGETEXT_H

#include "lrrenderedpage.h"

#include <QPointF>
#include <QRectF>
#include <QString>
#include <QVector>

namespace LimeReport {

// A stretch of one text item: offsets into RenderedItem::text, line breaks included.
struct TextRange
{
    int item = -1;
    int start = 0;
    int end = 0;

    bool isEmpty() const { return item < 0 || end <= start; }
    bool operator==(const TextRange& other) const
    {
        return item == other.item && start == other.start && end == other.end;
    }
};

// The text a page shows, where it shows it: what find, selection and copy work on.
// Positions are those PagePainter draws at (same font, same alignment within each
// line), so a highlight covers exactly the characters on the sheet. Character
// positions are measured only for the lines asked about: a page is cheap to wrap.
class PageText
{
public:
    explicit PageText(const RenderedPage& page);

    const RenderedPage& page() const { return m_page; }
    // The page's text items, top to bottom and left to right within a row.
    static QVector<int> readingOrder(const RenderedPage& page);

    // One rectangle per line the range covers, in page units.
    QVector<QRectF> rects(const TextRange& range) const;
    // The x of every character boundary of one line of an item (line text size + 1 values).
    QVector<qreal> boundaries(int item, int line) const;
    // The item whose text is drawn under point, or -1.
    int itemAt(const QPointF& point) const;
    // The text between two points, in reading order: the end of the first item, the
    // items between, the start of the last. Empty ranges are left out.
    QVector<TextRange> between(const QPointF& from, const QPointF& to) const;
    // The run of non-space characters under point (a whole number, an account or a
    // word), or an empty range.
    TextRange wordAt(const QPointF& point) const;
    // The ranges as plain text for the clipboard: items of one row apart by a tab, rows
    // by a line end; within an item a wrapped line joins the next as the text ran, and
    // only a line the text itself broke stays a line end.
    QString text(const QVector<TextRange>& ranges) const;

private:
    struct Position
    {
        int order = -1; // index into m_order
        int offset = 0;
    };
    Position positionAt(const QPointF& point) const;
    int nearestItem(const QPointF& point) const;
    QRectF textArea(int item) const;
    QString lineJoint(int item, int line) const;

    RenderedPage m_page;
    QVector<int> m_order;
    QVector<int> m_row; // reading-order row of each entry of m_order
};

} // namespace LimeReport

#endif // LRPAGETEXT_H
