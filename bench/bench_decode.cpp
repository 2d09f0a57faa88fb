// Decoding figures: BufferAES throughput on each engine beside `openssl speed`, and
// openDocument on a 50 MB document beside the same work done by openssl and unzip on the
// same archive.

#include "aesblockcipher.h"
#include "bufferaes.h"
#include "documentdecoder.h"
#include "documentencoder.h"
#include "documentformat.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLoggingCategory>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

const QString password = QStringLiteral("benchmark");
constexpr int documentMegabytes = 50;

struct Workload
{
    QTemporaryDir dir;
    QString document;
    QString wholeStream;
    qint64 documentBytes = 0;
};

// Random Base64 inside JSON deflates to about three quarters, so the archive is
// near the document size while its entries still look like data sets.
Workload& workload()
{
    static Workload w;
    if (!w.document.isEmpty())
        return w;
    QRandomGenerator random(2024);
    QList<DocumentEncoder::Entry> entries;
    qint64 total = 0;
    for (int i = 0; total < qint64(documentMegabytes) * 1000 * 1000 * 4 / 3; ++i) {
        QByteArray raw(4 << 20, Qt::Uninitialized);
        random.fillRange(reinterpret_cast<quint32*>(raw.data()), raw.size() / 4);
        const QByteArray json = "{\n  \"data\": \"" + raw.toBase64() + "\"\n}\n";
        total += json.size();
        entries.append({QStringLiteral("dataset%1.json").arg(i), json});
    }
    const QByteArray archive = DocumentEncoder::zipArchive(entries, 1);
    const QByteArray document = DocumentEncoder::encode(archive, password, true, "minVer=1.0.0");
    w.document = w.dir.filePath("big.vardo");
    w.wholeStream = w.dir.filePath("big.zip.enc");
    QFile file(w.document);
    if (file.open(QIODevice::WriteOnly))
        file.write(document);
    w.documentBytes = document.size();
    // The same archive as one CBC stream, the form openssl decrypts in one go.
    QFile stream(w.wholeStream);
    if (stream.open(QIODevice::WriteOnly))
        stream.write(BufferAES::encrypt(archive, DocumentFormat::keyFromPassword(password)));
    return w;
}

// Peak resident memory of this process, in bytes, and its reset; Linux only.
qint64 peakResident()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong() * 1024;
    }
    return -1;
}

void resetPeakResident()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

double seconds(qint64 nanoseconds)
{
    return static_cast<double>(nanoseconds) / 1e9;
}

double openDocumentSeconds = 0;
double toolsSeconds = 0;
// Bytes per second of processor time, the measure `openssl speed` uses too.
double fastestBufferAES = 0;

const char* engineName(AesBlockCipher::Engine engine)
{
    return engine == AesBlockCipher::Engine::AesNi ? "AES-NI" : "portable";
}

// One segment, the most the decoder hands over at once, on each engine.
void BM_BufferAESDecrypt(benchmark::State& state)
{
    const auto engine = static_cast<AesBlockCipher::Engine>(state.range(1));
    if (!AesBlockCipher::availableEngines().contains(engine)) {
        state.SkipWithError("this processor has no AES instructions");
        return;
    }
    const AesBlockCipher::Engine previous = AesBlockCipher::defaultEngine();
    AesBlockCipher::setDefaultEngine(engine);
    state.SetLabel(engineName(engine));
    const QByteArray key = DocumentFormat::keyFromPassword(password);
    const QByteArray cipher = BufferAES::encrypt(QByteArray(int(state.range(0)) - 16, 'x'), key);
    for (auto _ : state)
        benchmark::DoNotOptimize(BufferAES::decrypt(cipher, key));
    state.SetBytesProcessed(state.iterations() * cipher.size());
    AesBlockCipher::setDefaultEngine(previous);
}
BENCHMARK(BM_BufferAESDecrypt)
    ->Args({DocumentFormat::segmentSize, int(AesBlockCipher::Engine::Portable)})
    ->Args({DocumentFormat::segmentSize, int(AesBlockCipher::Engine::AesNi)})
    ->Unit(benchmark::kMicrosecond);

// Decryption alone, from the document in memory to the archive in memory. The copy the
// decoder decrypts in place stands for the buffer openDocument reads the file into, and
// is made outside the timing.
void BM_DecryptDocument50MB(benchmark::State& state)
{
    Workload& w = workload();
    QFile file(w.document);
    const QByteArray document = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    for (auto _ : state) {
        state.PauseTiming();
        QByteArray read(document.constData(), document.size());
        QByteArray archive;
        state.ResumeTiming();
        if (decryptDocumentData(1, 0, 10, password, std::move(read), &archive).code != 0)
            state.SkipWithError("the benchmark document did not decrypt");
        benchmark::DoNotOptimize(archive);
    }
    state.SetBytesProcessed(state.iterations() * document.size());
}
BENCHMARK(BM_DecryptDocument50MB)->Iterations(5)->Unit(benchmark::kMillisecond);

