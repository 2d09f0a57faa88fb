#include "reportrenderer.h"

#include "bandemitter.h"
#include "bandrenderer.h"
#include "datasourcemanager.h"
#include "expressionexpander.h"
#include "itemstyle.h"
#include "reporttemplate.h"
#include "scriptengine.h"
#include "templatereader.h"
#include "variablestore.h"

#include <QPageSize>

#include <algorithm>

namespace LimeReport {

static const qreal tolerance = 0.01;
// A page footer reaches this far below its designed height, into the margin.
static const qreal footerOverhang = 2;

static const QString pageVariable = QStringLiteral("#PAGE");
static const QString pageCountVariable = QStringLiteral("#PAGE_COUNT");

ReportRenderer::ReportRenderer(const ReportTemplate& report, DataSourceManager& data)
    : m_report(report), m_data(data)
{
}

ReportRenderer::~ReportRenderer() = default;

ReportPages ReportRenderer::render(const PageHandler& onPage, const Continuation& keepGoing)
{
    m_onPage = onPage;
    m_keepGoing = keepGoing;
    m_cancelled = false;
    m_output.clear();
    m_deferred.clear();
    m_variables = std::make_unique<VariableStore>(m_data, m_report.variables());
    m_scripts = std::make_unique<ScriptEngine>(*m_variables);
    m_expander = std::make_unique<ExpressionExpander>(*m_variables, m_data, *m_scripts,
                                                      m_report.suppressFieldAndVarError());
    m_styles = std::make_unique<ItemStyles>();
    m_pages.clear();
    const QString initScript = m_report.initScript();
    if (!initScript.trimmed().isEmpty() && !m_scripts->run(initScript))
        return ReportPages();
    for (const DesignObject* sheet : m_report.pages()) {
        if (sheet->boolValue(QStringLiteral("printable"), true) && !m_cancelled)
            renderSheet(sheet);
    }
    if (m_cancelled)
        return ReportPages();
    finishDeferred();
    m_pages.clear();
    if (m_cancelled)
        return ReportPages();
    return std::move(m_output);
}

bool ReportRenderer::stopped()
{
    if (!m_cancelled && m_keepGoing && !m_keepGoing())
        m_cancelled = true;
    return m_cancelled;
}

// The sheet's size in 0.1 mm: its geometry, unless it names a standard paper
// size other than A4, which then decides with the orientation.
static QSizeF sheetSize(const DesignObject* sheet)
{
    const QSizeF geometry =
        sheet->rectValue(QStringLiteral("geometry"), QRect(0, 0, 2100, 2970)).size();
    const int id = sheet->intValue(QStringLiteral("pageSize"), QPageSize::A4);
    if (id == QPageSize::A4 || id < 0 || id >= QPageSize::Custom)
        return geometry;
    QSizeF size = QPageSize::size(QPageSize::PageSizeId(id), QPageSize::Millimeter) * 10;
    if (sheet->intValue(QStringLiteral("pageOrientation")) == 1)
        size.transpose();
    return size;
}

void ReportRenderer::renderSheet(const DesignObject* sheet)
{
    m_data.startRender();
    m_sheet = sheet;
    m_pageSize = sheetSize(sheet);
    m_left = sheet->intValue(QStringLiteral("leftMargin")) * 10;
    m_width = m_pageSize.width() - m_left - sheet->intValue(QStringLiteral("rightMargin")) * 10;
    m_contentTop = sheet->intValue(QStringLiteral("topMargin")) * 10;
    m_contentBottom = m_pageSize.height() - sheet->intValue(QStringLiteral("bottomMargin")) * 10;
    const QVariant font = sheet->value(QStringLiteral("font"));
    m_bands = std::make_unique<BandRenderer>(*m_expander, m_data, *m_styles,
                                             font.isValid() ? font.value<QFont>()
                                                            : QFont(QStringLiteral("Arial"), 10));
    linkBands(sheet);
    if (m_pages.isEmpty() || sheet->boolValue(QStringLiteral("resetPageNumber")))
        m_rangeStart = m_pages.size();
    m_sheetFirstPage = m_pages.size();
    m_openHeaders.clear();
    m_keep = KeepMark();

    startPage();
    if (m_reportHeader && !m_reportHeader->boolValue(QStringLiteral("printBeforePageHeader")))
        placeBand(m_reportHeader);
    for (const DesignObject* band : m_sheetBands) {
        if (m_cancelled)
            return;
        if (band->className() == QLatin1String("Data") &&
            band->stringValue(QStringLiteral("parentBand")).isEmpty())
            renderDataBand(band);
    }
    if (m_cancelled)
        return;
    if (m_reportFooter)
        placeBand(m_reportFooter);
    finishPage(true);
}

void ReportRenderer::linkBands(const DesignObject* sheet)
{
    m_sheetBands.clear();
    m_children.clear();
    m_pageHeader = m_pageFooter = m_reportHeader = m_reportFooter = nullptr;
    QHash<QString, const DesignObject*> byName;
    for (const auto& child : sheet->children()) {
        if (!TemplateReader::isBandClass(child->className()))
            continue;
        m_sheetBands << child.get();
        byName.insert(child->name().toLower(), child.get());
    }
    std::stable_sort(m_sheetBands.begin(), m_sheetBands.end(),
                     [](const DesignObject* a, const DesignObject* b) {
                         return a->intValue(QStringLiteral("bandIndex")) <
                                b->intValue(QStringLiteral("bandIndex"));
                     });
    // Links are resolved after the whole sheet is read, so a child band listed
    // before its parent still belongs to it.
    for (const DesignObject* band : m_sheetBands) {
        const QString parent = band->stringValue(QStringLiteral("parentBand")).toLower();
        if (!parent.isEmpty() && byName.contains(parent))
            m_children[byName.value(parent)] << band;
        const QString type = band->className();
        if (type == QLatin1String("PageHeader") && !m_pageHeader)
            m_pageHeader = band;
        else if (type == QLatin1String("PageFooter") && !m_pageFooter)
            m_pageFooter = band;
        else if (type == QLatin1String("ReportHeader") && !m_reportHeader)
            m_reportHeader = band;
        else if (type == QLatin1String("ReportFooter") && !m_reportFooter)
            m_reportFooter = band;
    }
}

QVector<const DesignObject*> ReportRenderer::childBands(const DesignObject* parent,
                                                        const QString& className) const
{
    QVector<const DesignObject*> list;
    for (const DesignObject* band : m_children.value(parent)) {
        if (band->className() == className)
            list << band;
    }
    return list;
}

void ReportRenderer::renderDataBand(const DesignObject* band)
{
    const bool master = band->className() == QLatin1String("Data");
    const QString headerClass =
        master ? QStringLiteral("DataHeader") : QStringLiteral("SubDetailHeader");
    const QString footerClass =
        master ? QStringLiteral("DataFooter") : QStringLiteral("SubDetailFooter");
    const QVector<const DesignObject*> headers = childBands(band, headerClass);
    const QVector<const DesignObject*> footers = childBands(band, footerClass);
    const QVector<const DesignObject*> details = childBands(band, QStringLiteral("SubDetail"));
    const QString sourceName = band->stringValue(QStringLiteral("datasource"));
    DataSource* source = sourceName.isEmpty() ? nullptr : m_data.dataSource(sourceName);

    const bool hasRows = !source || source->first();
    if (!hasRows) {
        for (const DesignObject* header : headers) {
            if (header->boolValue(QStringLiteral("printAlways")))
                placeBand(header);
        }
        for (const DesignObject* footer : footers) {
            if (footer->boolValue(QStringLiteral("printAlways")))
                placeBand(footer);
        }
        return;
    }

    // A header must not stay alone at the bottom of a page: it travels with the first row.
    const bool keepsHeader = !headers.isEmpty() && setKeepMark();
    for (const DesignObject* header : headers) {
        placeBand(header);
        if (header->boolValue(QStringLiteral("reprintOnEachPage")))
            m_openHeaders << header;
    }
    const QString lineVariable = QStringLiteral("line_") + band->name().toLower();
    const bool keepTogether = band->boolValue(QStringLiteral("keepSubdetailTogether"));
    int line = 0;
    do {
        ++line;
        m_variables->setSystem(lineVariable, line);
        const bool breakBefore = line == 1 ? band->boolValue(QStringLiteral("startFromNewPage"))
                                           : band->boolValue(QStringLiteral("startNewPage"));
        if (breakBefore && !pageIsFresh())
            newPage();
        const bool holdsDetails = keepTogether && !details.isEmpty();
        const bool keepsRow = holdsDetails && setKeepMark();
        const bool heldByHeader = line == 1 && keepsHeader;
        placeBand(band);
        if (heldByHeader && !holdsDetails)
            m_keep = KeepMark();
        for (const DesignObject* detail : details)
            renderDataBand(detail);
        if (keepsRow || heldByHeader)
            m_keep = KeepMark();
    } while (!stopped() && source && source->next());
    if (m_cancelled)
        return;
    m_variables->removeSystem(lineVariable);
    for (const DesignObject* header : headers)
        m_openHeaders.removeAll(header);
    for (const DesignObject* footer : footers)
        placeBand(footer);
}

bool ReportRenderer::setKeepMark()
{
    if (m_keep.page >= 0)
        return false;
    m_keep.page = m_pages.size() - 1;
    m_keep.index = m_pages.last().placements.size();
    return true;
}

bool ReportRenderer::pageIsFresh() const
{
    return m_y <= m_freshY + tolerance;
}

void ReportRenderer::append(const std::shared_ptr<const RenderedBand>& band, qreal top,
                            qreal bottom)
{
    Placement placement;
    placement.band = band;
    placement.top = top;
    placement.bottom = bottom;
    placement.at = QPointF(m_left, m_y);
    m_pages.last().placements << placement;
    m_y += bottom - top;
}

void ReportRenderer::appendWhole(const DesignObject* band)
{
    auto rendered = std::make_shared<const RenderedBand>(m_bands->render(band, m_width));
    if (rendered->empty && !m_bands->styleOf(band).printIfEmpty)
        return;
    append(rendered, 0, rendered->height);
}

// Bands placed in the flow of the report may start an outline entry; the copies of
// headers reprinted on later pages, page headers and footers never do.
std::shared_ptr<const RenderedBand> ReportRenderer::renderOutlined(const DesignObject* band)
{
    RenderedBand rendered = m_bands->render(band, m_width);
    const ItemStyle& style = m_bands->styleOf(band);
    if (!style.outline.isEmpty()) {
        rendered.outlineTitle =
            m_expander->expand(style.outline, ExpressionExpander::Options{style.name, false})
                .simplified();
        rendered.outlineLevel = style.outlineLevel;
    }
    return std::make_shared<const RenderedBand>(std::move(rendered));
}

bool ReportRenderer::placeBand(const DesignObject* band)
{
    auto rendered = renderOutlined(band);
    if (rendered->empty && !m_bands->styleOf(band).printIfEmpty)
        return false;
    if (m_y + rendered->height <= m_limit + tolerance) {
        append(rendered, 0, rendered->height);
        return true;
    }
    // A band taller than a whole page is split wherever it starts: moving it first
    // would only leave a blank rest of page behind it, on the first page too.
    const bool fitsAPage = rendered->height <= m_limit - m_freshY + tolerance;
    if (!band->boolValue(QStringLiteral("splittable")) && !pageIsFresh() && fitsAPage) {
        newPage();
        // Rendered again on its new page, where page-dependent values differ.
        rendered = renderOutlined(band);
        if (m_y + rendered->height <= m_limit + tolerance) {
            append(rendered, 0, rendered->height);
            return true;
        }
    }
    // Nothing that holds this band fits on one page: a header kept with it would
    // take the part already placed here along to the next page, and leave this one blank.
    if (!fitsAPage)
        m_keep = KeepMark();
    // Split between text lines; a band taller than a whole page is split as
    // well, rather than cut off and lost.
    qreal top = 0;
    while (rendered->height - top > m_limit - m_y + tolerance) {
        const qreal available = m_limit - m_y;
        if (available <= 1 && pageIsFresh())
            break; // headers fill the page: nothing more can go on any page
        qreal cut = rendered->cutFor(top + available);
        if (cut <= top + tolerance) {
            if (!pageIsFresh()) {
                newPage();
                continue;
            }
            cut = top + available;
        }
        append(rendered, top, cut);
        top = cut;
        newPage();
    }
    append(rendered, top, rendered->height);
    return true;
}

void ReportRenderer::startPage(const QSet<const DesignObject*>& alreadyMoved)
{
    PageState state;
    state.size = m_pageSize;
    state.rangeStart = m_rangeStart;
    m_pages << state;
    const bool first = m_pages.size() - 1 == m_sheetFirstPage;
    m_variables->setSystem(pageVariable, m_pages.size() - m_rangeStart);
    m_variables->setSystem(pageCountVariable, 0);
    m_y = m_contentTop;
    m_limit = m_contentBottom;

    auto pageItems =
        std::make_shared<const RenderedBand>(m_bands->renderPageItems(m_sheet, m_pageSize));
    if (!pageItems->elements.isEmpty()) {
        Placement background;
        background.band = pageItems;
        background.bottom = m_pageSize.height();
        m_pages.last().placements << background;
    }
    if (first && m_reportHeader &&
        m_reportHeader->boolValue(QStringLiteral("printBeforePageHeader")))
        appendWhole(m_reportHeader);
    if (m_pageHeader &&
        (!first || m_pageHeader->boolValue(QStringLiteral("printOnFirstPage"), true))) {
        const int index = m_pages.last().placements.size();
        appendWhole(m_pageHeader);
        if (m_pages.last().placements.size() > index)
            m_pages.last().headerIndex = index;
    }
    if (m_pageFooter &&
        (!first || m_pageFooter->boolValue(QStringLiteral("printOnFirstPage"), true)))
        m_limit -= m_pageFooter->rectValue(QStringLiteral("geometry")).height() + footerOverhang;
    for (const DesignObject* header : m_openHeaders) {
        if (!alreadyMoved.contains(header))
            appendWhole(header);
    }
    m_freshY = m_y;
}

void ReportRenderer::newPage()
{
    // Rows kept together leave the full page with the band that did not fit.
    QVector<Placement> moved;
    PageState& page = m_pages.last();
    if (m_keep.page == m_pages.size() - 1 && m_keep.index < page.placements.size()) {
        const qreal keepTop = page.placements.at(m_keep.index).at.y();
        const bool somethingBefore = keepTop > m_freshY + tolerance;
        if (somethingBefore) {
            moved = page.placements.mid(m_keep.index);
            page.placements.resize(m_keep.index);
        }
    }
    finishPage(false);
    QSet<const DesignObject*> movedDesigns;
    for (const Placement& placement : moved)
        movedDesigns.insert(placement.band->design);
    startPage(movedDesigns);
    if (!moved.isEmpty()) {
        m_keep.page = m_pages.size() - 1;
        m_keep.index = m_pages.last().placements.size();
        for (const Placement& placement : moved)
            append(placement.band, placement.top, placement.bottom);
    } else if (m_keep.page >= 0) {
        m_keep.page = m_pages.size() - 1;
        m_keep.index = m_pages.last().placements.size();
    }
}

void ReportRenderer::finishPage(bool last)
{
    finishPageContent(last);
    emitPage(m_pages.size() - 1);
}

void ReportRenderer::finishPageContent(bool last)
{
    const int index = m_pages.size() - 1;
    const bool first = index == m_sheetFirstPage;
    PageState& page = m_pages.last();

    if (last && !first && m_pageHeader && page.headerIndex >= 0 &&
        !m_pageHeader->boolValue(QStringLiteral("printOnLastPage"), true)) {
        const Placement header = page.placements.takeAt(page.headerIndex);
        const qreal height = header.bottom - header.top;
        for (int i = page.headerIndex; i < page.placements.size(); ++i)
            page.placements[i].at.ry() -= height;
    }

    if (!m_pageFooter)
        return;
    const bool onFirst = m_pageFooter->boolValue(QStringLiteral("printOnFirstPage"), true);
    const bool onLast = m_pageFooter->boolValue(QStringLiteral("printOnLastPage"), true);
    const bool print = first && last ? (onFirst || onLast) : first ? onFirst : last ? onLast : true;
    if (!print)
        return;
    m_variables->setSystem(QStringLiteral("#IS_LAST_PAGEFOOTER"), last);
    m_variables->setSystem(QStringLiteral("#IS_FIRST_PAGEFOOTER"), first);
    auto footer = std::make_shared<const RenderedBand>(m_bands->render(m_pageFooter, m_width));
    if (footer->empty && !m_pageFooter->boolValue(QStringLiteral("printIfEmpty")))
        return;
    Placement placement;
    placement.band = footer;
    placement.bottom = footer->height;
    placement.at = QPointF(
        m_left, m_contentBottom - m_pageFooter->rectValue(QStringLiteral("geometry")).height());
    page.placements << placement;
}

void ReportRenderer::setPageCounters(int index, int count)
{
    const int rangeStart = m_pages.at(index).rangeStart;
    m_variables->setSystem(pageVariable, index - rangeStart + 1);
    m_variables->setSystem(pageCountVariable, count);
}

void ReportRenderer::emitPage(int index)
{
    PageState& state = m_pages[index];
    // Counted so far: the texts that show it are written again at the end.
    setPageCounters(index, index - state.rangeStart + 1);
    const BandEmitter::Finisher finisher = [this](const QString& prepared) {
        return m_expander->expandSecondPass(prepared);
    };
    const int pageDeferred = m_deferred.size();
    // The items are gathered in a list kept from page to page, and the page then takes
    // them in a list of just their number: no large list grows step by step, is
    // copied as it grows, or keeps room it does not use.
    m_pageItems.clear();
    BandEmitter emitter(m_pageItems, finisher);
    for (const Placement& placement : state.placements) {
        const RenderedBand& band = *placement.band;
        if (m_outline && !band.outlineTitle.isEmpty() && placement.top <= tolerance)
            m_outline->append({band.outlineTitle, band.outlineLevel, index, placement.at.y()});
        QVector<BandEmitter::DeferredText> deferred;
        emitter.emitBand(*placement.band, placement.top, placement.bottom, placement.at, &deferred);
        for (const BandEmitter::DeferredText& text : deferred)
            m_deferred << DeferredEntry{index, placement.band, text};
    }
    // The first pass goes on with the counters as it had them.
    m_variables->setSystem(pageVariable, index - state.rangeStart + 1);
    m_variables->setSystem(pageCountVariable, 0);
    state.placements.clear();
    state.placements.squeeze();
    RenderedPage page(state.size);
    QVector<RenderedItem>& items = page.items();
    items.reserve(m_pageItems.size());
    for (RenderedItem& item : m_pageItems)
        items.append(std::move(item));
    m_pageItems.clear();
    QVector<RenderedPage::Range> pending;
    for (int i = pageDeferred; i < m_deferred.size(); ++i)
        pending << RenderedPage::Range{m_deferred.at(i).text.firstItem,
                                       m_deferred.at(i).text.endItem};
    page.setPending(pending);
    m_output << page;
    if (m_onPage)
        m_onPage(index, m_output.last());
    if (!m_keepPages)
        letPageGo(index, pageDeferred);
}

// Only the items written again at the end stay, in their order, and the texts to
// write again point to them there.
void ReportRenderer::letPageGo(int index, int firstDeferred)
{
    RenderedPage& page = m_output[index];
    QVector<RenderedItem> kept;
    for (int i = firstDeferred; i < m_deferred.size(); ++i) {
        BandEmitter::DeferredText& text = m_deferred[i].text;
        const int first = kept.size();
        for (int item = text.firstItem; item < text.endItem; ++item)
            kept << page.items().at(item);
        text.firstItem = first;
        text.endItem = kept.size();
    }
    page.items() = kept;
    page.setPending({});
}

void ReportRenderer::finishDeferred()
{
    const BandEmitter::Finisher finisher = [this](const QString& prepared) {
        return m_expander->expandSecondPass(prepared);
    };
    int i = 0;
    while (i < m_deferred.size()) {
        const int index = m_deferred.at(i).page;
        int rangeEnd = index + 1;
        while (rangeEnd < m_pages.size() &&
               m_pages.at(rangeEnd).rangeStart == m_pages.at(index).rangeStart)
            ++rangeEnd;
        setPageCounters(index, rangeEnd - m_pages.at(index).rangeStart);
        BandEmitter emitter(m_output[index].items(), finisher);
        QVector<RenderedPage::Range> pending;
        int moved = 0;
        for (; i < m_deferred.size() && m_deferred.at(i).page == index; ++i) {
            BandEmitter::DeferredText text = m_deferred.at(i).text;
            text.firstItem += moved;
            text.endItem += moved;
            const int change = emitter.reemit(*m_deferred.at(i).band, text);
            moved += change;
            pending << RenderedPage::Range{text.firstItem, text.endItem + change};
        }
        m_output[index].setPending(pending);
        if (m_onPage)
            m_onPage(index, m_output.at(index));
        // A thousand pages of counters take a while: input is answered between pages.
        if (stopped())
            break;
    }
    m_deferred.clear();
}

} // namespace LimeReport
