#ifndef LROUTLINE_H
#define LROUTLINE_H

#include <QString>
#include <QVector>

namespace LimeReport {

// A place in the rendered pages a reader can jump to. A template marks it on a band:
//   outline       (QString) expanded as an item's text is, with the band's rows;
//                 a band whose text expands to nothing (after trimming) adds no entry
//   outlineLevel  (int, default 0) how deep the entry nests
// The entry is where the band first shows in the flow of the report: a header
// reprinted on later pages adds one entry, a band moved to the next page with the
// rows it is kept with has its entry there, and page headers and footers add none.
// Levels nest: an entry belongs to the closest entry before it of a lower level.
struct OutlineEntry
{
    QString title;
    int level = 0;
    int page = 0; // index into the rendered pages, from 0
    qreal y = 0;  // top of the band on its page, in 0.1 mm
};

using ReportOutline = QVector<OutlineEntry>;

} // namespace LimeReport

#endif // LROUTLINE_H
