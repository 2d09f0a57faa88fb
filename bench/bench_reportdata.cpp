// Report data benchmark: builds a corporate data set of about 10 MB (FACILITIES of each
// of the five types, each with collaterals, guarantors and a full 24-month history), or
// reads one from DATA.json, then measures the memory its document map and its screen data
// sources hold, and times its parsing, its population for the screen, and its population
// in export mode plus the text export. Run as bench_reportdata [FACILITIES|DATA.json]
// [RUNS] [qt]; with "qt" the memory is measured on the map QJsonDocument converts, for
// comparison. It prints the data-set size, the resident memory of each stage in MB and
// per MB of JSON, the best and the median time of each step, and the peak memory.
// bench_reportview N SAVE.json writes a grown data set to read.

#include "datasetjson.h"
#include "facilityrecords.h"
#include "tavids.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <functional>

namespace {

QString digits(int seed, int length)
{
    QString text;
    for (int i = 0; i < length; ++i)
        text += QLatin1Char('0' + (seed * 7 + i * 3) % 10);
    return text;
}

QJsonObject collateral(int n)
{
    QJsonObject row;
    for (const QString& column : FacilityRecords::collateralColumns())
        row.insert(column, digits(n + column.size(), 12));
    for (const char* date : {"createdDatetime", "updatedDatetime", "contractDate",
                             "memberAppraisalDate", "collateralAppraisalDate"})
        row.insert(QLatin1String(date), QStringLiteral("20230415103012"));
    row.insert(QStringLiteral("collateralValueMember"), 1250000000.0 + n);
    return row;
}

QJsonObject guarantor(int n)
{
    QJsonObject row;
    for (const QString& column : FacilityRecords::guarantorColumns())
        row.insert(column, digits(n + column.size(), 12));
    row.insert(QStringLiteral("createdDatetime"), QStringLiteral("20200131"));
    row.insert(QStringLiteral("updatedDatetime"), QStringLiteral("20240305101500"));
    return row;
}

QJsonObject facility(FacilityRecords::Type type, int n)
{
    QJsonObject row;
    for (const QString& column : FacilityRecords::columns(type)) {
        if (!column.startsWith(QLatin1String("month")))
            row.insert(column, digits(n + column.size(), 10));
    }
    for (const QString& column : FacilityRecords::columns(type)) {
        if (column.endsWith(QLatin1String("Date")) || column.endsWith(QLatin1String("Datetime")))
            row.insert(column, QStringLiteral("20230415"));
    }
    row.insert(QStringLiteral("dataYearMonth"), QStringLiteral("202403"));
    for (int s = 1; s <= 24; ++s) {
        row.insert(QString::asprintf("month%02dColCode", s), QString::number(1 + (n + s) % 5));
        row.insert(QString::asprintf("month%02dDay", s), QString::number((n * s) % 120));
    }
    row.insert(QStringLiteral("collaterals"), QJsonArray{collateral(n), collateral(n + 1)});
    row.insert(QStringLiteral("guarantors"), QJsonArray{guarantor(n)});
    return row;
}

QByteArray dataSet(int perType)
{
    QJsonObject lists;
    for (FacilityRecords::Type type :
         {FacilityRecords::Credits, FacilityRecords::Lcs, FacilityRecords::BankGuarantees,
          FacilityRecords::Securities, FacilityRecords::Others}) {
        QJsonArray rows;
        for (int n = 0; n < perType; ++n)
            rows.append(facility(type, n));
        lists.insert(FacilityRecords::key(type), rows);
    }
    QJsonArray officers;
    for (int n = 0; n < 10; ++n)
        officers.append(QJsonObject{{"identityNumberName", QStringLiteral("PENGURUS %1").arg(n)},
                                    {"shareOwnership", 10.0}});
    const QJsonObject corporate{
        {"reportNumber", "24041800009133070002"},
        {"latestDataYearMonth", "202403"},
        {"requestDate", "20240418084512"},
        {"corporateKeyWord",
         QJsonObject{{"identityNumberName", "PT BENCHMARK"}, {"estCertDate", "20050314"}}},
        {"corporateDebtors", QJsonArray{QJsonObject{{"fullName", "PT BENCHMARK"}}}},
        {"offclsSharehldrGroups",
         QJsonArray{QJsonObject{{"member", "611"}, {"offclsSharehldrs", officers}}}},
        {"facilitySummary", QJsonObject{{"currentTotalLimit", 33425000000.0}}},
        {"facility", lists},
    };
    const QJsonObject root{{"header", QJsonObject{{"dataSetTotal", "1"}}},
                           {"corporate", corporate}};
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

// A line of the process status in MB where the system reports it ("VmHWM:" the peak,
// "VmRSS:" the present resident size), else -1.
double statusMegabytes(const QByteArray& field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    // Files under /proc report no size, so the text is read whole, not by lines.
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(field.size()).trimmed().split(' ').first().toDouble() / 1024;
    }
    return -1;
}

double peakMegabytes()
{
    return statusMegabytes("VmHWM:");
}

double residentMegabytes()
{
    return statusMegabytes("VmRSS:");
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return file.readAll();
}

struct Timing
{
    qint64 best = 0;
    qint64 median = 0;
};

Timing timed(int runs, const std::function<void()>& step)
{
    QList<qint64> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        step();
        times << timer.elapsed();
    }
    std::sort(times.begin(), times.end());
    return {times.first(), times.at(times.size() / 2)};
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    const QString first = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    bool isCount = false;
    const int perType = first.isEmpty() ? 500 : first.toInt(&isCount);
    const int runs = argc > 2 ? QString::fromLatin1(argv[2]).toInt() : 3;
    const bool qtMap = argc > 3 && QLatin1String(argv[3]) == QLatin1String("qt");
    QTextStream out(stdout);
    QTemporaryDir dir;

