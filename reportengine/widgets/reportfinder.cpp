#include "reportfinder.h"

#include "lrpreviewreportwidget.h"
#include "textmarks.h"

#include <QElapsedTimer>
#include <QGraphicsItem>
#include <QGraphicsView>
#include <QTimer>

namespace LimeReport {

namespace {

// Short enough that typing and scrolling never wait for the search.
constexpr int sliceMs = 15;

} // namespace

ReportFinder::ReportFinder(QObject* parent) : QObject(parent), m_slice(new QTimer(this))
{
    m_slice->setSingleShot(true);
    m_slice->setInterval(0);
    connect(m_slice, &QTimer::timeout, this, &ReportFinder::searchSlice);
}

ReportFinder::~ReportFinder() = default;

void ReportFinder::setPreview(PreviewReportWidget* preview)
{
    if (preview == m_preview)
        return;
    unmarkAll();
    for (const QMetaObject::Connection& connection : m_connections)
        disconnect(connection);
    m_connections.clear();
    m_preview = preview;
    if (preview) {
        m_connections << connect(preview, &PreviewReportWidget::pagesAdded, this,
                                 [this](int count) {
                                     // Fewer pages than searched: the report is being laid out
                                     // anew.
                                     if (count < m_nextPage)
                                         restart(true);
                                     else
                                         schedule();
                                 });
        // The last pages may have been redrawn (their page counts): search them again,
        // keeping the match the user is on.
        m_connections << connect(preview, &PreviewReportWidget::pagesSet, this,
                                 [this] { restart(true); });
        // Its sheets, and the marks on them, went with it.
        m_connections << connect(preview, &QObject::destroyed, this, [this] {
            m_matches.clear();
            m_current = -1;
            m_search.reset();
            emit changed();
        });
    }
    restart(false);
}

void ReportFinder::setQuery(const QString& query)
{
    if (query == m_query)
        return;
    m_query = query;
    restart(false);
}

void ReportFinder::clear()
{
    m_query.clear();
    restart(false);
}

void ReportFinder::restart(bool keepPlace)
{
    if (!keepPlace) {
        // A new search begins where the reader is and shows its first match.
        m_keep = TextMatch();
        m_startPage = m_preview ? std::max(0, m_preview->currentPage() - 1) : 0;
        m_scrollToFirst = true;
    } else if (m_current >= 0) {
        m_keep = m_matches.at(m_current);
        m_startPage = m_keep.page;
        m_scrollToFirst = false;
    }
    unmarkAll();
    m_matches.clear();
    m_current = -1;
    m_nextPage = 0;
    m_search = std::make_unique<TextSearch>(m_query);
    if (m_search->isEmpty() || !m_preview) {
        m_search.reset();
        m_slice->stop();
    } else {
        schedule();
    }
    emit changed();
}

void ReportFinder::schedule()
{
    if (m_search && !m_slice->isActive())
        m_slice->start();
}

bool ReportFinder::isComplete() const
{
    // A preview that went away has nothing more to search.
    return !m_search || !m_preview ||
           (m_nextPage >= m_preview->pageCount() && !m_preview->isRendering());
}

void ReportFinder::searchSlice()
{
    if (!m_preview || !m_search)
        return;
    QElapsedTimer slice;
    slice.start();
    const PackedPages& pages = m_preview->pages();
    while (m_nextPage < pages.size() && slice.elapsed() < sliceMs) {
        const int page = m_nextPage++;
        const QVector<TextMatch> found = m_search->find(pages.at(page), page);
        if (found.isEmpty())
            continue;
        const int first = m_matches.size();
        m_matches << found;
        markPage(page, first, m_matches.size());
        if (m_current < 0 && page >= m_startPage) {
            int chosen = first;
            for (int i = first; i < m_matches.size() && m_keep.page == page; ++i) {
                if (m_matches.at(i).range == m_keep.range)
                    chosen = i;
            }
            setCurrent(chosen, m_scrollToFirst);
        }
    }
    if (m_nextPage < pages.size())
        schedule();
    else if (m_current < 0 && !m_matches.isEmpty() && !m_preview->isRendering())
        setCurrent(0, m_scrollToFirst);
    if (isComplete())
        m_keep = TextMatch();
    emit changed();
}

void ReportFinder::markPage(int page, int firstMatch, int endMatch)
{
    const PageText text(m_preview->pages().at(page));
    QVector<QRectF> rects;
    for (int i = firstMatch; i < endMatch; ++i)
        rects << text.rects(m_matches.at(i).range);
    if (TextMarks* marks = TextMarks::of(m_preview->pageItem(page)))
        marks->setLayer(TextMarks::Found, rects);
}

void ReportFinder::setCurrent(int index, bool scroll)
{
    if (!m_preview)
        return;
    if (m_current >= 0) {
        if (TextMarks* marks =
                TextMarks::existing(m_preview->pageItem(m_matches.at(m_current).page)))
            marks->clearLayer(TextMarks::Current);
    }
    m_current = index;
    if (index < 0)
        return;
    const TextMatch& match = m_matches.at(index);
    const QVector<QRectF> rects = PageText(m_preview->pages().at(match.page)).rects(match.range);
    QGraphicsItem* sheet = m_preview->pageItem(match.page);
    if (TextMarks* marks = TextMarks::of(sheet))
        marks->setLayer(TextMarks::Current, rects);
    if (scroll && sheet && !rects.isEmpty()) {
        QRectF area;
        for (const QRectF& rect : rects)
            area |= rect;
        // Some of the text around the match stays in view.
        m_preview->view()->ensureVisible(sheet->mapRectToScene(area), 60, 60);
    }
}

void ReportFinder::next()
{
    if (m_matches.isEmpty())
        return;
    if (m_current + 1 < m_matches.size())
        setCurrent(m_current + 1, true);
    else if (isComplete())
        setCurrent(0, true);
    emit changed();
}

void ReportFinder::previous()
{
    if (m_matches.isEmpty())
        return;
    if (m_current > 0)
        setCurrent(m_current - 1, true);
    else if (isComplete())
        setCurrent(m_matches.size() - 1, true);
    emit changed();
}

void ReportFinder::unmarkAll()
{
    if (!m_preview)
        return;
    int lastPage = -1;
    for (const TextMatch& match : m_matches) {
        if (match.page == lastPage)
            continue;
        lastPage = match.page;
        if (TextMarks* marks = TextMarks::existing(m_preview->pageItem(match.page))) {
            marks->clearLayer(TextMarks::Found);
            marks->clearLayer(TextMarks::Current);
        }
    }
}

} // namespace LimeReport