void BM_OpenDocument50MB(benchmark::State& state)
{
    Workload& w = workload();
    qint64 peak = 0;
    QElapsedTimer timer;
    for (auto _ : state) {
        resetPeakResident();
        const qint64 before = peakResident();
        timer.start();
        std::unique_ptr<OpenResult> result(
            openDocument(1, 0, 10, password, w.document, QStringLiteral("./tmp"), true));
        const qint64 elapsed = timer.nsecsElapsed();
        state.SetIterationTime(seconds(elapsed));
        openDocumentSeconds = seconds(elapsed);
        if (result->code != 0)
            state.SkipWithError("the benchmark document did not open");
        peak = qMax(peak, peakResident() - before);
    }
    state.SetBytesProcessed(state.iterations() * w.documentBytes);
    state.counters["peak_MiB"] = static_cast<double>(peak) / (1 << 20);
    state.counters["file_MB"] = static_cast<double>(w.documentBytes) / 1e6;
}
BENCHMARK(BM_OpenDocument50MB)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

// Runs a program under GNU time when it is there, for its peak memory in KiB.
qint64 runTool(const QString& program, const QStringList& args, bool* ok)
{
    const QString timeProgram =
        QStandardPaths::findExecutable(QStringLiteral("time"), {"/usr/bin"});
    QProcess process;
    if (timeProgram.isEmpty())
        process.start(program, args);
    else
        process.start(timeProgram, QStringList{"-f", "%M", program} + args);
    *ok = process.waitForFinished(120000) && process.exitCode() == 0;
    const QList<QByteArray> lines = process.readAllStandardError().trimmed().split('\n');
    return timeProgram.isEmpty() ? -1 : lines.last().toLongLong();
}

void BM_OpensslAndUnzip50MB(benchmark::State& state)
{
    Workload& w = workload();
    const QByteArray key = DocumentFormat::keyFromPassword(password).toHex();
    const QByteArray iv = BufferAES::defaultIv().toHex();
    const QString zip = w.dir.filePath("plain.zip");
    const QString out = w.dir.filePath("extracted");
    qint64 peakKib = -1;
    QElapsedTimer timer;
    for (auto _ : state) {
        QDir(out).removeRecursively();
        bool decrypted = false;
        bool unzipped = false;
        timer.start();
        const qint64 opensslPeak = runTool(
            "openssl",
            {"enc", "-d", "-aes-128-cbc", "-K", key, "-iv", iv, "-in", w.wholeStream, "-out", zip},
            &decrypted);
        const qint64 unzipPeak = runTool("unzip", {"-q", "-o", zip, "-d", out}, &unzipped);
        const qint64 elapsed = timer.nsecsElapsed();
        state.SetIterationTime(seconds(elapsed));
        toolsSeconds = seconds(elapsed);
        if (!decrypted || !unzipped)
            state.SkipWithError("openssl or unzip failed");
        peakKib = qMax(peakKib, qMax(opensslPeak, unzipPeak));
    }
    state.SetBytesProcessed(state.iterations() * w.documentBytes);
    if (peakKib >= 0)
        state.counters["peak_MiB"] = static_cast<double>(peakKib) / 1024;
}
BENCHMARK(BM_OpensslAndUnzip50MB)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

// Bytes per second of `openssl speed -evp aes-128-cbc -decrypt` on 16 KiB buffers, its
// largest, or 0 when openssl is not there.
double opensslDecryptSpeed()
{
    QProcess process;
    process.start(QStringLiteral("openssl"),
                  {"speed", "-evp", "aes-128-cbc", "-decrypt", "-seconds", "2", "-bytes", "16384"});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return 0;
    // The figures are in thousands of bytes per second, with a "k" after them.
    const QList<QByteArray> lines = process.readAllStandardOutput().trimmed().split('\n');
    const QByteArray figure = lines.last().simplified().split(' ').last();
    return figure.endsWith('k') ? figure.chopped(1).toDouble() * 1000 : 0;
}

class SpeedReporter : public benchmark::ConsoleReporter
{
public:
    SpeedReporter() : ConsoleReporter(OO_None) {}

    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            const auto bytes = run.counters.find("bytes_per_second");
            if (run.benchmark_name().rfind("BM_BufferAESDecrypt", 0) == 0 && !run.error_occurred &&
                bytes != run.counters.end())
                fastestBufferAES = qMax(fastestBufferAES, double(bytes->second));
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    benchmark::Initialize(&argc, argv);
    SpeedReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    if (fastestBufferAES > 0) {
        const double openssl = opensslDecryptSpeed();
        if (openssl > 0)
            std::printf("BufferAES decrypt / openssl speed aes-128-cbc -decrypt: %.2f (%.0f MB/s "
                        "against %.0f MB/s)\n",
                        fastestBufferAES / openssl, fastestBufferAES / 1e6, openssl / 1e6);
    }
    if (openDocumentSeconds > 0 && toolsSeconds > 0)
        std::printf("openDocument / (openssl + unzip): %.2f (%.0f ms against %.0f ms)\n",
                    openDocumentSeconds / toolsSeconds, openDocumentSeconds * 1000,
                    toolsSeconds * 1000);
    return 0;
}
