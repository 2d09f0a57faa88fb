#ifndef BANDRENDERER_H
#define BANDRENDERER_H

#include "expressionexpander.h"
#include "renderedband.h"

#include <QFont>
#include <QHash>

#include <vector>

namespace LimeReport {

class DataSourceManager;
class DesignObject;
class ItemStyles;
struct ItemStyle;

// Expands and lays out the items of one band for the current data rows: text
// grows with autoHeight, items below a grown one move down, the band takes the
// height of its content unless autoHeight is off.
class BandRenderer
{
public:
    BandRenderer(ExpressionExpander& expander, DataSourceManager& data, ItemStyles& styles,
                 const QFont& defaultFont);

    RenderedBand render(const DesignObject* band, qreal width);
    const ItemStyle& styleOf(const DesignObject* object);
    // Items placed directly on a page sheet, drawn on every output page.
    RenderedBand renderPageItems(const DesignObject* page, const QSizeF& size);

private:
    struct Node
    {
        const DesignObject* design = nullptr;
        const ItemStyle* style = nullptr;
        QRectF designed;
        QRectF rect;
        bool visible = true;
        bool empty = true;
        QStringList lines;
        QImage image;
        QRectF imageRect; // relative to rect
        QString deferred;
        std::vector<Node> children;
    };

    std::vector<Node> measureAll(const DesignObject* owner, qreal width, bool pageItems);
    Node measure(const DesignObject* item, const ItemStyle& style, qreal parentWidth);
    void measureText(Node& node);
    void measureImage(Node& node);
    void measureLayout(Node& node, bool horizontal);
    QImage loadImage(const DesignObject* item);
    static void arrange(std::vector<Node>& nodes);
    static void setHeight(Node& node, qreal height);
    static void collect(const Node& node, const QPointF& origin, QVector<BandElement>& out);

    // The item's text broken into lines at that width. Labels and values that repeat
    // row after row are broken once: the item's last text and its lines are kept, and
    // those of its short texts, up to a bound for the whole sheet.
    QStringList linesOf(const DesignObject* item, const QString& text, const QFont& font,
                        qreal width);

    struct BrokenText
    {
        QString text;
        qreal width = -1;
        QStringList lines;
        // Short texts already broken at that width: values such as dates, amounts and
        // codes come back row after row, and measuring them is most of the layout.
        QHash<QString, QStringList> known;
    };

    ExpressionExpander& m_expander;
    DataSourceManager& m_data;
    ItemStyles& m_styles;
    QFont m_defaultFont;
    QHash<const DesignObject*, BrokenText> m_lastLines;
    // The plan of each text item's content, found by the item rather than by its text.
    QHash<const DesignObject*, const ExpressionExpander::Plan*> m_plans;
    int m_knownCharacters = 0;
};

} // namespace LimeReport

#endif // BANDRENDERER_H
