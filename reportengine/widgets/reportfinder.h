#ifndef REPORTFINDER_H
#define REPORTFINDER_H

#include "lrtextsearch.h"

#include <QObject>
#include <QPointer>
#include <QVector>

#include <memory>

class QTimer;

namespace LimeReport {

class PreviewReportWidget;

// Finds text in the pages of a preview while the window stays live: the pages are
// searched a slice at a time between events, a new query starts over, and pages that
// arrive while the report is still being laid out are searched as they come. Every
// match is marked on its sheet and the current one in another colour; moving to a
// match scrolls it into view.
class ReportFinder : public QObject
{
    Q_OBJECT
public:
    explicit ReportFinder(QObject* parent = nullptr);
    ~ReportFinder() override;

    void setPreview(PreviewReportWidget* preview);
    PreviewReportWidget* preview() const { return m_preview; }

    // Starts a search; an empty query ends one and removes its marks.
    void setQuery(const QString& query);
    QString query() const { return m_query; }
    const QVector<TextMatch>& matches() const { return m_matches; }
    // The current match, 0-based, or -1 while there is none.
    int current() const { return m_current; }
    // Every page there is has been searched.
    bool isComplete() const;

public slots:
    // To the next or the previous match, round from the last to the first and back.
    void next();
    void previous();
    // Ends the search and removes its marks.
    void clear();

signals:
    // The matches or the current one changed.
    void changed();

private:
    // Searches from the first page again; keepPlace stays on the current match.
    void restart(bool keepPlace);
    void searchSlice();
    void schedule();
    void markPage(int page, int firstMatch, int endMatch);
    void setCurrent(int index, bool scroll);
    void unmarkAll();

    QPointer<PreviewReportWidget> m_preview;
    QString m_query;
    std::unique_ptr<TextSearch> m_search;
    QVector<TextMatch> m_matches;
    QTimer* m_slice;
    int m_nextPage = 0;
    int m_current = -1;
    // The page the view showed when the search began: the first match from there on
    // becomes the current one.
    int m_startPage = 0;
    bool m_scrollToFirst = true;
    // Searching again after the pages changed, the match the user was on.
    TextMatch m_keep;
    QVector<QMetaObject::Connection> m_connections;
};

} // namespace LimeReport

#endif // REPORTFINDER_H
