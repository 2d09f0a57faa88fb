#include "enginefixture.h"
#include "pagepainter.h"
#include "tablesource.h"
#include "templatexml.h"

#include <LimeReport>
#include <lrpagetext.h>
#include <lrtextsearch.h>

#include <QImage>
#include <QPainter>
#include <QtTest>

using namespace LimeReport;
using X = TemplateXml;

Q_DECLARE_METATYPE(QVector<int>)

class tst_TextSearch : public QObject
{
    Q_OBJECT
private slots:
    void matchesText_data();
    void matchesText();
    void findsOverPagesInReadingOrder();
    void wrappedValueMatchesAcrossCellsNot();
    void highlightCoversTheInk_data();
    void highlightCoversTheInk();
    void readingOrderGoesByRows();
    void selectionBetweenPoints();
    void wordUnderPoint_data();
    void wordUnderPoint();
    void copiedWrappedValues();

private:
    static RenderedPage cellsPage();
    static TextRange wholeItem(const RenderedPage& page, const QString& name);
    static QPointF inside(const PageText& text, const TextRange& range, qreal xFraction);
};

static const QStringList autoHeight{X::boolProperty("autoHeight", true)};
static const QStringList rightAligned{X::property("alignment", "enumAndFlags", "34")};
static const QStringList centred{X::property("alignment", "enumAndFlags", "36")};

// One page of cells, as a debtor report lays them out: a row of label, number and
// right-aligned amount; a narrow cell whose name wraps, beside two cells of one word
// each; a number too long for its cell, split inside.
RenderedPage tst_TextSearch::cellsPage()
{
    const QString xml = X::report(
        {X::band("ReportHeader", "Cells", 400,
                 {X::text("Label", "Nomor Identitas", QRect(0, 0, 400, 60)),
                  X::text("Number", "3273015507880003", QRect(450, 0, 600, 60)),
                  X::text("Amount", "Rp 1.250.000", QRect(1100, 0, 700, 60), rightAligned),
                  X::text("Wrapped", "PT SUMBER MAKMUR SENTOSA JAYA ABADI", QRect(0, 100, 300, 60),
                          autoHeight),
                  X::text("First", "SUMBER", QRect(400, 100, 300, 60)),
                  X::text("Second", "MAKMUR", QRect(750, 100, 300, 60)),
                  X::text("Digits", "12345678901234567890", QRect(1100, 100, 150, 60), autoHeight),
                  X::text("Centre", "Halaman", QRect(1300, 100, 500, 60), centred)})});
    ReportEngine engine;
    if (!engine.loadFromString(xml))
        return RenderedPage();
    const ReportPages pages = engine.renderPages();
    return pages.value(0);
}

TextRange tst_TextSearch::wholeItem(const RenderedPage& page, const QString& name)
{
    for (int i = 0; i < page.items().size(); ++i) {
        const RenderedItem& item = page.items().at(i);
        if (item.kind == RenderedItem::Text && item.name == name)
            return TextRange{i, 0, int(item.text.size())};
    }
    return TextRange();
}

// A point on the first line of the range, xFraction of the way along it.
QPointF tst_TextSearch::inside(const PageText& text, const TextRange& range, qreal xFraction)
{
    const QRectF first = text.rects(range).value(0);
    return QPointF(first.left() + first.width() * xFraction, first.center().y());
}

