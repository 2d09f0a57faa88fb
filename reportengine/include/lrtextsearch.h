#ifndef LRTEXTSEARCH_H
#define LRTEXTSEARCH_H

#include "lrpagetext.h"

#include <QHash>
#include <QString>
#include <QVector>

namespace LimeReport {

struct TextMatch
{
    int page = -1;
    TextRange range;
};

// Finds text as a reader types it: case and accents do not count ("sumber makmur"
// finds "SUMBÈR Makmur"), runs of spaces are one space, and within one text item a
// line break stands for a space or for nothing, since wrapping may have eaten a space
// or split a word. A match never spans two items.
class TextSearch
{
public:
    explicit TextSearch(const QString& query);

    // Nothing to look for: the query is empty or only spaces.
    bool isEmpty() const { return m_query.isEmpty(); }
    // The matches of one page in reading order; page is what TextMatch::page gets.
    QVector<TextMatch> find(const RenderedPage& page, int pageIndex) const;
    QVector<TextMatch> find(const ReportPages& pages) const;
    // The matches within one text.
    QVector<TextRange> find(const QString& text, int item = -1) const;

private:
    struct Folded
    {
        QString text;          // ' ' for a run of spaces, '\n' for a line break
        QVector<int> from, to; // the source characters each folded character came from
    };
    Folded foldText(const QString& text) const;
    const QString& foldCharacter(uint code) const;

    QString m_query;
    mutable QHash<uint, QString> m_folds;
};

} // namespace LimeReport

#endif // LRTEXTSEARCH_H
