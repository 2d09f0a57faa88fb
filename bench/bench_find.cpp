// Find benchmark: lays out the report of a data set as the viewer does, then times a
// find over all of its pages with the engine's search, and the marks the find bar
// puts on the sheets for the matches; then the find bar itself over a preview of the
// pages, up to its last match, with the longest time the event loop was kept from
// input meanwhile. Run as bench_find [DATASET.json] [TEXT...]; without
// a data set it uses the corporate sample. `bench_reportview 500 big.json` writes the
// data set of 500 facilities of each type.

#include "findbar.h"
#include "lrpreviewreportwidget.h"
#include "reportfinder.h"
#include "reportpopulation.h"
#include "tavids.h"

#include <LimeReport>
#include <lrpagetext.h>
#include <lrtextsearch.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLoggingCategory>
#include <QTextStream>
#include <QTimer>

#include <algorithm>

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
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

    // The find bar as the user meets it: the search runs between events.
    LimeReport::PreviewReportWidget preview(&engine);
    preview.resize(1200, 900);
    preview.setPages(pages);
    preview.show();
    LimeReport::FindBar bar;
    bar.setPreview(&preview);
    bar.show();
    QElapsedTimer sinceTick;
    qint64 longestStall = 0;
    QTimer ticker;
    ticker.setInterval(5);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longestStall = std::max(longestStall, sinceTick.elapsed());
        sinceTick.restart();
    });
    for (const QString& query : queries) {
        QCoreApplication::processEvents();
        longestStall = 0;
        sinceTick.start();
        ticker.start();
        timer.start();
        bar.finder()->setQuery(query);
        while (!bar.finder()->isComplete())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        const qint64 elapsed = timer.elapsed();
        ticker.stop();
        out << "find bar \"" << query << "\": " << bar.status() << " over " << pages.size()
            << " pages in " << elapsed << " ms, longest event-loop stall " << longestStall
            << " ms\n";
    }
    return 0;
}
