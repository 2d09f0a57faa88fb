// Renders the debtor reports from the sample data sets through the real population
// step and engine, writes them as PDF and reads the PDF's text back, so that what is
// checked is what a user prints: sections, labels and the display rules of values.

#include "filecontent.h"
#include "reportpopulation.h"
#include "tavids.h"

#include <LimeReport>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

static void initResources()
{
    Q_INIT_RESOURCE(reports);
}

namespace {

QString pdfText(const QString& pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The report of one data set as PDF text, "" when any step failed.
QString renderedText(const QString& sample, const QString& pdfPath)
{
    LimeReport::ReportEngine engine;
    TAVIDs dataSources;
    if (!populateDesignAndData(
            &engine, FileContent::read(QStringLiteral(TEST_SAMPLES "/") + sample), &dataSources))
        return QString();
    if (!engine.printToPDF(pdfPath))
        return QString();
    return pdfText(pdfPath);
}

// Index just after the words appear in order, each after the previous one; -1 if not.
int findInOrder(const QString& text, const QStringList& words)
{
    int at = 0;
    for (const QString& word : words) {
        at = text.indexOf(word, at);
        if (at < 0)
            return -1;
        at += word.size();
    }
    return at;
}

QStringList monthLabels(int firstYear, int firstMonth)
{
    static const char* names[] = {"Jan", "Feb", "Mar", "Apr", "Mei", "Jun",
                                  "Jul", "Agt", "Sep", "Okt", "Nov", "Des"};
    QStringList labels;
    for (int i = 0; i < 24; ++i) {
        const int m = (firstMonth - 1 + i) % 12;
        const int y = firstYear + (firstMonth - 1 + i) / 12;
        labels << QStringLiteral("%1 %2")
                      .arg(QLatin1String(names[m]))
                      .arg(y % 100, 2, 10, QLatin1Char('0'));
    }
    return labels;
}

} // namespace

class TestReportRender : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void contents_data();
    void contents();
    void historyRunsOverTheTwentyFourMonthsBeforeTheRequest_data();
    void historyRunsOverTheTwentyFourMonthsBeforeTheRequest();
    void valueBesideItsLabel_data();
    void valueBesideItsLabel();
    void historyValuesSitUnderTheirMonth_data();
    void historyValuesSitUnderTheirMonth();
    void numbersAndWordsStayWhole_data();
    void numbersAndWordsStayWhole();
    void longNameWrapsFromTheFirstPage_data();
    void longNameWrapsFromTheFirstPage();

private:
    QString text(const QString& sample);

    QTemporaryDir dir;
    QHash<QString, QString> texts;
};

void TestReportRender::initTestCase()
{
    initResources();
    QVERIFY(dir.isValid());
}

QString TestReportRender::text(const QString& sample)
{
    if (!texts.contains(sample))
        texts.insert(sample, renderedText(sample, dir.filePath(sample + QStringLiteral(".pdf"))));
    return texts.value(sample);
}

