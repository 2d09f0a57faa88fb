#ifndef LROUTLINE_H
#define LROUTLINE_H

#include <QString>
#include <QVector>

namespace LimeReport {

// A place in the rendered pages a reader can jump to: a band whose "outline" text
// expanded to something, where it first appeared. Levels nest: an entry belongs to
// the closest entry before it of a lower level.
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
