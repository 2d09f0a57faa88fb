#include "enginefixture.h"
#include "paperprinter.h"
#include "programrun.h"
#include "tablesource.h"

#include <LimeReport>

#include <QPrinter>
#include <QTemporaryDir>
#include <QtTest>

using LimeReport::ReportEngine;

class tst_PdfExport : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void pageSizeCountAndText_data();
    void pageSizeCountAndText();
    void printsThroughAPrinter();
    void printsTheChosenPagesAndCopies_data();
    void printsTheChosenPagesAndCopies();
    void failuresAreReported();

private:
    QTemporaryDir m_dir;
};

void tst_PdfExport::initTestCase()
{
    if (QStandardPaths::findExecutable("pdfinfo").isEmpty() ||
        QStandardPaths::findExecutable("pdftotext").isEmpty())
        QFAIL("pdfinfo and pdftotext (poppler-utils) are needed; scripts/setup.sh installs them");
    QVERIFY(m_dir.isValid());
}

void tst_PdfExport::pageSizeCountAndText_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<int>("pages");
    QTest::newRow("non-Latin-1 names")
        << QStringList{"Ṣalihah Ñúñez", "Nguyễn Văn Ễ", "Żółć Ğüneş"} << 1;
    QStringList many;
    for (int i = 1; i <= 60; ++i)
        many << QStringLiteral("Debitur %1").arg(i);
    QTest::newRow("three pages") << many << 3;
}

// The PDF has the template's A4 size at 1:1, one sheet per rendered page, and
// its text can be extracted as it was rendered.
void tst_PdfExport::pageSizeCountAndText()
{
    QFETCH(QStringList, names);
    QFETCH(int, pages);
    ReportEngine engine;
    QVERIFY(engine.loadFromFile(engineFixture("list.lrxml")));
    TableSource::Rows rows;
    for (const QString& name : names)
        rows << QStringList{name, "1234567.891"};
    TableSource source({"name", "amount"}, rows);
    source.connectTo(engine.dataManager()->createCallbackDatasource("rows"));
    const QString file =
        m_dir.filePath(QStringLiteral("%1").arg(QTest::currentDataTag()).replace(' ', '-'));
    QSignalSpy exported(&engine, &ReportEngine::printedToPDF);
    QVERIFY(engine.printToPDF(file));
    QCOMPARE(exported.count(), 1);
    const QString pdf = exported.first().first().toString();
    QCOMPARE(pdf, file + ".pdf");
    QCOMPARE(engine.renderPages().size(), pages);

    const QString info = ProgramRun::output("pdfinfo", {pdf});
    QVERIFY2(info.contains(QRegularExpression("Pages:\\s+" + QString::number(pages) + "\\n")),
             qPrintable(info));
    // 210 x 297 mm in whole points, the precision of the PDF writer's media box.
    QVERIFY2(info.contains(QRegularExpression("Page size:\\s+595 x 842 pts")), qPrintable(info));

    const QString text = ProgramRun::output("pdftotext", {"-layout", pdf, "-"});
    for (const QString& name : names)
        QVERIFY2(text.contains(name), qPrintable(name + " missing in:\n" + text));
    QVERIFY(text.contains("Rp 1.234.567,89"));
    // Each sheet went into the file as it was laid out, before the count was known.
    const QStringList sheets = text.split(QLatin1Char('\f'));
    for (int page = 1; page <= pages; ++page)
        QVERIFY2(sheets.value(page - 1).contains(
                     QStringLiteral("halaman %1 dari %2").arg(page).arg(pages)),
                 qPrintable(sheets.value(page - 1)));
    const QString fonts = ProgramRun::output("pdffonts", {pdf});
    QVERIFY2(!fonts.contains(QRegularExpression("\\bno\\s+no\\s+no\\b")), qPrintable(fonts));
}

// Printing renders afresh and puts every page on the printer at the page's own size.
void tst_PdfExport::printsThroughAPrinter()
{
    ReportEngine engine;
    QVERIFY(engine.loadFromFile(engineFixture("manual.lrxml")));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(m_dir.filePath("printed.pdf"));
    QVERIFY(engine.printReport(&printer));
    const QString info = ProgramRun::output("pdfinfo", {printer.outputFileName()});
    QVERIFY2(info.contains(QRegularExpression("Pages:\\s+2\\n")), qPrintable(info));
    QVERIFY2(info.contains(QRegularExpression("Page size:\\s+595 x 842 pts")), qPrintable(info));
    const QString text = ProgramRun::output("pdftotext", {printer.outputFileName(), "-"});
    QVERIFY(text.contains("Petunjuk Penggunaan"));
    QVERIFY(text.contains("2 dari 2"));
    // The 8 x 4 picture goes in at its own resolution, not as a scaled-up raster.
    const QString images = ProgramRun::output("pdfimages", {"-list", printer.outputFileName()});
    QVERIFY2(images.contains(QRegularExpression("image\\s+8\\s+4\\s")), qPrintable(images));
}