void TestReportRender::contents_data()
{
    QTest::addColumn<QString>("sample");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("absent");

    const QStringList shared = {"KORA",
                                "Informasi Debitur",
                                "RAHASIA",
                                "Informasi ini bersifat RAHASIA",
                                "kata kunci pencarian",
                                "Nomor Laporan",
                                "Posisi Data Terakhir",
                                "Tanggal Permintaan",
                                "Kode Ref. Pengguna",
                                "Data Pokok Debitur",
                                "Penyajian informasi debitur pada KORA",
                                "Ringkasan Fasilitas",
                                "Plafon Efektif",
                                "Baki Debet",
                                "(dalam IDR)",
                                "Kualitas Terburuk",
                                "Jumlah Kreditur",
                                "BPR / BPRS",
                                "Lembaga Pembiayaan",
                                "Irrevocable L/C",
                                "Garansi Yang Diberikan",
                                "Fasilitas Lain",
                                "Penjamin",
                                "Agunan",
                                "Nama Penjamin",
                                "Golongan",
                                "Jenis Agunan",
                                "Paripasu",
                                "Bukti Kepemilikan",
                                "Asuransi",
                                "No Rekening",
                                "No Akad Awal",
                                "Tanggal Jatuh Tempo",
                                "Sebab Macet",
                                "Kualitas / Jumlah Hari Tunggakan",
                                "No L/C",
                                "Bank Beneficiary",
                                "Setoran Jaminan",
                                "Tanggal Wan Prestasi",
                                "Jenis Garansi",
                                "Nama Yang Dijamin",
                                "Tujuan Garansi",
                                "Jenis Fasilitas",
                                "Operator",
                                "Peruntukan",
                                "Tanggal Dibentuk",
                                "LJK",
                                "halaman 1 dari"};
    // No script error, no field the data sources lack, no unexpanded expression.
    const QStringList clean = {"not found", "Error", "$D{", "$S{", "undefined", "NaN"};

    QTest::newRow("individual") << QStringLiteral("individual-basic.json")
                                << (shared + QStringList{"Nama Sesuai Identitas",
                                                         "Jenis Kelamin / NPWP",
                                                         "Tempat / Tgl Lahir",
                                                         "Status Gelar Debitur",
                                                         "Pelapor / Tanggal Update",
                                                         "NIK /",
                                                         "Perempuan /",
                                                         "BANDUNG /",
                                                         "15 Juli 1988",
                                                         "Februari 2024",
                                                         "18 Maret 2024 10:15:30",
                                                         "17 Maret 2024",
                                                         "Sifat Kredit/Pembiayaan",
                                                         "Jumlah Hari Tunggakan",
                                                         "611 - PT Bank Sentosa Raya Tbk",
                                                         "Rp 312.456.789,50",
                                                         "2 - Dalam Perhatian Khusus",
                                                         "7,25 %",
                                                         "2 / Januari 2024",
                                                         "611 - 0123",
                                                         "RINA KUSUMAWATI",
                                                         "DEWI ANGGRAINI SAPUTRI"})
                                << (clean + QStringList{"Pemilik / Pengurus", "Surat Berharga",
                                                        "bagian ke", "Passport", "7.25 %"});
    QTest::newRow("corporate") << QStringLiteral("corporate-basic.json")
                               << (shared +
                                   QStringList{"Pemilik / Pengurus",
                                               "Pangsa",
                                               "Jabatan",
                                               "611 - PT Bank Sentosa Raya Tbk / 31 Januari 2024",
                                               "60,00 %",
                                               "25,5 %",
                                               "14,50 %",
                                               "BUDI HARTONO",
                                               "Surat Berharga",
                                               "No Surat Berharga",
                                               "Sovereign Rate",
                                               "Nilai Perolehan",
                                               "Nama LJK",
                                               "Nama Debitur",
                                               "Bentuk BU / Go Public",
                                               "Perseroan Terbatas /",
                                               "Tempat Pendirian",
                                               "Tanggal Akte Pendirian",
                                               "No / Tanggal Akta Terakhir",
                                               "Pemeringkat",
                                               "Tgl Pemeringkatan",
                                               "14 Maret 2005",
                                               "bagian ke 2 dari 3",
                                               "Rp 3.876.543.210,55",
                                               "Rp 15.500.000.000,00",
                                               "SUMBER REJEKI ABADI MAKMUR"})
                               << (clean + QStringList{"Nama Sesuai Identitas", "NIK /",
                                                       "Tempat Lahir", "60.00 %", "25.5 %"});
    QTest::newRow("individual without data")
        << QStringLiteral("individual-empty.json")
        << QStringList{"KORA",
                       "Informasi Debitur",
                       "Nomor Laporan",
                       "RAHMAT HIDAYAT NASUTION",
                       "Ringkasan Fasilitas",
                       "Plafon Efektif",
                       "Kualitas Terburuk",
                       "0,00",
                       "halaman 1 dari 1"}
        << (clean + QStringList{"Data Pokok Debitur", "Nama Sesuai Identitas",
                                "Sifat Kredit/Pembiayaan", "No L/C", "Jenis Garansi",
                                "Jenis Fasilitas", "Penjamin", "Agunan", "Rp ",
                                "Kualitas / Jumlah Hari Tunggakan"});
}

void TestReportRender::contents()
{
    QFETCH(QString, sample);
    QFETCH(QStringList, present);
    QFETCH(QStringList, absent);
    const QString pdf = text(sample);
    QVERIFY2(!pdf.isEmpty(), "no PDF text");
    for (const QString& word : present)
        QVERIFY2(pdf.contains(word), qPrintable(QStringLiteral("missing: ") + word));
    for (const QString& word : absent)
        QVERIFY2(!pdf.contains(word), qPrintable(QStringLiteral("unexpected: ") + word));
}

void TestReportRender::historyRunsOverTheTwentyFourMonthsBeforeTheRequest_data()
{
    QTest::addColumn<QString>("sample");
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    // Requested in March 2024 and April 2024.
    QTest::newRow("individual") << QStringLiteral("individual-basic.json") << monthLabels(2022, 3)
                                << QStringLiteral("Feb 22") << QStringLiteral("Mar 24");
    QTest::newRow("corporate") << QStringLiteral("corporate-basic.json") << monthLabels(2022, 4)
                               << QStringLiteral("Mar 22") << QStringLiteral("Apr 24");
}