    const QByteArray json = first.isEmpty() || isCount ? dataSet(perType) : readFile(first);
    const double jsonMegabytes = json.size() / (1024.0 * 1024.0);

    // Memory first, while the heap holds nothing but the JSON text. Resident growth
    // counts what the allocator keeps of freed memory too: an upper bound. A data set
    // generated here leaves freed memory behind that the map then reuses, so the
    // figures only mean something for a data set read from a file.
    const auto growth = [&](double from) {
        const double grown = residentMegabytes() - from;
        return QStringLiteral("%1 MB, %2 MB per MB of JSON")
            .arg(grown, 0, 'f', 1)
            .arg(grown / jsonMegabytes, 0, 'f', 2);
    };
    const double start = residentMegabytes();
    QVariantMap measured =
        qtMap ? QJsonDocument::fromJson(json).object().toVariantMap() : DataSetJson::parse(json);
    const QString mapGrowth = growth(start);
    QString sourcesGrowth;
    {
        TAVIDs tavids;
        tavids.fillDataSets(std::move(measured), false);
        sourcesGrowth = growth(start);
    }
    const double memoryPeak = peakMegabytes();

    qint64 exportBytes = 0;
    const Timing parse = timed(runs, [&] { DataSetJson::parse(json); });
    const QVariantMap document = DataSetJson::parse(json);
    const Timing screen = timed(runs, [&] {
        TAVIDs tavids;
        tavids.fillDataSets(document, false);
    });
    const QString path = dir.filePath(QStringLiteral("export.txt"));
    const Timing exported = timed(runs, [&] {
        TAVIDs tavids;
        tavids.fillDataSets(document, true);
        if (!tavids.writeExportFile(document, path))
            qFatal("export failed");
        exportBytes = QFileInfo(path).size();
    });

    out << "data set " << json.size() << " bytes"
        << (isCount || first.isEmpty() ? QStringLiteral(", %1 facilities of each type").arg(perType)
                                       : QStringLiteral(" from ") + first)
        << "\n"
        << "  document map held            " << mapGrowth
        << (qtMap ? " (QJsonDocument's conversion)" : "") << "\n"
        << "  screen data sources held     " << sourcesGrowth << " (the map handed over)\n"
        << "  peak so far                  " << QString::number(memoryPeak, 'f', 1) << " MB\n"
        << (isCount || first.isEmpty()
                ? "  (generated here: the memory figures above are too low; read a data set "
                  "from a file for them)\n"
                : "")
        << runs << " runs (best / median)\n"
        << "  JSON to map            " << parse.best << " / " << parse.median << " ms\n"
        << "  fillDataSets (screen)  " << screen.best << " / " << screen.median << " ms\n"
        << "  fillDataSets (export) + writeExportFile  " << exported.best << " / "
        << exported.median << " ms, " << exportBytes << " bytes written\n"
        << "  peak memory " << QString::number(peakMegabytes(), 'f', 1) << " MB\n";
    return 0;
}
