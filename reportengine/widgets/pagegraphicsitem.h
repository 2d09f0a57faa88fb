#ifndef PAGEGRAPHICSITEM_H
#define PAGEGRAPHICSITEM_H

#include "lrpackedpages.h"

#include <QGraphicsItem>

namespace LimeReport {

// One sheet of the preview: paints its page, unpacked from the view's pages, when the
// view exposes it.
class PageGraphicsItem : public QGraphicsItem
{
public:
    PageGraphicsItem(const PackedPages* pages, int index);

    // The page was replaced: its size may have changed and it is painted again.
    void pageChanged();

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

private:
    const PackedPages* m_pages;
    int m_index;
};

} // namespace LimeReport

#endif // PAGEGRAPHICSITEM_H
