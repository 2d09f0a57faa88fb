#ifndef ITEMSTYLE_H
#define ITEMSTYLE_H

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>

#include <memory>
#include <unordered_map>
#include <vector>

namespace LimeReport {

class DesignObject;

// What the layout reads of a design object (an item or a band), read from its
// properties once per render: every row would otherwise look each of them up by
// name again, a score of lookups per item and row. Defaults are those the layout
// has always used where a property is absent.
struct ItemStyle
{
    enum Kind
    {
        Text,
        Image,
        Shape,
        Container // layouts and bands
    };

    Kind kind = Container;
    QString name;
    bool horizontalLayout = false;
    // Its class ends in "Layout": laid out as a box even when it holds nothing.
    bool layout = false;
    bool pageFooter = false;
    QRectF geometry;
    int itemAlign = 4;
    bool isVisible = true;
    bool onPage = false; // placed on the page sheet, outside the bands
    bool stretchToMaxHeight = false;
    qreal zOrder = 0;
    bool printIfEmpty = false;
    // A band's outline entry, before expansion; empty when it adds none.
    QString outline;
    int outlineLevel = 0;
    // The children that are items, in file order, with their styles.
    struct Child
    {
        const DesignObject* object = nullptr;
        const ItemStyle* style = nullptr;
    };
    std::vector<Child> items;

    QString content;
    bool allowHtml = false;
    bool escapeFieldHtml = false;
    bool fillInSecondPass = false;
    bool trimValue = true;
    bool hideIfEmpty = false;
    bool autoHeight = false;
    // A band grows with its content unless told otherwise; a page footer keeps its height.
    bool bandAutoHeight = true;
    bool keepBottomSpace = false;
    qreal margin = 4;
    // The font as text is drawn with, and the distance between its lines.
    QFont font;
    qreal lineHeight = 0;
    int alignment = Qt::AlignLeft | Qt::AlignTop;
    QColor fontColor;
    qreal foregroundOpacity = 1;

    // Absent, the mode is the default of the kind of element drawn.
    bool hasBackgroundMode = false;
    int backgroundMode = 0;
    QColor backgroundColor;
    int backgroundBrush = 1;
    qreal backgroundOpacity = 1;
    int borders = 0;
    Qt::PenStyle borderStyle = Qt::SolidLine;
    QColor borderColor;
    qreal borderLineSize = 1;

    bool hideEmptyItems = false;
    qreal layoutSpacing = 0;

    static Qt::PenStyle penStyle(int style);
};

// The styles of one render's design objects, each made with those of the items it
// holds when first asked for, and kept at the same address until the render ends.
class ItemStyles
{
public:
    // sheetFont is the font of the sheet the object is on, for text that names none.
    const ItemStyle& of(const DesignObject* object, const QFont& sheetFont);

private:
    std::unordered_map<const DesignObject*, std::unique_ptr<ItemStyle>> m_styles;
};

} // namespace LimeReport

#endif // ITEMSTYLE_H
