// Rendering benchmark: the render-bench template against generated rows, as
// described in README-render.md. Prints pages, render time, time to the PDF
// file, peak memory and PDF bytes per page.

#include "tablesource.h"

#include <LimeReport>

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdint>

namespace {

const QStringList words = {"laporan", "pengujian", "kinerja", "mesin",     "cetak",     "halaman",
                           "baris",   "data",      "rincian", "pelanggan", "transaksi", "periode",
                           "gudang",  "cabang",    "nilai",   "catatan"};

QVariant rowValue(int i, const QString& column)
{
    if (column == QLatin1String("c1"))
        return i + 1;
    if (column == QLatin1String("c2"))
        return QStringLiteral("Pelanggan %1").arg(i + 1, 5, 10, QLatin1Char('0'));
    if (column == QLatin1String("c3"))
        return double((qint64(i) * 7919) % 100000000) / 100 + 1000;
    if (column == QLatin1String("c4"))
        return QStringLiteral("2024-%1-%2")
            .arg(i % 12 + 1, 2, 10, QLatin1Char('0'))
            .arg(i % 28 + 1, 2, 10, QLatin1Char('0'));
    if (column == QLatin1String("c5"))
        return QStringLiteral("KD-%1").arg((qint64(i) * 37) % 1000000, 6, 10, QLatin1Char('0'));
    if (column == QLatin1String("c6")) {
        QString text = QStringLiteral("Baris %1:").arg(i + 1);
        std::uint32_t k = std::uint32_t(i) * 2654435761u;
        while (text.size() < 150) {
            text += QLatin1Char(' ') + words.at(int(k % 16));
            k = k * 1103515245u + 12345u;
        }
        return text.left(150);
    }
    return QVariant();
}

// Peak resident memory in MB where the system tells it, else -1.
double peakMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QRegularExpression peak(QStringLiteral("VmHWM:\\s+(\\d+) kB"));
    const QRegularExpressionMatch match = peak.match(QString::fromLatin1(status.readAll()));
    return match.hasMatch() ? match.captured(1).toDouble() / 1024 : -1;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int rows = argc > 1 ? QString::fromLatin1(argv[1]).toInt() : 10000;
    QTextStream out(stdout);

    LimeReport::ReportEngine engine;
    if (!engine.loadFromFile(QStringLiteral(BENCH_TEMPLATE))) {
        out << "cannot load " << BENCH_TEMPLATE << ": " << engine.lastError() << "\n";
        return 1;
    }
    TableSource master(
        {"c1", "c2", "c3", "c4", "c5", "c6"}, [rows] { return rows; }, rowValue);
    TableSource details(
        {"d1", "d2"}, [] { return 2; },
        [&master](int j, const QString& column) -> QVariant {
            const int m = master.currentRow() + 1;
            if (column == QLatin1String("d1"))
                return QStringLiteral("Rincian %1.%2").arg(m).arg(j + 1);
            return (m * 13 + j * 7) % 1000;
        });
    master.connectTo(engine.dataManager()->createCallbackDatasource(QStringLiteral("rows")));
    details.connectTo(engine.dataManager()->createCallbackDatasource(QStringLiteral("details")));

    QElapsedTimer timer;
    timer.start();
    const int pages = engine.renderPages().size();
    const qint64 renderMs = timer.elapsed();

    QTemporaryDir dir;
    const QString pdf = argc > 2 ? QString::fromLocal8Bit(argv[2])
                                 : dir.filePath(QStringLiteral("render-bench.pdf"));
    timer.restart();
    if (!engine.printToPDF(pdf)) {
        out << "cannot write " << pdf << "\n";
        return 1;
    }
    const qint64 pdfMs = timer.elapsed();
    const qint64 bytes = QFileInfo(pdf).size();

    out << "rows " << rows << "  pages " << pages << "  render " << renderMs << " ms"
        << "  render+PDF " << pdfMs << " ms  peak " << QString::number(peakMegabytes(), 'f', 1)
        << " MB"
        << "  PDF " << bytes << " bytes (" << (pages ? bytes / pages : 0) << " per page)\n";
    return 0;
}
