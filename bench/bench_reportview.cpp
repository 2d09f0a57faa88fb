// Report view benchmark: the time from an opened document to its first page painted
// and to the final page count (the view's pagesSet), with the longest time the event
// loop was kept from input meanwhile, for the corporate sample as it is or grown to N
// facilities of each type by repeating the sample's own facilities, with their
// collaterals and guarantors, or for a data set read from a file (a hostile one: a huge
// field, very long names). Run as bench_reportview [N|DATA.json] [SAVE.json|-] [SETS]; it prints
// the data-set size, the pages, those times, the reload time, the PDF time and size per
// page, and the peak memory of the process. With SAVE.json it also writes the data set, so
// that other programs (vardotool pack and export) can be measured on the same data. With
// SETS the document holds that many such data sets (each its own copy), and each is shown
// in turn before the peak memory is read: a document of several large data sets.

#include "lrpreviewreportwidget.h"
#include "openresult.h"
#include "reportwidget.h"

#include <LimeReport>

#include <algorithm>
#include <ctime>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QGraphicsView>
#include <QItemSelectionModel>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

namespace {

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Each facility list of the sample repeated up to `count` rows, account numbers kept apart.
QByteArray grownDataSet(const QByteArray& sample, int count)
{
    QJsonObject root = QJsonDocument::fromJson(sample).object();
    QJsonObject corporate = root.value(QStringLiteral("corporate")).toObject();
    QJsonObject lists = corporate.value(QStringLiteral("facility")).toObject();
    for (const QString& key : lists.keys()) {
        const QJsonArray rows = lists.value(key).toArray();
        if (rows.isEmpty())
            continue;
        QJsonArray grown;
        for (int i = 0; i < count; ++i) {
            QJsonObject row = rows.at(i % rows.size()).toObject();
            row.insert(QStringLiteral("accountNo"),
                       QStringLiteral("%1-%2").arg(key).arg(i, 5, 10, QLatin1Char('0')));
            grown.append(row);
        }
        lists.insert(key, grown);
    }
    corporate.insert(QStringLiteral("facility"), lists);
    root.insert(QStringLiteral("corporate"), corporate);
    // Pretty-printed, as documents carry their data sets.
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

// Peak resident memory in MB where the system reports it, else -1.
double peakMegabytes()
{
    // Files under /proc report no size, so the text is read whole.
    for (const QByteArray& line : readFile(QStringLiteral("/proc/self/status")).split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    }
    return -1;
}

// Processor time of the process so far, in ms: on a machine other programs keep busy
// it tells the work done apart from the time spent waiting for a processor.
qint64 cpuMilliseconds()
{
    return qint64(std::clock()) * 1000 / CLOCKS_PER_SEC;
}

OpenResult* opened(const QMap<QString, QByteArray>& entries)
{
    return new OpenResult(OpenResult::Success, QString(), QStringLiteral("bench.vardo"),
                          new QMap<QString, QByteArray>(entries), new QMap<QString, QString>());
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    QTextStream out(stdout);
    const QString first = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    bool isCount = false;
    const int count = first.toInt(&isCount);
    const QString dataFile = !first.isEmpty() && !isCount ? first : QString();

    const QByteArray sample = readFile(QStringLiteral(BENCH_SAMPLES "/corporate-basic.json"));
    const QByteArray json = !dataFile.isEmpty() ? readFile(dataFile)
                            : count > 0         ? grownDataSet(sample, count)
                                                : sample;
    if (json.isEmpty()) {
        out << "cannot read " << dataFile << "\n";
        return 1;
    }
    const int sets = argc > 3 ? std::max(1, QString::fromLatin1(argv[3]).toInt()) : 1;
    if (argc > 2 && QLatin1String(argv[2]) != QLatin1String("-")) {
        QFile save(QString::fromLocal8Bit(argv[2]));
        if (!save.open(QIODevice::WriteOnly) || save.write(json) != json.size()) {
            out << "cannot write " << save.fileName() << "\n";
            return 1;
        }
    }
    out << "data set: "
        << (!dataFile.isEmpty() ? QFileInfo(dataFile).fileName()
            : count > 0         ? QStringLiteral("%1 facilities of each type").arg(count)
                                : QStringLiteral("corporate sample"))
        << ", " << QString::number(json.size() / 1048576.0, 'f', 2) << " MB"
        << (sets > 1 ? QStringLiteral(", %1 of them in the document").arg(sets) : QString())
        << "\n";
    // Named so that the list shows the measured sets first and the sample last.
    QMap<QString, QByteArray> entries{{QStringLiteral("1-measured"), json},
                                      {QStringLiteral("9-sample"), sample}};
    for (int i = 2; i <= sets; ++i) {
        // A copy of its own, as each data set of a document is.
        QByteArray copy(json.constData(), json.size());
        entries.insert(QStringLiteral("%1-measured").arg(i), copy);
    }

    // Opening: the view lays the report out in slices once the event loop runs. A timer
    // ticking every 5 ms shows how long the loop was kept from input at most.
    QElapsedTimer timer;
    QElapsedTimer sinceTick;
    qint64 longestStall = 0;
    QTimer ticker;
    ticker.setInterval(5);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longestStall = std::max(longestStall, sinceTick.elapsed());
        sinceTick.restart();
    });
    qint64 firstPage = -1;
    qint64 firstPageCpu = -1;
    qint64 finalCount = -1;
    qint64 finalCountCpu = -1;
    qint64 cpuStart = cpuMilliseconds();
    timer.start();
    ReportWidget view(QStringLiteral("bench.vardo"), QString(), QStringLiteral("bench.vardo"),
                      opened(entries));
    view.resize(1200, 900);
    view.show();
    QObject::connect(view.getPreview(), &LimeReport::PreviewReportWidget::pagesAdded, [&] {
        if (firstPage >= 0)
            return;
        // The first page painted: the view repaints what is on screen at once.
        view.getPreview()->view()->viewport()->repaint();
        firstPage = timer.elapsed();
        firstPageCpu = cpuMilliseconds() - cpuStart;
    });
    const QMetaObject::Connection counted = QObject::connect(&view, &ReportWidget::pagesSet, [&] {
        finalCount = timer.elapsed();
        finalCountCpu = cpuMilliseconds() - cpuStart;
    });
    sinceTick.start();
    ticker.start();
    while (view.isLayingOut())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    ticker.stop();
    QObject::disconnect(counted);
    const int pages = view.getPageCount();

