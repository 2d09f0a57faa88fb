// The outline a report's bands give it, and how it goes into a PDF: bookmarks that
// open at the entry's place, and the document information the caller names.

#include "pdfwriter.h"
#include "programrun.h"
#include "tablesource.h"
#include "templatexml.h"

#include <LimeReport>

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using LimeReport::OutlineEntry;
using LimeReport::ReportEngine;
using LimeReport::ReportOutline;
using LimeReport::ReportPages;
using X = TemplateXml;

namespace {

// A filler above a list of accounts whose header is reprinted on every page; each
// row is an outline entry under the header when its column "o" is not empty, and
// the closing words one at the top level. The page footer says the page but is no entry.
QString accountsTemplate(int fillerHeight)
{
    return X::report(
        {X::band("ReportHeader", "Filler", fillerHeight,
                 {X::text("Fill", "Pengisi", QRect(0, 0, 500, fillerHeight))}),
         X::band("DataHeader", "Head", 100, {X::text("Title", "Judul", QRect(0, 0, 500, 90))},
                 {X::property("parentBand", "QString", "Rows"),
                  X::boolProperty("reprintOnEachPage", true),
                  X::property("outline", "QString", "Daftar Rekening")}),
         X::band("Data", "Rows", 300, {X::text("Value", "$D{ds.v}", QRect(0, 0, 500, 90))},
                 {X::property("datasource", "QString", "ds"), X::boolProperty("autoHeight", false),
                  X::property("outline", "QString", "$D{ds.o}"),
                  X::intProperty("outlineLevel", 1)}),
         X::band("ReportFooter", "Closing", 100,
                 {X::text("Words", "Penutup laporan", QRect(0, 0, 500, 90))},
                 {X::property("outline", "QString", "Penutup")}),
         X::band("PageFooter", "Foot", 60, {X::text("Page", "hal $V{#PAGE}", QRect(0, 0, 500, 50))},
                 {X::property("outline", "QString", "Kaki")})});
}

// Rows "Rekening i" with the same outline title, except every fifth, which has none.
TableSource::Rows accountRows(int count)
{
    TableSource::Rows rows;
    for (int i = 1; i <= count; ++i) {
        const QString name = QStringLiteral("Rekening %1").arg(i);
        rows << QStringList{name, i % 5 == 0 ? QString() : name};
    }
    return rows;
}

struct Rendered
{
    ReportPages pages;
    ReportOutline outline;
};

// The first page (from 0) showing a text, and where on it.
QPair<int, qreal> placeOf(const ReportPages& pages, const QString& text)
{
    for (int p = 0; p < pages.size(); ++p) {
        if (const LimeReport::RenderedItem* item = pages.at(p).findText(text))
            return {p, item->rect.top()};
    }
    return {-1, 0};
}

} // namespace

class tst_ReportOutline : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void entriesWhereBandsFirstShow_data();
    void entriesWhereBandsFirstShow();
    void outlineGrowsWithThePages();
    void bandSplitOverPagesHasOneEntry();
    void pdfBookmarksAndInformation();
    void pdfPagesUnchanged();
    void noOutlineNoBookmarks();
    void bookmarksNestAndOpenAtTheirHeight();

private:
    QTemporaryDir m_dir;
};

void tst_ReportOutline::initTestCase()
{
    for (const char* tool : {"pdfinfo", "pdftotext", "mutool"}) {
        if (QStandardPaths::findExecutable(tool).isEmpty())
            QFAIL(qPrintable(
                QStringLiteral("%1 is needed; scripts/setup.sh --test installs it").arg(tool)));
    }
    QVERIFY(m_dir.isValid());
}

void tst_ReportOutline::entriesWhereBandsFirstShow_data()
{
    QTest::addColumn<int>("filler");
    QTest::addColumn<int>("rows");
    QTest::newRow("one page") << 100 << 3;
    QTest::newRow("header reprinted on later pages") << 100 << 20;
    QTest::newRow("header moved with its first row") << 2600 << 2;
}

// One entry per band that shows with a non-empty outline text, where it first shows:
// the header once however often it is reprinted, on the page its first row took it to.
void tst_ReportOutline::entriesWhereBandsFirstShow()
{
    QFETCH(int, filler);
    QFETCH(int, rows);
    ReportEngine engine;
    QVERIFY(engine.loadFromString(accountsTemplate(filler)));
    TableSource source({"v", "o"}, accountRows(rows));
    source.connectTo(engine.dataManager()->createCallbackDatasource("ds"));
    const ReportPages pages = engine.renderPages();
    const ReportOutline outline = engine.outline();
    QVERIFY(!pages.isEmpty());

    QStringList expected{"Daftar Rekening"};
    for (int i = 1; i <= rows; ++i) {
        if (i % 5 != 0)
            expected << QStringLiteral("Rekening %1").arg(i);
    }
    expected << "Penutup";
    QStringList titles;
    for (const OutlineEntry& entry : outline)
        titles << entry.title;
    QCOMPARE(titles, expected);

    const auto check = [&](const OutlineEntry& entry, const QString& shown, int level) {
        const QPair<int, qreal> place = placeOf(pages, shown);
        QVERIFY2(place.first >= 0, qPrintable(shown));
        QCOMPARE(entry.level, level);
        QCOMPARE(entry.page, place.first);
        QCOMPARE(entry.y, place.second);
    };
    check(outline.first(), "Judul", 0);
    for (int i = 1; i + 1 < outline.size(); ++i)
        check(outline.at(i), outline.at(i).title, 1);
    check(outline.last(), "Penutup laporan", 0);
    if (filler > 2000)
        QCOMPARE(outline.first().page, 1);
    if (rows > 10) {
        QVERIFY2(pages.size() > 2, QByteArray::number(pages.size()));
        QVERIFY(pages.at(1).findText("Judul"));
    }
}