void tst_TextSearch::matchesText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("query");
    // start and end of each match, in the text's own offsets
    QTest::addColumn<QVector<int>>("expected");
    QTest::newRow("accents and case") << "Sumbèr MAKMUR"
                                      << "sumber makmur" << QVector<int>{0, 13};
    QTest::newRow("query with accents") << "sumber makmur"
                                        << "SUMBÈR" << QVector<int>{0, 6};
    QTest::newRow("combining mark kept in the match")
        << QString::fromUtf8("Jose\xcc\x81 x") << "jose" << QVector<int>{0, 5};
    QTest::newRow("wide forms") << QString::fromUtf8("\xef\xbc\xa1\xef\xbc\xa2\xef\xbc\xa3")
                                << "abc" << QVector<int>{0, 3};
    QTest::newRow("every match, not overlapping") << "Café cafe CAFÉ"
                                                  << "cafe" << QVector<int>{0, 4, 5, 9, 10, 14};
    QTest::newRow("aa in aaa") << "aaa"
                               << "aa" << QVector<int>{0, 2};
    QTest::newRow("a break stands for a space") << "PT SUMBER\nMAKMUR"
                                                << "sumber makmur" << QVector<int>{3, 16};
    QTest::newRow("a break stands for nothing") << "32730155\n07880003"
                                                << "3273015507880003" << QVector<int>{0, 17};
    QTest::newRow("spaces at a break") << "SUMBER  \n  MAKMUR"
                                       << "sumber makmur" << QVector<int>{0, 17};
    QTest::newRow("runs of spaces are one") << "Rp   1.000"
                                            << "rp 1.000" << QVector<int>{0, 10};
    QTest::newRow("query spaces trimmed") << "Jaya"
                                          << "  jaya " << QVector<int>{0, 4};
    QTest::newRow("no space where the text has none") << "SUMBERMAKMUR"
                                                      << "sumber makmur" << QVector<int>{};
    QTest::newRow("different letters") << "Makmur"
                                       << "makmor" << QVector<int>{};
    QTest::newRow("blank query finds nothing") << "a b"
                                               << "   " << QVector<int>{};
    QTest::newRow("query longer than the text") << "Jay"
                                                << "jaya" << QVector<int>{};
}

void tst_TextSearch::matchesText()
{
    QFETCH(QString, text);
    QFETCH(QString, query);
    QFETCH(QVector<int>, expected);
    QVector<int> found;
    for (const TextRange& range : TextSearch(query).find(text, 7)) {
        QCOMPARE(range.item, 7);
        found << range.start << range.end;
    }
    QCOMPARE(found, expected);
}

// Names planted on rows of the first and the last of the list fixture's three pages.
void tst_TextSearch::findsOverPagesInReadingOrder()
{
    ReportEngine engine;
    QVERIFY(engine.loadFromFile(engineFixture("list.lrxml")));
    TableSource::Rows rows;
    for (int i = 1; i <= 60; ++i)
        rows << QStringList{QStringLiteral("Debitur %1").arg(i), QString::number(i)};
    rows[4][0] = QStringLiteral("PT SUMBÈR MAKMUR");
    rows[5][0] = QStringLiteral("sumber makmur jaya");
    rows[58][0] = QStringLiteral("CV Sumber  Makmur");
    TableSource source(QStringList{"name", "amount"}, rows);
    source.connectTo(engine.dataManager()->createCallbackDatasource("rows"));
    const ReportPages pages = engine.renderPages();
    QCOMPARE(pages.size(), 3);

    const QVector<TextMatch> matches = TextSearch("Sumber Makmur").find(pages);
    QCOMPARE(matches.size(), 3);
    const QStringList expected{"PT SUMBÈR MAKMUR", "sumber makmur jaya", "CV Sumber  Makmur"};
    for (int i = 0; i < matches.size(); ++i) {
        const RenderedItem& item =
            pages.at(matches.at(i).page).items().at(matches.at(i).range.item);
        QCOMPARE(item.text, expected.at(i));
        int laidOutOn = -1;
        for (int p = 0; p < pages.size() && laidOutOn < 0; ++p)
            laidOutOn = pages.at(p).findText(expected.at(i)) ? p : -1;
        QCOMPARE(matches.at(i).page, laidOutOn);
    }
    QCOMPARE(matches.at(0).page, 0);
    QCOMPARE(matches.at(1).page, 0);
    QCOMPARE(matches.at(2).page, 2);
    QCOMPARE(matches.at(0).range.start, 3);
    QCOMPARE(matches.at(2).range.end, int(QStringLiteral("CV Sumber  Makmur").size()));

    // "halaman x dari 3" heads every page.
    const QVector<TextMatch> perPage = TextSearch("DARI 3").find(pages);
    QCOMPARE(perPage.size(), 3);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(perPage.at(i).page, i);
    const QVector<TextMatch> debtors = TextSearch("debitur 1").find(pages);
    // Debitur 1 and Debitur 10 to 19, page by page and in row order.
    QCOMPARE(debtors.size(), 11);
    QVector<QString> order;
    for (const TextMatch& match : debtors)
        order << pages.at(match.page).items().at(match.range.item).text;
    QCOMPARE(order.first(), QStringLiteral("Debitur 1"));
    QCOMPARE(order.at(1), QStringLiteral("Debitur 10"));
    QCOMPARE(order.last(), QStringLiteral("Debitur 19"));
    for (int i = 1; i < debtors.size(); ++i)
        QVERIFY(debtors.at(i - 1).page <= debtors.at(i).page);
}