void tst_PdfExport::printsTheChosenPagesAndCopies_data()
{
    QTest::addColumn<int>("range");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("copies");
    QTest::addColumn<bool>("collate");
    QTest::addColumn<int>("current");
    QTest::addColumn<QList<int>>("printed");
    const int all = QPrinter::AllPages;
    const int range = QPrinter::PageRange;
    const int current = QPrinter::CurrentPage;
    QTest::newRow("all pages") << all << 0 << 0 << 1 << true << 2 << QList<int>{1, 2, 3};
    QTest::newRow("page 2 to 2") << range << 2 << 2 << 1 << true << 1 << QList<int>{2};
    QTest::newRow("range past the end") << range << 2 << 9 << 1 << true << 1 << QList<int>{2, 3};
    QTest::newRow("range after the end") << range << 5 << 9 << 1 << true << 1 << QList<int>{};
    QTest::newRow("collated copies") << range << 2 << 3 << 2 << true << 1 << QList<int>{2, 3, 2, 3};
    QTest::newRow("uncollated copies")
        << range << 2 << 3 << 2 << false << 1 << QList<int>{2, 2, 3, 3};
    QTest::newRow("current page") << current << 0 << 0 << 1 << true << 3 << QList<int>{3};
    QTest::newRow("copies of every page")
        << all << 0 << 0 << 2 << false << 1 << QList<int>{1, 1, 2, 2, 3, 3};
}

// The printer gets the pages the dialog's range names, in copies as it asks for them.
void tst_PdfExport::printsTheChosenPagesAndCopies()
{
    QFETCH(int, range);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, copies);
    QFETCH(bool, collate);
    QFETCH(int, current);
    QFETCH(QList<int>, printed);
    ReportEngine engine;
    QVERIFY(engine.loadFromFile(engineFixture("list.lrxml")));
    TableSource::Rows rows;
    for (int i = 1; i <= 60; ++i)
        rows << QStringList{QStringLiteral("Debitur %1").arg(i), "1"};
    TableSource source({"name", "amount"}, rows);
    source.connectTo(engine.dataManager()->createCallbackDatasource("rows"));
    const LimeReport::ReportPages pages = engine.renderPages();
    QCOMPARE(pages.size(), 3);

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(
        m_dir.filePath(QStringLiteral("%1.pdf").arg(QTest::currentDataTag()).replace(' ', '-')));
    printer.setPrintRange(QPrinter::PrintRange(range));
    printer.setFromTo(from, to);
    printer.setCopyCount(copies);
    printer.setCollateCopies(collate);
    QCOMPARE(LimeReport::PaperPrinter::print(pages, &printer, current), !printed.isEmpty());
    if (printed.isEmpty())
        return;
    const QString info = ProgramRun::output("pdfinfo", {printer.outputFileName()});
    QVERIFY2(
        info.contains(QRegularExpression(QStringLiteral("Pages:\\s+%1\\n").arg(printed.size()))),
        qPrintable(info));
    for (int sheet = 1; sheet <= printed.size(); ++sheet) {
        const QString number = QString::number(sheet);
        const QString text = ProgramRun::output(
            "pdftotext", {"-f", number, "-l", number, printer.outputFileName(), "-"});
        QVERIFY2(text.contains(QStringLiteral("halaman %1 dari 3").arg(printed.at(sheet - 1))),
                 qPrintable(QStringLiteral("sheet %1:\n%2").arg(sheet).arg(text)));
    }
}

void tst_PdfExport::failuresAreReported()
{
    ReportEngine engine;
    QSignalSpy exported(&engine, &ReportEngine::printedToPDF);
    QVERIFY(!engine.printToPDF(m_dir.filePath("nothing-loaded.pdf")));
    QCOMPARE(engine.lastError(), QString("No template is loaded"));
    QVERIFY(engine.loadFromFile(engineFixture("manual.lrxml")));
    QVERIFY(!engine.printToPDF(m_dir.filePath("no-such-dir/out.pdf")));
    QVERIFY2(engine.lastError().contains("no-such-dir/out.pdf"), qPrintable(engine.lastError()));
    QCOMPARE(exported.count(), 0);
}

QTEST_MAIN(tst_PdfExport)
#include "tst_pdfexport.moc"