void TestReportRender::historyRunsOverTheTwentyFourMonthsBeforeTheRequest()
{
    QFETCH(QString, sample);
    QFETCH(QStringList, labels);
    QFETCH(QString, before);
    QFETCH(QString, after);
    const QString pdf = text(sample);
    QVERIFY(findInOrder(pdf, labels) > 0);
    // Two blocks of twelve: the first block ends a line, the second starts the next one.
    QVERIFY(QRegularExpression(labels.at(11) + QStringLiteral(" *\\n")).match(pdf).hasMatch());
    QVERIFY(!pdf.contains(before));
    QVERIFY(!pdf.contains(after));
}

// Values next to their label, as one line of the page reads: an amount the reporter
// left empty is an empty cell, never a formatted zero, and flags read "Ya"/"Tidak".
void TestReportRender::valueBesideItsLabel_data()
{
    QTest::addColumn<QString>("sample");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<int>("count");
    const QString individual = QStringLiteral("individual-basic.json");
    const QString corporate = QStringLiteral("corporate-basic.json");
    QTest::newRow("empty project amounts")
        << individual << QStringLiteral("Nilai Proyek +Plafon Awal") << 3;
    QTest::newRow("empty appraisal value")
        << individual << QStringLiteral("Nilai Agunan Penilai +Nama Penilai") << 1;
    QTest::newRow("appraisal value")
        << individual << QStringLiteral("Nilai Agunan Penilai +Rp 700.000.000,00") << 1;
    QTest::newRow("insured") << individual << QStringLiteral("Asuransi +Ya\\b") << 1;
    QTest::newRow("not insured") << individual << QStringLiteral("Asuransi +Tidak\\b") << 1;
    QTest::newRow("project amount")
        << corporate << QStringLiteral("Nilai Proyek +Rp 15.500.000.000,00") << 1;
    QTest::newRow("listed") << corporate << QStringLiteral("Listing +Ya") << 1;
    QTest::newRow("not listed") << corporate << QStringLiteral("Listing +Tidak") << 1;
}

void TestReportRender::valueBesideItsLabel()
{
    QFETCH(QString, sample);
    QFETCH(QString, pattern);
    QFETCH(int, count);
    QCOMPARE(text(sample).count(QRegularExpression(pattern)), count);
}

void TestReportRender::historyValuesSitUnderTheirMonth_data()
{
    QTest::addColumn<int>("grid");
    QTest::addColumn<QString>("firstMonth");
    QTest::addColumn<QString>("values");
    QTest::addColumn<QString>("under");
    // Grids in page order: the housing loan, the vehicle financing, the credit card, the L/C...
    // Each month shows its quality and, for credits, the days past due beside it.
    QTest::newRow("housing loan, 2/12 in Jul 22")
        << 0 << "Mar 22"
        << "1 0 1 0 1 0 1 0 2 12 1 0 1 0 1 0 1 0 1 0 1 0 1 0"
        << "Mar 22";
    QTest::newRow("vehicle, 2/34 and 2/61 in Okt and Nov 23")
        << 1 << "Mar 23"
        << "1 0 1 0 1 0 1 0 1 0 1 0 1 0 2 34 2 61 1 0 1 0 1 0"
        << "Mar 23";
    QTest::newRow("credit card, nothing before it was opened") << 2 << "Mar 22"
                                                               << ""
                                                               << "";
    QTest::newRow("credit card, from May 23, Feb 24 not yet reported")
        << 2 << "Mar 23"
        << "1 0 1 0 1 0 1 0 1 0 1 0 1 0 2 8 2 15"
        << "Mei 23";
    QTest::newRow("letter of credit, quality only, from Sep 23") << 3 << "Mar 23"
                                                                 << "1 1 1 1 1 1"
                                                                 << "Sep 23";
}

void TestReportRender::historyValuesSitUnderTheirMonth()
{
    QFETCH(int, grid);
    QFETCH(QString, firstMonth);
    QFETCH(QString, values);
    QFETCH(QString, under);
    const QStringList lines =
        text(QStringLiteral("individual-basic.json")).split(QLatin1Char('\n'));
    int found = -1;
    int at = 0;
    for (; at < lines.size() - 1; ++at) {
        if (lines.at(at).trimmed().startsWith(firstMonth) && ++found == grid)
            break;
    }
    QVERIFY(found == grid);
    const QString label = lines.at(at);
    QString row = lines.at(at + 1);
    // An empty row leaves no line of its own: the next block's labels follow at once.
    if (row.trimmed().startsWith(QLatin1String("Mar ")))
        row.clear();
    QCOMPARE(row.simplified(), values);
    if (!under.isEmpty()) {
        const int column = row.indexOf(QRegularExpression(QStringLiteral("\\S")));
        QVERIFY(qAbs(column - label.indexOf(under)) <= 3);
    }
}