    // Back to the measured data set through the "Debitur" list, up to the view's pagesSet.
    qint64 reload = -1;
    auto* table = view.findChild<QTableView*>();
    table->selectionModel()->setCurrentIndex(table->model()->index(sets, 0),
                                             QItemSelectionModel::ClearAndSelect);
    while (view.isLayingOut())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QObject::connect(&view, &ReportWidget::pagesSet, [&] { reload = timer.elapsed(); });
    timer.start();
    table->selectionModel()->setCurrentIndex(table->model()->index(0, 0),
                                             QItemSelectionModel::ClearAndSelect);
    while (view.isLayingOut())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    out << "pages: " << pages << "\n";
    out << "open to first page painted: " << firstPage << " ms (processor " << firstPageCpu
        << " ms)\n";
    out << "open to the final page count (pagesSet): " << finalCount << " ms (processor "
        << finalCountCpu << " ms)\n";
    out << "longest event-loop stall while laying out: " << longestStall << " ms\n";
    out << "reselect in the list to pagesSet: " << reload << " ms\n";

    // The PDF of the pages on screen, as the Save button writes it: no second layout,
    // in the background, the event loop's longest stall meanwhile measured as above.
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("bench.pdf"));
    timer.start();
    cpuStart = cpuMilliseconds();
    QEventLoop pdfWait;
    QObject::connect(view.getPreview(), &LimeReport::PreviewReportWidget::pdfWritten, &pdfWait,
                     &QEventLoop::quit);
    QObject::connect(view.getPreview(), &LimeReport::PreviewReportWidget::pdfWriteFailed, &pdfWait,
                     &QEventLoop::quit);
    longestStall = 0;
    sinceTick.restart();
    ticker.start();
    if (view.getPreview()->writePdf(pdf))
        pdfWait.exec();
    ticker.stop();
    const qint64 pdfStall = longestStall;
    const qint64 pdfTime = timer.elapsed();
    const qint64 pdfCpu = cpuMilliseconds() - cpuStart;
    const qint64 bytes = QFileInfo(pdf).size();
    // Every other measured data set shown in turn, the last one left on screen.
    for (int i = 1; i < sets; ++i) {
        table->selectionModel()->setCurrentIndex(table->model()->index(i, 0),
                                                 QItemSelectionModel::ClearAndSelect);
        while (view.isLayingOut())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    out << "PDF: " << pdfTime << " ms (processor " << pdfCpu << " ms), " << bytes << " bytes, "
        << (pages > 0 ? bytes / pages : 0) << " bytes per page, longest stall meanwhile "
        << pdfStall << " ms\n";
    out << "peak memory: " << QString::number(peakMegabytes(), 'f', 1) << " MB\n";
    return 0;
}