// Each page's entries are there when the page is handed over, and none of a later page.
void tst_ReportOutline::outlineGrowsWithThePages()
{
    ReportEngine engine;
    QVERIFY(engine.loadFromString(accountsTemplate(100)));
    TableSource source({"v", "o"}, accountRows(30));
    source.connectTo(engine.dataManager()->createCallbackDatasource("ds"));
    QVector<ReportOutline> seen;
    const ReportPages pages = engine.renderPages(
        [&](int index, const LimeReport::RenderedPage&) {
            if (index == seen.size())
                seen << engine.outline();
        },
        [] { return true; });
    QVERIFY(pages.size() > 2);
    QCOMPARE(seen.size(), pages.size());
    const ReportOutline final = engine.outline();
    for (int index = 0; index < seen.size(); ++index) {
        int expected = 0;
        for (const OutlineEntry& entry : final)
            expected += entry.page <= index ? 1 : 0;
        QCOMPARE(seen.at(index).size(), expected);
    }
}

// A band cut over several pages starts one entry, where its first part is.
void tst_ReportOutline::bandSplitOverPagesHasOneEntry()
{
    QStringList words;
    for (int i = 1; i <= 3000; ++i)
        words << QStringLiteral("kata%1").arg(i);
    ReportEngine engine;
    QVERIFY(engine.loadFromString(
        X::report({X::band("ReportHeader", "Filler", 1500,
                           {X::text("Fill", "Pengisi", QRect(0, 0, 500, 1500))}),
                   X::band("Data", "Long", 60,
                           {X::text("Words", words.join(' '), QRect(0, 0, 1900, 60),
                                    {X::boolProperty("autoHeight", true)})},
                           {X::boolProperty("splittable", true),
                            X::property("outline", "QString", "  Teks   panjang ")})})));
    const ReportPages pages = engine.renderPages();
    QVERIFY2(pages.size() > 2, QByteArray::number(pages.size()));
    const ReportOutline outline = engine.outline();
    QCOMPARE(outline.size(), 1);
    QCOMPARE(outline.first().title, QStringLiteral("Teks panjang"));
    QCOMPARE(outline.first().page, 0);
    const LimeReport::RenderedItem* firstPart = pages.first().findText("kata1 kata2", true);
    QVERIFY(firstPart);
    QCOMPARE(outline.first().y, firstPart->rect.top());
}

// The bookmarks are the outline, nested by level, each opening its page at the
// entry's height; the information names what the caller gave, in any script.
void tst_ReportOutline::pdfBookmarksAndInformation()
{
    ReportEngine engine;
    QVERIFY(engine.loadFromString(accountsTemplate(100)));
    TableSource source({"v", "o"}, accountRows(20));
    source.connectTo(engine.dataManager()->createCallbackDatasource("ds"));
    const QString title = QStringLiteral("Nguyễn Văn Ễ (Żółć) - Laporan 1234567890");
    engine.setPdfMetadata({title, "Pembuat 1.2", "Penulis 3.4"});
    const QString pdf = m_dir.filePath("outline.pdf");
    QVERIFY2(engine.printToPDF(pdf), qPrintable(engine.lastError()));
    const ReportOutline outline = engine.outline();
    const int pageCount = engine.renderPages().size();

    const QString info = ProgramRun::output("pdfinfo", {pdf});
    QVERIFY2(
        info.contains(QRegularExpression("Title:\\s+" + QRegularExpression::escape(title) + "\\n")),
        qPrintable(info));
    QVERIFY2(info.contains(QRegularExpression("Creator:\\s+Pembuat 1.2\\n")), qPrintable(info));
    QVERIFY2(info.contains(QRegularExpression("Producer:\\s+Penulis 3.4\\n")), qPrintable(info));
    QVERIFY2(info.contains(QRegularExpression("Pages:\\s+" + QString::number(pageCount) + "\\n")),
             qPrintable(info));

    // One line per bookmark: a tab per level, the title, the page and the height from the top.
    const QStringList lines = ProgramRun::output("mutool", {"show", pdf, "outline"})
                                  .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), outline.size());
    const QRegularExpression line(
        "^[|+-]((?:\\t)+)\"(.*)\"\\t#page=(\\d+)&zoom=[^,]*,[^,]*,([-0-9.]+)$");
    for (int i = 0; i < outline.size(); ++i) {
        const QRegularExpressionMatch match = line.match(lines.at(i));
        QVERIFY2(match.hasMatch(), qPrintable(lines.at(i)));
        QCOMPARE(match.captured(1).size() - 1, outline.at(i).level);
        QCOMPARE(match.captured(2), outline.at(i).title);
        QCOMPARE(match.captured(3).toInt(), outline.at(i).page + 1);
        const qreal points = outline.at(i).y * 72 / 254;
        QVERIFY2(qAbs(match.captured(4).toDouble() - points) < 1.0, qPrintable(lines.at(i)));
    }
    // The section with rows under it is closed: its rows show once it is opened.
    QVERIFY2(lines.first().startsWith('+'), qPrintable(lines.first()));
    QVERIFY2(ProgramRun::output("mutool", {"show", pdf, "Root"}).contains("/UseOutlines"),
             "the document does not open with its outline");
}