void TestReportRender::numbersAndWordsStayWhole_data()
{
    QTest::addColumn<QString>("sample");
    QTest::addColumn<QStringList>("words");

    // Identity numbers, the officer table's headings and its ordinary place names.
    QTest::newRow("corporate") << QStringLiteral("corporate-basic.json")
                               << QStringList{
                                      "3578041108700002", "3578045503740004", "021987654609000",
                                      "Kepemilikan",      "Kelurahan",        "Kecamatan",
                                      "Kelamin",          "Pengurus/",        "KEDUNGDORO",
                                      "TEGALSARI",        "Perempuan",        "Komisaris"};
    QTest::newRow("individual") << QStringLiteral("individual-basic.json")
                                << QStringList{"3273015507880003"};
}

void TestReportRender::numbersAndWordsStayWhole()
{
    QFETCH(QString, sample);
    QFETCH(QStringList, words);

    LimeReport::ReportEngine engine;
    TAVIDs dataSources;
    QVERIFY(populateDesignAndData(
        &engine, FileContent::read(QStringLiteral(TEST_SAMPLES "/") + sample), &dataSources));
    QStringList lines;
    for (const LimeReport::RenderedPage& page : engine.renderPages()) {
        for (const LimeReport::RenderedItem& item : page.items()) {
            if (item.kind == LimeReport::RenderedItem::Text)
                lines << item.text.split(QLatin1Char('\n'));
        }
    }
    QVERIFY(!lines.isEmpty());
    for (const QString& word : words) {
        const bool whole = std::any_of(lines.begin(), lines.end(),
                                       [&](const QString& line) { return line.contains(word); });
        QVERIFY2(whole, qPrintable(QStringLiteral("broken over two lines: ") + word));
    }
}

void TestReportRender::longNameWrapsFromTheFirstPage_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("mostPages");
    QStringList words;
    for (int i = 0; words.join(' ').size() < 10000; ++i)
        words << QStringLiteral("NAMA%1").arg(i);
    // The sample alone is 5 pages; the name shows three times at some 3.5 pages each.
    QTest::newRow("10,000 characters in words") << words.join(' ').left(10000) << 18;
    QTest::newRow("one word of 10,000 characters") << QString(10000, QLatin1Char('W')) << 24;
}

// A hostile name is wrapped inside its cells, is kept whole and the report still
// starts on a full first page, rather than spreading over hundreds of pages.
void TestReportRender::longNameWrapsFromTheFirstPage()
{
    QFETCH(QString, name);
    QFETCH(int, mostPages);
    QJsonObject root = QJsonDocument::fromJson(
                           FileContent::read(QStringLiteral(TEST_SAMPLES "/corporate-basic.json")))
                           .object();
    QJsonObject corporate = root.value(QStringLiteral("corporate")).toObject();
    QJsonObject keyWord = corporate.value(QStringLiteral("corporateKeyWord")).toObject();
    keyWord.insert(QStringLiteral("identityNumberName"), name);
    corporate.insert(QStringLiteral("corporateKeyWord"), keyWord);
    QJsonArray debtors;
    for (const QJsonValue& value : corporate.value(QStringLiteral("corporateDebtors")).toArray()) {
        QJsonObject debtor = value.toObject();
        debtor.insert(QStringLiteral("identityNumberName"), name);
        debtors.append(debtor);
    }
    corporate.insert(QStringLiteral("corporateDebtors"), debtors);
    root.insert(QStringLiteral("corporate"), corporate);

    LimeReport::ReportEngine engine;
    TAVIDs dataSources;
    QVERIFY(populateDesignAndData(&engine, QJsonDocument(root).toJson(), &dataSources));
    const LimeReport::ReportPages pages = engine.renderPages();
    QVERIFY2(pages.size() > 5 && pages.size() <= mostPages,
             qPrintable(QString::number(pages.size())));
    const QString firstPage = pages.first().texts().join('\n');
    QVERIFY(firstPage.contains(QStringLiteral("Informasi Debitur")));
    QVERIFY(firstPage.contains(name.left(20)));
    // Well filled, not a header and a blank rest: most of the page is the name's lines.
    QVERIFY2(firstPage.size() > 2000, qPrintable(QString::number(firstPage.size())));
    QString shown;
    for (const LimeReport::RenderedPage& page : pages)
        shown += page.texts().join(QString());
    // Shown whole wherever it appears: beside the search key word and as the debtor.
    const QChar first = name.at(0);
    QVERIFY2(shown.count(first) >= 2 * name.count(first), "part of the name is lost");
}

QTEST_MAIN(TestReportRender)
#include "tst_reportrender.moc"