void tst_TextSearch::wrappedValueMatchesAcrossCellsNot()
{
    const RenderedPage page = cellsPage();
    const TextRange wrapped = wholeItem(page, "Wrapped");
    QVERIFY(!wrapped.isEmpty());
    QVERIFY2(page.items().at(wrapped.item).text.count('\n') >= 2,
             qPrintable(page.items().at(wrapped.item).text));

    const QVector<TextMatch> name = TextSearch("makmur sentosa jaya abadi").find(page, 0);
    QCOMPARE(name.size(), 1);
    QCOMPARE(name.first().range.item, wrapped.item);
    const PageText text(page);
    // One rectangle for each line the match covers.
    QCOMPARE(text.rects(name.first().range).size(),
             page.items().at(wrapped.item).text.mid(name.first().range.start).count('\n') + 1);

    const TextRange digits = wholeItem(page, "Digits");
    QVERIFY(page.items().at(digits.item).text.contains('\n'));
    const QVector<TextMatch> number = TextSearch("12345678901234567890").find(page, 0);
    QCOMPARE(number.size(), 1);
    QCOMPARE(number.first().range.item, digits.item);

    // SUMBER and MAKMUR side by side in two cells are two values; the wrapped name is
    // the only match.
    const QVector<TextMatch> pair = TextSearch("sumber makmur").find(page, 0);
    QCOMPARE(pair.size(), 1);
    QCOMPARE(pair.first().range.item, wrapped.item);
}

void tst_TextSearch::highlightCoversTheInk_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("query");
    QTest::newRow("left aligned, whole") << "Label"
                                         << "Nomor Identitas";
    QTest::newRow("left aligned, second word") << "Label"
                                               << "identitas";
    QTest::newRow("right aligned") << "Amount"
                                   << "1.250.000";
    QTest::newRow("centred") << "Centre"
                             << "Halaman";
    QTest::newRow("second line of a wrapped cell") << "Wrapped"
                                                   << "sentosa";
}

// Painted as the preview paints it, the matched characters' ink starts and ends at the
// highlight's ends, and beside it (a space, or nothing) there is none.
void tst_TextSearch::highlightCoversTheInk()
{
    QFETCH(QString, item);
    QFETCH(QString, query);
    const RenderedPage page = cellsPage();
    const TextRange whole = wholeItem(page, item);
    const QVector<TextRange> found =
        TextSearch(query).find(page.items().at(whole.item).text, whole.item);
    QCOMPARE(found.size(), 1);
    const PageText text(page);
    const QVector<QRectF> rects = text.rects(found.first());
    QCOMPARE(rects.size(), 1);
    const QRectF highlight = rects.first();

    RenderedPage alone(page.size());
    alone.items() << page.items().at(whole.item);
    QImage image(page.size().toSize(), QImage::Format_RGB32);
    QPainter painter(&image);
    PagePainter::paint(&painter, alone);
    painter.end();
    const auto inked = [&](int from, int to) {
        for (int x = from; x <= to; ++x) {
            for (int y = int(highlight.top()); y < int(highlight.bottom()); ++y) {
                if (qGray(image.pixel(x, y)) < 128)
                    return true;
            }
        }
        return false;
    };
    const int left = int(std::round(highlight.left()));
    const int right = int(std::round(highlight.right()));
    const int stroke = page.items().at(whole.item).font.pixelSize() / 4;
    QVERIFY(right - left > 2 * stroke);
    QVERIFY2(!inked(left - 4, left - 2), qPrintable(QString::number(left)));
    QVERIFY2(!inked(right + 2, right + 4), qPrintable(QString::number(right)));
    QVERIFY(inked(left, left + stroke));
    QVERIFY(inked(right - stroke, right));
}

