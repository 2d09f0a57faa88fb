#include "export_pdf.h"

#include "exportfilenames.h"
#include "reportpopulation.h"
#include "tavids.h"
#include "toolcommon.h"

#include <LimeReport>

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTextStream>

#include <algorithm>
#include <csignal>
#include <utility>

namespace {

// Set by Ctrl+C: the export stops at its next band or page and leaves no file behind.
volatile std::sig_atomic_t interrupted = 0;

extern "C" void onInterrupt(int)
{
    interrupted = 1;
}

// One line on standard error, rewritten in place, at most a few times a second.
class Progress
{
public:
    explicit Progress(const QString& name) : m_name(name) { m_shown.start(); }

    // Pages whose page counters are written again at the end come once more, earlier
    // ones among them: the count shown only grows.
    void laidOut(int index)
    {
        m_laidOut = std::max(m_laidOut, index + 1);
        if (m_shown.elapsed() >= 250)
            show(QStringLiteral("%1: %2 pages laid out").arg(m_name).arg(m_laidOut));
    }
    void written(int index, int count)
    {
        if (m_shown.elapsed() >= 250 || index + 1 == count)
            show(QStringLiteral("%1: page %2 of %3 written").arg(m_name).arg(index + 1).arg(count));
    }
    void end()
    {
        if (m_width > 0)
            m_err << "\n";
        m_err.flush();
    }

private:
    void show(const QString& text)
    {
        m_err << '\r' << text.leftJustified(m_width);
        m_err.flush();
        m_width = std::max(m_width, int(text.size()));
        m_shown.restart();
    }

    QString m_name;
    QTextStream m_err{stderr};
    QElapsedTimer m_shown;
    int m_width = 0;
    int m_laidOut = 0;
};

} // namespace

int exportPdf(const QStringList& args, QMap<QString, QByteArray> files, const QString& directory)
{
    const QDir dir(directory);
    const QMap<QString, QString> names =
        ExportFileNames::forEntries(files.keys(), ExportFileNames::pdf());
    int exitCode = 0;
    interrupted = 0;
    const auto previousHandler = std::signal(SIGINT, onInterrupt);
    for (auto it = files.begin(); it != files.end() && !interrupted; ++it) {
        const QString path = dir.filePath(names.value(it.key()));
        // One engine per data set, as each report view has its own.
        LimeReport::ReportEngine engine;
        TAVIDs dataSources;
        if (!populateDesignAndData(&engine, std::move(it.value()), &dataSources)) {
            exitCode = ToolCommon::fail(args, path + QStringLiteral(": ") + engine.lastError());
            continue;
        }
        Progress progress(names.value(it.key()));
        engine.setProgressHandlers(
            [&](int index, const LimeReport::RenderedPage&) { progress.laidOut(index); },
            [&](int index, int count) { progress.written(index, count); },
            [] { return !interrupted; });
        const bool written = engine.printToPDF(path);
        progress.end();
        if (interrupted)
            break;
        if (!written) {
            exitCode = ToolCommon::fail(args, path + QStringLiteral(": cannot write: ") +
                                                  engine.lastError());
            continue;
        }
        ToolCommon::out() << path << "\n";
        ToolCommon::out().flush();
    }
    std::signal(SIGINT, previousHandler == SIG_ERR ? SIG_DFL : previousHandler);
    if (interrupted)
        return ToolCommon::fail(args,
                                QStringLiteral("interrupted: the unfinished file was not kept"));
    return exitCode;
}
