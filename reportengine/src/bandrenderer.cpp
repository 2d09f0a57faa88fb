#include "bandrenderer.h"

#include "datasourcemanager.h"
#include "designobject.h"
#include "expressionexpander.h"
#include "itemstyle.h"
#include "textlines.h"

#include <QTextDocumentFragment>

#include <algorithm>

namespace LimeReport {

static const qreal tolerance = 0.01;
// Some ten full pages of small print.
static const int longestText = 100000;
static const QString cutMark = QStringLiteral(" \u2026 [teks terpotong]");

BandRenderer::BandRenderer(ExpressionExpander& expander, DataSourceManager& data,
                           ItemStyles& styles, const QFont& defaultFont)
    : m_expander(expander), m_data(data), m_styles(styles), m_defaultFont(defaultFont)
{
}

const ItemStyle& BandRenderer::styleOf(const DesignObject* object)
{
    return m_styles.of(object, m_defaultFont);
}

RenderedBand BandRenderer::render(const DesignObject* band, qreal width)
{
    RenderedBand result;
    result.design = band;
    const ItemStyle& style = styleOf(band);
    const QRectF& designedBand = style.geometry;
    std::vector<Node> nodes = measureAll(band, width, false);
    arrange(nodes);

    qreal lowest = 0;
    qreal designedLowest = 0;
    bool anyVisible = false;
    for (const Node& node : nodes) {
        designedLowest = std::max(designedLowest, node.designed.bottom());
        if (!node.visible)
            continue;
        anyVisible = true;
        lowest = std::max(lowest, node.rect.bottom());
        result.empty = result.empty && node.empty;
    }
    for (Node& node : nodes) {
        if (node.visible && node.style->stretchToMaxHeight)
            setHeight(node, lowest - node.rect.top());
    }

    result.height = designedBand.height();
    if (style.bandAutoHeight && anyVisible) {
        // Integer rectangles end one unit before their bottom edge.
        result.height = lowest - 1;
        if (style.borders)
            result.height += style.borderLineSize + 2;
        if (style.keepBottomSpace)
            result.height += std::max<qreal>(0, designedBand.height() - designedLowest);
    } else if (style.bandAutoHeight && !nodes.empty()) {
        result.height = 0;
    }

    BandElement frame;
    frame.kind = BandElement::Frame;
    frame.design = band;
    frame.style = &style;
    frame.rect = QRectF(0, 0, width, result.height);
    result.elements.reserve(int(nodes.size()) + 1);
    result.elements.append(std::move(frame));
    std::stable_sort(nodes.begin(), nodes.end(), [](const Node& a, const Node& b) {
        return a.style->zOrder < b.style->zOrder;
    });
    for (const Node& node : nodes)
        collect(node, QPointF(), result.elements);
    return result;
}

RenderedBand BandRenderer::renderPageItems(const DesignObject* page, const QSizeF& size)
{
    RenderedBand result;
    result.design = page;
    result.height = size.height();
    std::vector<Node> nodes = measureAll(page, size.width(), true);
    for (const Node& node : nodes) {
        if (node.visible)
            result.empty = result.empty && node.empty;
        collect(node, QPointF(), result.elements);
    }
    return result;
}

std::vector<BandRenderer::Node> BandRenderer::measureAll(const DesignObject* owner, qreal width,
                                                         bool pageItems)
{
    std::vector<Node> nodes;
    const std::vector<ItemStyle::Child>& items = styleOf(owner).items;
    nodes.reserve(items.size());
    for (const ItemStyle::Child& child : items) {
        if (child.style->onPage != pageItems || !child.style->isVisible)
            continue;
        nodes.push_back(measure(child.object, *child.style, width));
    }
    return nodes;
}

BandRenderer::Node BandRenderer::measure(const DesignObject* item, const ItemStyle& style,
                                         qreal parentWidth)
{
    Node node;
    node.design = item;
    node.style = &style;
    node.designed = node.style->geometry;
    switch (node.style->itemAlign) {
    case 0:
        node.designed.moveLeft(0);
        break;
    case 1:
        node.designed.moveLeft(parentWidth - node.designed.width());
        break;
    case 2:
        node.designed.moveLeft((parentWidth - node.designed.width()) / 2);
        break;
    case 3:
        node.designed.setRect(0, node.designed.top(), parentWidth, node.designed.height());
        break;
    default:
        break;
    }
    node.rect = node.designed;
    switch (node.style->kind) {
    case ItemStyle::Text:
        measureText(node);
        break;
    case ItemStyle::Image:
        measureImage(node);
        break;
    case ItemStyle::Shape:
        node.empty = false;
        break;
    case ItemStyle::Container:
        measureLayout(node, node.style->horizontalLayout);
        break;
    }
    return node;
}

void BandRenderer::measureText(Node& node)
{
    const DesignObject* d = node.design;
    const ItemStyle& style = *node.style;
    const QString& content = style.content;
    ExpressionExpander::Options options;
    options.itemName = style.name;
    options.escapeFieldHtml = style.escapeFieldHtml;
    const ExpressionExpander::Plan*& plan = m_plans[d];
    if (!plan)
        plan = &m_expander.planOf(content);
    QString text = m_expander.expand(*plan, options);
    if (style.fillInSecondPass || plan->pageCounters)
        node.deferred = m_expander.prepareSecondPass(content, options, style.fillInSecondPass);
    if (style.allowHtml)
        text = QTextDocumentFragment::fromHtml(text).toPlainText();
    // Referred to rather than copied until it is cut: a field may hold hundreds of
    // megabytes, and every copy of it would cost its size in time and memory.
    QStringRef shown(&text);
    if (style.trimValue)
        shown = shown.trimmed();
    node.empty = shown.trimmed().isEmpty();
    if (node.empty && style.hideIfEmpty)
        node.visible = false;

    const qreal margin = style.margin;
    if (shown.size() > longestText) {
        // Far more than any page holds: measuring it all would take minutes and the
        // memory of the whole text laid out. It is cut where the reader sees it is.
        text = shown.left(longestText).toString() + cutMark;
    } else if (shown.size() != text.size()) {
        text = shown.toString();
    }
    if (!text.isEmpty())
        node.lines = linesOf(d, text, style.font, node.rect.width() - 2 * margin);
    if (style.autoHeight) {
        const qreal needed = node.lines.size() * style.lineHeight + 2 * style.borderLineSize;
        node.rect.setHeight(std::max(node.rect.height(), needed));
    }
}

QStringList BandRenderer::linesOf(const DesignObject* item, const QString& text, const QFont& font,
                                  qreal width)
{
    // The values of a column, in a megabyte or two, small next to the pages.
    constexpr int knownLength = 80;
    constexpr int knownCharacters = 500000;
    BrokenText& last = m_lastLines[item];
    if (last.width != width) {
        for (const QString& known : last.known.keys())
            m_knownCharacters -= known.size();
        last.known.clear();
        last.width = width;
    } else if (last.text == text) {
        return last.lines;
    }
    const bool shortText = text.size() <= knownLength;
    if (shortText) {
        const auto known = last.known.constFind(text);
        if (known != last.known.constEnd()) {
            last.text = text;
            last.lines = *known;
            return last.lines;
        }
    }
    last.lines = TextLines::breakLines(text, font, width);
    last.text = text;
    if (shortText) {
        if (m_knownCharacters + text.size() > knownCharacters) {
            for (BrokenText& other : m_lastLines)
                other.known.clear();
            m_knownCharacters = 0;
        }
        last.known.insert(text, last.lines);
        m_knownCharacters += text.size();
    }
    return last.lines;
}

QImage BandRenderer::loadImage(const DesignObject* item)
{
    const QImage embedded = item->value(QStringLiteral("image")).value<QImage>();
    if (!embedded.isNull())
        return embedded;
    const QString sourceName = item->stringValue(QStringLiteral("datasource"));
    const QString field = item->stringValue(QStringLiteral("field"));
    DataSource* source = sourceName.isEmpty() ? nullptr : m_data.dataSource(sourceName);
    if (source && source->hasColumn(field)) {
        const QVariant value = source->data(field);
        if (value.canConvert<QImage>() && value.userType() == QMetaType::QImage)
            return value.value<QImage>();
        QByteArray bytes = value.toByteArray();
        switch (item->intValue(QStringLiteral("format"))) {
        case 1:
            bytes = QByteArray::fromHex(bytes);
            break;
        case 2:
            bytes = QByteArray::fromBase64(bytes);
            break;
        default:
            break;
        }
        return QImage::fromData(bytes);
    }
    const QString path = item->stringValue(QStringLiteral("resourcePath"));
    if (!path.isEmpty())
        return QImage(m_expander.expand(path, ExpressionExpander::Options{item->name(), false}));
    return QImage();
}

void BandRenderer::measureImage(Node& node)
{
    const DesignObject* d = node.design;
    node.image = loadImage(d);
    node.empty = node.image.isNull();
    if (node.empty)
        return;
    if (d->boolValue(QStringLiteral("autoSize")))
        node.rect.setSize(node.image.size());
    const QSizeF box = node.rect.size();
    QSizeF size = node.image.size();
    if (d->boolValue(QStringLiteral("scale"), true))
        size = size.scaled(box, d->boolValue(QStringLiteral("keepAspectRatio"), true)
                                    ? Qt::KeepAspectRatio
                                    : Qt::IgnoreAspectRatio);
    if (size.width() > box.width() || size.height() > box.height()) {
        // Unscaled pictures larger than the item are cropped, evenly when centred.
        const bool center = d->boolValue(QStringLiteral("center"), true);
        const QSize keep(int(std::min(size.width(), box.width())),
                         int(std::min(size.height(), box.height())));
        const QPoint from = center ? QPoint((node.image.width() - keep.width()) / 2,
                                            (node.image.height() - keep.height()) / 2)
                                   : QPoint(0, 0);
        node.image = node.image.copy(QRect(from, keep));
        size = keep;
    }
    QPointF at;
    if (d->boolValue(QStringLiteral("center"), true))
        at = QPointF((box.width() - size.width()) / 2, (box.height() - size.height()) / 2);
    node.imageRect = QRectF(at, size);
}

void BandRenderer::measureLayout(Node& node, bool horizontal)
{
    const ItemStyle& style = *node.style;
    const bool hideEmpty = style.hideEmptyItems;
    const qreal spacing = style.layoutSpacing;
    node.children.reserve(style.items.size());
    for (const ItemStyle::Child& child : style.items) {
        if (child.style->isVisible)
            node.children.push_back(measure(child.object, *child.style, node.rect.width()));
    }
    std::stable_sort(node.children.begin(), node.children.end(),
                     [horizontal](const Node& a, const Node& b) {
                         return horizontal ? a.designed.left() < b.designed.left()
                                           : a.designed.top() < b.designed.top();
                     });
    qreal position = 0;
    qreal extent = horizontal ? node.rect.height() : 0;
    for (Node& child : node.children) {
        if (hideEmpty && child.empty)
            child.visible = false;
        node.empty = node.empty && child.empty;
        if (!child.visible)
            continue;
        if (horizontal) {
            child.rect.moveTopLeft(QPointF(position, 0));
            position += child.rect.width() + spacing;
            extent = std::max(extent, child.rect.height());
        } else {
            child.rect.moveTopLeft(QPointF(child.rect.left(), position));
            position += child.rect.height() + spacing;
        }
    }
    if (horizontal)
        setHeight(node, extent);
    else
        node.rect.setHeight(
            std::max(node.rect.height(), position - (node.children.empty() ? 0 : spacing)));
}

void BandRenderer::setHeight(Node& node, qreal height)
{
    node.rect.setHeight(height);
    if (node.style->horizontalLayout) {
        for (Node& child : node.children)
            setHeight(child, height);
    }
}

void BandRenderer::arrange(std::vector<Node>& nodes)
{
    std::vector<Node*> order;
    for (Node& node : nodes)
        order.push_back(&node);
    std::stable_sort(order.begin(), order.end(), [](const Node* a, const Node* b) {
        return a->designed.top() < b->designed.top();
    });
    for (size_t i = 0; i < order.size(); ++i) {
        Node* below = order[i];
        qreal shift = 0;
        for (size_t j = 0; j < i; ++j) {
            const Node* above = order[j];
            if (!above->visible || above->designed.top() >= below->designed.top() - tolerance)
                continue;
            // Above and overlapping sideways more than downwards: a designed
            // unit of overlap between two rows still counts as stacked.
            const qreal across = std::min(above->designed.right(), below->designed.right()) -
                                 std::max(above->designed.left(), below->designed.left());
            const qreal down = std::max<qreal>(0, above->designed.bottom() - below->designed.top());
            if (across > 0 && across > down)
                shift = std::max(shift, above->rect.bottom() - above->designed.bottom());
        }
        below->rect.moveTop(below->designed.top() + shift);
    }
}

void BandRenderer::collect(const Node& node, const QPointF& origin, QVector<BandElement>& out)
{
    if (!node.visible)
        return;
    const QRectF rect = node.rect.translated(origin);
    if (!node.children.empty() || node.style->layout) {
        for (const Node& child : node.children)
            collect(child, rect.topLeft(), out);
        return;
    }
    BandElement element;
    element.design = node.design;
    element.style = node.style;
    element.rect = rect;
    if (node.style->kind == ItemStyle::Text) {
        element.kind = BandElement::Text;
        element.lines = node.lines;
        element.deferred = node.deferred;
    } else if (node.style->kind == ItemStyle::Image) {
        if (node.image.isNull())
            return;
        element.kind = BandElement::Image;
        element.image = node.image;
        element.imageRect = node.imageRect.translated(rect.topLeft());
    } else {
        element.kind = BandElement::Shape;
    }
    out.append(std::move(element));
}

} // namespace LimeReport