void tst_TextSearch::readingOrderGoesByRows()
{
    const RenderedPage page = cellsPage();
    QStringList names;
    for (int item : PageText::readingOrder(page))
        names << page.items().at(item).name;
    QCOMPARE(names, (QStringList{"Label", "Number", "Amount", "Wrapped", "First", "Second",
                                 "Digits", "Centre"}));
}

void tst_TextSearch::selectionBetweenPoints()
{
    const RenderedPage page = cellsPage();
    const PageText text(page);
    const TextRange label = wholeItem(page, "Label");
    const TextRange amount = wholeItem(page, "Amount");
    // From inside "Identitas" to inside "1.250.000", dragged either way.
    const QPointF from = inside(text, TextRange{label.item, 6, 15}, 0.01);
    const QPointF to = inside(text, TextRange{amount.item, 3, 12}, 0.99);
    for (const auto& ends : {qMakePair(from, to), qMakePair(to, from)}) {
        const QVector<TextRange> ranges = text.between(ends.first, ends.second);
        QCOMPARE(ranges.size(), 3);
        QCOMPARE(text.text(ranges), QStringLiteral("Identitas\t3273015507880003\tRp 1.250.000"));
    }
    // Within one item, from a character to a later one.
    const QVector<TextRange> part = text.between(inside(text, TextRange{label.item, 0, 5}, 0.01),
                                                 inside(text, TextRange{label.item, 0, 5}, 0.99));
    QCOMPARE(text.text(part), QStringLiteral("Nomor"));
    // From the first row down into the wrapped name: the rows are apart by a line end.
    const TextRange wrapped = wholeItem(page, "Wrapped");
    const QVector<TextRange> rows =
        text.between(inside(text, amount, 0.01), inside(text, TextRange{wrapped.item, 3, 9}, 0.99));
    QCOMPARE(text.text(rows), QStringLiteral("Rp 1.250.000\nPT SUMBER"));
}

void tst_TextSearch::wordUnderPoint_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<QString>("expected");
    QTest::newRow("a whole identity number") << "Number" << 5 << 6 << "3273015507880003";
    QTest::newRow("an amount, right aligned") << "Amount" << 6 << 7 << "1.250.000";
    QTest::newRow("a word of a label") << "Label" << 1 << 2 << "Nomor";
    QTest::newRow("a number split in its narrow cell")
        << "Digits" << 1 << 2 << "12345678901234567890";
    QTest::newRow("a wrapped name, one word of it") << "Wrapped" << 4 << 5 << "SUMBER";
}

void tst_TextSearch::wordUnderPoint()
{
    QFETCH(QString, item);
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(QString, expected);
    const RenderedPage page = cellsPage();
    const PageText text(page);
    const TextRange character{wholeItem(page, item).item, start, end};
    const TextRange word = text.wordAt(inside(text, character, 0.5));
    QCOMPARE(text.text({word}), expected);
    // Beside the text, in the empty part of the sheet, there is no word.
    QVERIFY(text.wordAt(QPointF(page.size().width() - 5, page.size().height() - 5)).isEmpty());
}

void tst_TextSearch::copiedWrappedValues()
{
    const RenderedPage page = cellsPage();
    const PageText text(page);
    QCOMPARE(text.text({wholeItem(page, "Wrapped")}),
             QStringLiteral("PT SUMBER MAKMUR SENTOSA JAYA ABADI"));
    QCOMPARE(text.text({wholeItem(page, "Digits")}), QStringLiteral("12345678901234567890"));
}

QTEST_MAIN(tst_TextSearch)
#include "tst_textsearch.moc"
