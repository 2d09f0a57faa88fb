#ifndef REPORTRENDERER_H
#define REPORTRENDERER_H

#include "bandemitter.h"
#include "lroutline.h"
#include "lrrenderedpage.h"
#include "renderedband.h"

#include <QHash>
#include <QSet>

#include <functional>
#include <memory>

namespace LimeReport {

class BandRenderer;
class DataSourceManager;
class DesignObject;
class ExpressionExpander;
class ItemStyles;
class ReportTemplate;
class ScriptEngine;
class VariableStore;

// Renders every page sheet of a template against the data manager's sources:
// bands top to bottom within the margins, a new page when one does not fit,
// page headers and footers as their flags say, then a second pass for the
// page counters. Each page is drawn as soon as it is full, and its laid-out
// bands are let go; only the texts that show page counters are kept, to be
// written again once the page count is known.
class ReportRenderer
{
public:
    using PageHandler = std::function<void(int index, const RenderedPage& page)>;
    using Continuation = std::function<bool()>;

    ReportRenderer(const ReportTemplate& report, DataSourceManager& data);
    ~ReportRenderer();

    // onPage sees every page once it is drawn, and again if its page counters
    // changed at the end; keepGoing, asked after every band and after every page
    // whose counters were written again, stops the render by answering false, and
    // the render then returns no pages.
    ReportPages render(const PageHandler& onPage = {}, const Continuation& keepGoing = {});
    // Where render() adds the outline entries of each page as it is drawn, before
    // onPage sees it; outline is left as it was when null.
    void setOutlineSink(ReportOutline* outline) { m_outline = outline; }
    // Without kept pages, a page's items are let go once onPage has seen it, but for
    // those written again at the end; render() then returns only what was kept. For a
    // caller that puts each page out as it comes, so that memory does not grow with
    // the report.
    void setKeepPages(bool keep) { m_keepPages = keep; }

private:
    struct Placement
    {
        std::shared_ptr<const RenderedBand> band;
        qreal top = 0; // the part of the band shown here
        qreal bottom = 0;
        QPointF at; // where that part's top-left lands on the page
    };
    struct PageState
    {
        QSizeF size;
        int rangeStart = 0;
        int headerIndex = -1; // placement of the page header, if any
        QVector<Placement> placements;
    };
    struct KeepMark
    {
        int page = -1;
        int index = -1;
    };

    void renderSheet(const DesignObject* sheet);
    void linkBands(const DesignObject* sheet);
    QVector<const DesignObject*> childBands(const DesignObject* parent,
                                            const QString& className) const;
    void renderDataBand(const DesignObject* band);
    bool placeBand(const DesignObject* band);
    void append(const std::shared_ptr<const RenderedBand>& band, qreal top, qreal bottom);
    void appendWhole(const DesignObject* band);
    std::shared_ptr<const RenderedBand> renderOutlined(const DesignObject* band);
    void startPage(const QSet<const DesignObject*>& alreadyMoved = {});
    void newPage();
    void finishPage(bool last);
    void finishPageContent(bool last);
    bool pageIsFresh() const;
    bool setKeepMark();
    bool stopped();
    void setPageCounters(int index, int count);
    void emitPage(int index);
    void letPageGo(int index, int firstDeferred);
    void finishDeferred();

    const ReportTemplate& m_report;
    DataSourceManager& m_data;
    std::unique_ptr<VariableStore> m_variables;
    std::unique_ptr<ScriptEngine> m_scripts;
    std::unique_ptr<ExpressionExpander> m_expander;
    std::unique_ptr<ItemStyles> m_styles;
    std::unique_ptr<BandRenderer> m_bands;

    // The sheet being rendered.
    const DesignObject* m_sheet = nullptr;
    QSizeF m_pageSize;
    qreal m_left = 0;
    qreal m_width = 0;
    qreal m_contentTop = 0;
    qreal m_contentBottom = 0;
    const DesignObject* m_pageHeader = nullptr;
    const DesignObject* m_pageFooter = nullptr;
    const DesignObject* m_reportHeader = nullptr;
    const DesignObject* m_reportFooter = nullptr;
    QVector<const DesignObject*> m_sheetBands;
    QHash<const DesignObject*, QVector<const DesignObject*>> m_children;
    int m_sheetFirstPage = 0;
    int m_rangeStart = 0;

    QVector<PageState> m_pages;
    qreal m_y = 0;
    qreal m_limit = 0;
    qreal m_freshY = 0;
    QVector<const DesignObject*> m_openHeaders;
    KeepMark m_keep;

    struct DeferredEntry
    {
        int page = 0;
        std::shared_ptr<const RenderedBand> band;
        BandEmitter::DeferredText text;
    };
    ReportPages m_output;
    QVector<RenderedItem> m_pageItems;
    QVector<DeferredEntry> m_deferred;
    PageHandler m_onPage;
    ReportOutline* m_outline = nullptr;
    Continuation m_keepGoing;
    bool m_cancelled = false;
    bool m_keepPages = true;
};

} // namespace LimeReport

#endif // REPORTRENDERER_H