// Bookmarks and information leave the pages as they are: the same count and the same text.
void tst_ReportOutline::pdfPagesUnchanged()
{
    const auto write = [&](const QString& name, bool withOutline) {
        ReportEngine engine;
        QString xml = accountsTemplate(100);
        if (!withOutline)
            xml.remove(QRegularExpression("<outline(Level)?\\b[^>]*(/>|>[^<]*</outline>)"));
        if (!engine.loadFromString(xml))
            return QString();
        TableSource source({"v", "o"}, accountRows(25));
        source.connectTo(engine.dataManager()->createCallbackDatasource("ds"));
        if (withOutline)
            engine.setPdfMetadata({"Judul", "Pembuat", "Penulis"});
        const QString pdf = m_dir.filePath(name);
        if (!engine.printToPDF(pdf) || engine.outline().isEmpty() != !withOutline)
            return QString();
        return pdf;
    };
    const QString plain = write("plain.pdf", false);
    const QString outlined = write("outlined.pdf", true);
    QVERIFY(!plain.isEmpty() && !outlined.isEmpty());
    const QString plainText = ProgramRun::output("pdftotext", {"-layout", plain, "-"});
    QVERIFY(plainText.contains("Rekening 25"));
    QCOMPARE(ProgramRun::output("pdftotext", {"-layout", outlined, "-"}), plainText);
    const QRegularExpression pages("Pages:\\s+(\\d+)\\n");
    QCOMPARE(pages.match(ProgramRun::output("pdfinfo", {outlined})).captured(1),
             pages.match(ProgramRun::output("pdfinfo", {plain})).captured(1));
}

void tst_ReportOutline::noOutlineNoBookmarks()
{
    ReportEngine engine;
    QVERIFY(engine.loadFromString(
        X::report({X::band("Data", "Only", 100, {X::text("T", "Satu", QRect(0, 0, 500, 90))})})));
    const QString pdf = m_dir.filePath("plain.pdf");
    QVERIFY(engine.printToPDF(pdf));
    const QString root = ProgramRun::output("mutool", {"show", pdf, "Root"});
    QVERIFY2(root.contains("/Pages") && !root.contains("/Outlines") &&
                 !root.contains("/UseOutlines"),
             qPrintable(root));
    QCOMPARE(ProgramRun::output("mutool", {"show", pdf, "outline"}), QString());
}

// Entries nest under the closest entry before them of a lower level, open their page
// at the entry's height, and an entry of a page that was not written is left out.
void tst_ReportOutline::bookmarksNestAndOpenAtTheirHeight()
{
    const QString pdf = m_dir.filePath("nested.pdf");
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::WriteOnly));
    {
        LimeReport::PdfWriter writer(&file);
        writer.addPage(LimeReport::RenderedPage(QSizeF(2100, 2970)));
        writer.addPage(LimeReport::RenderedPage(QSizeF(2100, 2970)));
        const ReportOutline outline{
            {"Satu", 0, 0, 0}, {"Dua", 0, 1, 1485}, {"Dua.a", 1, 1, 2000}, {"Tiga", 0, 2, 0}};
        writer.finish({{"Judul", "", ""}, outline});
    }
    file.close();
    QCOMPARE(ProgramRun::output("mutool", {"show", pdf, "outline"}),
             QStringLiteral("|\t\"Satu\"\t#page=1&zoom=nan,0,0\n"
                            "+\t\"Dua\"\t#page=2&zoom=nan,0,420.94\n"
                            "|\t\t\"Dua.a\"\t#page=2&zoom=nan,0,566.93\n"));
    const QString info = ProgramRun::output("pdfinfo", {pdf});
    QVERIFY2(info.contains(QRegularExpression("Title:\\s+Judul\\n")), qPrintable(info));
    QVERIFY2(!info.contains("Producer:"), qPrintable(info));
    QVERIFY2(info.contains(QRegularExpression("Pages:\\s+2\\n")), qPrintable(info));
}

QTEST_MAIN(tst_ReportOutline)
#include "tst_reportoutline.moc"
