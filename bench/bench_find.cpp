// Find benchmark: lays out the report of a data set as the viewer does, then times a
// find over all of its pages with the engine's search, and the marks the find bar
// puts on the sheets for the matches. Run as bench_find [DATASET.json] [TEXT...]; without
// a data set it uses the corporate sample. `bench_reportview 500 big.json` writes the
// data set of 500 facilities of each type.

#include "reportpopulation.h"
#include "tavids.h"

#include <LimeReport>
#include <lrpagetext.h>
#include <lrtextsearch.h>

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QTextStream>

#include <algorithm>

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    QTextStream out(stdout);
    const QStringList args = app.arguments().mid(1);

    QFile file(args.isEmpty() ? QStringLiteral(BENCH_SAMPLES "/corporate-basic.json")
                              : args.first());
    if (!file.open(QIODevice::ReadOnly)) {
        out << "cannot read " << file.fileName() << "\n";
        return 1;
    }
    QStringList queries = args.mid(1);
    if (queries.isEmpty()) {
        // Something rare, a name on every facility, and a word on every page.
        queries = QStringList{QStringLiteral("3578041108700002"), QStringLiteral("sumber rejeki"),
                              QStringLiteral("halaman")};
    }

    LimeReport::ReportEngine engine;
    TAVIDs dataSources;
    if (!populateDesignAndData(&engine, file.readAll(), &dataSources)) {
        out << "cannot load the report: " << engine.lastError() << "\n";
        return 1;
    }
    QElapsedTimer timer;
    timer.start();
    const LimeReport::ReportPages pages = engine.renderPages();
    out << "pages: " << pages.size() << ", laid out in " << timer.elapsed() << " ms\n";

    for (const QString& query : queries) {
        // Best of three: the figure is the search, not the machine's other work.
        qint64 best = -1;
        QVector<LimeReport::TextMatch> matches;
        for (int run = 0; run < 3; ++run) {
            timer.start();
            matches = LimeReport::TextSearch(query).find(pages);
            const qint64 elapsed = timer.elapsed();
            best = best < 0 ? elapsed : std::min(best, elapsed);
        }
        timer.start();
        int rects = 0;
        for (int i = 0; i < matches.size();) {
            const int page = matches.at(i).page;
            const LimeReport::PageText text(pages.at(page));
            for (; i < matches.size() && matches.at(i).page == page; ++i)
                rects += text.rects(matches.at(i).range).size();
        }
        const qint64 marking = timer.elapsed();
        out << "find \"" << query << "\": " << matches.size() << " matches, search " << best
            << " ms ("
            << QString::number(pages.isEmpty() ? 0.0 : double(best) / pages.size(), 'f', 3)
            << " ms a page), marks (" << rects << " rectangles) " << marking << " ms\n";
    }
    return 0;
}
