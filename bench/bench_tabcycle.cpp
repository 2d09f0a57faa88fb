// Tab cycle benchmark: the memory the process holds while one document is opened in a
// tab of the real main window and closed again, over and over. Run as
// bench_tabcycle [CYCLES] [DOCUMENT PASSWORD] (100 cycles of a document made from the
// samples by default). It prints the resident size and the heap in use with the tab
// open and after it is closed, and the live widgets, for the first cycle and every 10
// cycles, then the growth from the first cycle to the last. Every tab closed should give
// back all it took, so the growth is what the cycles leak plus allocator noise.

#include "filecontent.h"
#include "mainwindow.h"
#include "tabcycle.h"
#include "uiutils.h"
#include "updateserver.h"

#include <QApplication>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QQmlEngine>
#include <QTemporaryDir>
#include <QTextStream>

#ifdef Q_OS_LINUX
#include <malloc.h>
#include <unistd.h>
#endif

namespace {

// Kibibytes, or -1 where the system does not tell.
struct Memory
{
    qint64 resident = -1;
    qint64 heap = -1;
};

Memory memoryNow()
{
    Memory memory;
#ifdef Q_OS_LINUX
    // Freed memory glibc still keeps for itself would read as held by the process.
    malloc_trim(0);
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 33))
    const struct mallinfo2 info = mallinfo2();
    memory.heap = qint64(info.uordblks + info.hblkhd) / 1024;
#endif
    // The second figure of statm is the resident size in pages.
    const QList<QByteArray> statm =
        FileContent::read(QStringLiteral("/proc/self/statm")).split(' ');
    if (statm.size() > 1)
        memory.resident = statm.at(1).toLongLong() * sysconf(_SC_PAGESIZE) / 1024;
#endif
    return memory;
}

QString kib(qint64 value)
{
    return value < 0 ? QStringLiteral("n/a") : QStringLiteral("%1 KiB").arg(value);
}

QString growth(qint64 first, qint64 last, int cycles)
{
    if (first < 0 || last < 0)
        return QStringLiteral("n/a");
    const qint64 grown = last - first;
    return QStringLiteral("%1 KiB (%2 KiB per cycle)")
        .arg(grown)
        .arg(cycles > 0 ? double(grown) / cycles : 0.0, 0, 'f', 2);
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        qputenv("QT_QUICK_BACKEND", "software");
    QApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    qmlRegisterType<UIUtils>("qrv.utils", 1, 0, "UIUtils");
    QTextStream out(stdout);
    QTextStream err(stderr);

    const int cycles = argc > 1 ? QString::fromLatin1(argv[1]).toInt() : 100;
    if (cycles < 1 || argc == 3 || argc > 4) {
        err << "usage: bench_tabcycle [CYCLES] [DOCUMENT PASSWORD]\n";
        return 64;
    }
    QTemporaryDir dir;
    QString document;
    QString password;
    if (argc == 4) {
        document = QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath();
        password = QString::fromLocal8Bit(argv[3]);
    } else {
        document = dir.filePath(QStringLiteral("siklus.vardo"));
        password = QStringLiteral("siklus2024");
        if (!FileContent::write(document, TabCycle::sampleDocument(BENCH_SAMPLES, password))) {
            err << "cannot write " << document << "\n";
            return 1;
        }
    }

    UpdateServer server;
    if (!server.listen() || !TabCycle::useLocalUpdateServer(server.port())) {
        err << "cannot set up the local update server\n";
        return 1;
    }
    MainWindow window(QStringList(QStringLiteral("run")));
    TabCycle cycle(&window, document, password);
    out << "document: " << document << "\n";
    out << "cycle  open: resident  heap        closed: resident  heap      widgets\n";

    // Read with the tab open too: a level after the close that creeps up towards the open
    // one is memory the allocator keeps for the next tab, a rising open level is a leak.
    Memory firstOpen;
    Memory lastOpen;
    Memory first;
    Memory last;
    for (int done = 1; done <= cycles; ++done) {
        if (!cycle.open()) {
            err << "cycle " << done << ": the document did not open";
            for (const QString& message : cycle.messages())
                err << " (" << message << ")";
            err << "\n";
            return 1;
        }
        const bool reading = done == 1 || done % 10 == 0 || done == cycles;
        if (reading)
            lastOpen = memoryNow();
        cycle.close();
        if (reading) {
            last = memoryNow();
            if (done == 1) {
                firstOpen = lastOpen;
                first = last;
            }
            out << qSetFieldWidth(5) << done << qSetFieldWidth(0) << "  " << qSetFieldWidth(12)
                << kib(lastOpen.resident) << qSetFieldWidth(0) << " " << qSetFieldWidth(12)
                << kib(lastOpen.heap) << qSetFieldWidth(0) << "  " << qSetFieldWidth(12)
                << kib(last.resident) << qSetFieldWidth(0) << " " << qSetFieldWidth(12)
                << kib(last.heap) << qSetFieldWidth(0) << " " << QApplication::allWidgets().size()
                << "\n";
            out.flush();
        }
    }
    out << "malloc_trim(0) before each reading: "
#ifdef Q_OS_LINUX
        << "yes"
#else
        << "no"
#endif
        << "\n";
    out << "resident growth with the tab open, first cycle to last: "
        << growth(firstOpen.resident, lastOpen.resident, cycles - 1) << "\n";
    out << "heap growth with the tab open, first cycle to last: "
        << growth(firstOpen.heap, lastOpen.heap, cycles - 1) << "\n";
    out << "resident growth from the first close to the last: "
        << growth(first.resident, last.resident, cycles - 1) << "\n";
    out << "heap growth from the first close to the last: "
        << growth(first.heap, last.heap, cycles - 1) << "\n";
    return 0;
}
