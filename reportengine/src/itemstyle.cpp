#include "itemstyle.h"

#include "designobject.h"
#include "templatereader.h"
#include "textlines.h"

#include <algorithm>

namespace LimeReport {

Qt::PenStyle ItemStyle::penStyle(int style)
{
    switch (style) {
    case 0:
        return Qt::NoPen;
    case 2:
        return Qt::DashLine;
    case 3:
        return Qt::DotLine;
    case 4:
        return Qt::DashDotLine;
    case 5:
        return Qt::DashDotDotLine;
    default:
        return Qt::SolidLine;
    }
}

static ItemStyle readStyle(const DesignObject* d, const QFont& sheetFont)
{
    ItemStyle s;
    const QString className = d->className();
    if (className == QLatin1String("TextItem"))
        s.kind = ItemStyle::Text;
    else if (className == QLatin1String("ImageItem"))
        s.kind = ItemStyle::Image;
    else if (className == QLatin1String("ShapeItem"))
        s.kind = ItemStyle::Shape;
    s.horizontalLayout = className == QLatin1String("HLayout");
    s.layout = className.endsWith(QLatin1String("Layout"));
    s.pageFooter = className == QLatin1String("PageFooter");
    s.name = d->name();
    s.geometry = d->rectValue(QStringLiteral("geometry"), QRect(0, 0, 200, 50));
    s.itemAlign = d->intValue(QStringLiteral("itemAlign"), 4);
    s.isVisible = d->boolValue(QStringLiteral("isVisible"), true);
    s.onPage = d->intValue(QStringLiteral("itemLocation")) == 1;
    s.stretchToMaxHeight = d->boolValue(QStringLiteral("stretchToMaxHeight"));
    s.zOrder = d->realValue(QStringLiteral("zOrder"));
    s.printIfEmpty = d->boolValue(QStringLiteral("printIfEmpty"));
    s.outline = d->stringValue(QStringLiteral("outline"));
    s.outlineLevel = std::max(0, d->intValue(QStringLiteral("outlineLevel")));
    for (const auto& child : d->children()) {
        if (TemplateReader::isItemClass(child->className()))
            s.items.push_back({child.get(), nullptr});
    }

    s.content = d->stringValue(QStringLiteral("content"));
    s.allowHtml = d->boolValue(QStringLiteral("allowHTML"));
    s.escapeFieldHtml = s.allowHtml && !d->boolValue(QStringLiteral("allowHTMLInFields"));
    s.fillInSecondPass = d->boolValue(QStringLiteral("fillInSecondPass"));
    s.trimValue = d->boolValue(QStringLiteral("trimValue"), true);
    s.hideIfEmpty = d->boolValue(QStringLiteral("hideIfEmpty"));
    s.autoHeight = d->boolValue(QStringLiteral("autoHeight"));
    s.bandAutoHeight = d->boolValue(QStringLiteral("autoHeight"), !s.pageFooter);
    s.keepBottomSpace = d->boolValue(QStringLiteral("keepBottomSpace"));
    s.margin = d->intValue(QStringLiteral("margin"), 4);
    const QVariant font = d->value(QStringLiteral("font"));
    s.font = TextLines::sceneFont(font.isValid() ? font.value<QFont>() : sheetFont);
    s.lineHeight = TextLines::lineHeight(s.font);
    s.alignment = d->intValue(QStringLiteral("alignment"), Qt::AlignLeft | Qt::AlignTop);
    s.fontColor = d->colorValue(QStringLiteral("fontColor"), Qt::black);
    s.foregroundOpacity = d->intValue(QStringLiteral("foregroundOpacity"), 100) / 100.0;

    s.hasBackgroundMode = d->contains(QStringLiteral("backgroundMode"));
    s.backgroundMode = d->intValue(QStringLiteral("backgroundMode"));
    s.backgroundColor = d->colorValue(QStringLiteral("backgroundColor"), Qt::white);
    s.backgroundBrush = d->intValue(QStringLiteral("backgroundBrushStyle"), 1);
    s.backgroundOpacity = d->intValue(QStringLiteral("backgroundOpacity"), 100) / 100.0;
    s.borders = d->intValue(QStringLiteral("borders"), 0);
    s.borderStyle = ItemStyle::penStyle(d->intValue(QStringLiteral("borderStyle"), 1));
    s.borderColor = d->colorValue(QStringLiteral("borderColor"), Qt::black);
    s.borderLineSize = d->realValue(QStringLiteral("borderLineSize"), 1);

    s.hideEmptyItems = d->boolValue(QStringLiteral("hideEmptyItems"));
    s.layoutSpacing = d->intValue(QStringLiteral("layoutSpacing"));
    return s;
}

const ItemStyle& ItemStyles::of(const DesignObject* object, const QFont& sheetFont)
{
    std::unique_ptr<ItemStyle>& style = m_styles[object];
    if (!style) {
        style = std::make_unique<ItemStyle>(readStyle(object, sheetFont));
        for (ItemStyle::Child& child : style->items)
            child.style = &of(child.object, sheetFont);
    }
    return *style;
}

} // namespace LimeReport
