#include "enginefixture.h"
#include "tablesource.h"
#include "templatexml.h"

#include <LimeReport>

#include <QFile>
#include <QtTest>

using LimeReport::RenderedItem;
using LimeReport::RenderedPage;
using LimeReport::ReportEngine;
using LimeReport::ReportPages;

static TableSource::Rows numberedRows(int count)
{
    TableSource::Rows rows;
    for (int i = 1; i <= count; ++i)
        rows << QStringList{QStringLiteral("Pelanggan %1").arg(i),
                            QString::number(i * 1000.5, 'f', 1)};
    return rows;
}

class tst_ReportRenderer : public QObject
{
    Q_OBJECT
private slots:
    void listPagination_data();
    void listPagination();
    void growthPushesAndStretches();
    void emptyRowsVanish();
    void pageHeaderFlags_data();
    void pageHeaderFlags();
    void tallBands_data();
    void tallBands();
    void keepSubdetailTogether_data();
    void keepSubdetailTogether();
    void headerTravelsWithFirstRow();
    void groupTallerThanAPageStartsWhereItIs_data();
    void groupTallerThanAPageStartsWhereItIs();
    void startNewPage();
    void unknownContentIsIgnored();
    void shapes_data();
    void shapes();
    void paperSize_data();
    void paperSize();
    void imageFromPath();
    void layouts();
    void fillInSecondPass();
    void pageNumberRanges_data();
    void pageNumberRanges();
    void initScript_data();
    void initScript();
    void pagesHandedOverAsTheyAreDrawn();
    void stoppedRender();
    void overlongTextIsCutVisibly();
    void textsThatComeBackAreBrokenAlike();
};

using X = TemplateXml;

// Renders a template against one callback source "ds" with a single column "v".
static ReportPages renderWith(const QString& xml, const QStringList& values,
                              const QString& detailValue = QString())
{
    ReportEngine engine;
    if (!engine.loadFromString(xml))
        return ReportPages();
    TableSource::Rows rows;
    for (const QString& value : values)
        rows << QStringList{value};
    TableSource source({"v"}, rows);
    source.connectTo(engine.dataManager()->createCallbackDatasource("ds"));
    TableSource details({"d"}, {});
    details.setRowsProvider([&] {
        TableSource::Rows list;
        for (int i = 1; i <= 3; ++i)
            list << QStringList{
                QStringLiteral("%1 %2.%3").arg(detailValue, source.current().value(0)).arg(i)};
        return list;
    });
    details.connectTo(engine.dataManager()->createCallbackDatasource("details"));
    return engine.renderPages();
}

static const RenderedItem* findItem(const RenderedPage& page, const QString& name,
                                    RenderedItem::Kind kind)
{
    for (const RenderedItem& item : page.items()) {
        if (item.name == name && item.kind == kind)
            return &item;
    }
    return nullptr;
}

// The first page (0-based) with a text containing text, or -1.
static int pageOf(const ReportPages& pages, const QString& text)
{
    for (int p = 0; p < pages.size(); ++p) {
        if (pages.at(p).findText(text, true))
            return p;
    }
    return -1;
}

static QString longText(int words)
{
    QStringList list;
    for (int i = 1; i <= words; ++i)
        list << QStringLiteral("kata%1").arg(i);
    return list.join(' ');
}

void tst_ReportRenderer::listPagination_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<bool>("several");
    QTest::newRow("one row") << 1 << false;
    QTest::newRow("a few rows") << 3 << false;
    QTest::newRow("long list") << 80 << true;
}

// Every row appears once and in order, every page carries its counter and the
// reprinted column header, and nothing runs into the bottom margin.
void tst_ReportRenderer::listPagination()
{
    QFETCH(int, rows);
    QFETCH(bool, several);
    ReportEngine engine;
    QVERIFY2(engine.loadFromFile(engineFixture("list.lrxml")), qPrintable(engine.lastError()));
    TableSource source({"name", "amount"}, numberedRows(rows));
    source.connectTo(engine.dataManager()->createCallbackDatasource("Rows"));
    const ReportPages pages = engine.renderPages();
    QVERIFY(!pages.isEmpty());
    QCOMPARE(pages.size() > 1, several);

    int next = 1;
    for (int p = 0; p < pages.size(); ++p) {
        const RenderedPage& page = pages.at(p);
        QCOMPARE(page.size(), QSizeF(2100, 2970));
        QVERIFY(page.findText(QStringLiteral("halaman %1 dari %2").arg(p + 1).arg(pages.size())));
        QVERIFY(page.findText("Nama"));
        QVERIFY(page.findText("Kaki halaman"));
        for (const RenderedItem& item : page.items()) {
            QVERIFY2(item.rect.bottom() <= 2970 - 100 + 2.5, qPrintable(item.text));
            if (item.kind == RenderedItem::Text && item.text.startsWith("Pelanggan ")) {
                QCOMPARE(item.text, QStringLiteral("Pelanggan %1").arg(next));
                ++next;
            }
        }
    }
    QCOMPARE(next, rows + 1);
    const RenderedItem* amount = pages.first().findText("Rp 1.000,50");
    QVERIFY(amount);
    QVERIFY(pages.first().findText("#1"));
}

// A text that grows pushes the item below it down by its growth, keeping the
// designed gap; a stretching neighbour reaches the lowest bottom; a hidden
// empty item does not count; the band ends one unit above that bottom.
void tst_ReportRenderer::growthPushesAndStretches()
{
    const QString xml = X::report({X::band(
        "Data", "Rows", 600,
        {X::text("Grows", "$D{ds.v}", QRect(0, 0, 300, 40), {X::boolProperty("autoHeight", true)}),
         X::text("Below", "Bawah", QRect(0, 50, 300, 40)),
         X::text("Touching", "Menempel", QRect(150, 39, 100, 10)),
         X::text("Beside", "Samping", QRect(400, 0, 300, 40),
                 {X::boolProperty("stretchToMaxHeight", true)}),
         X::text("Hidden", "$V{nothing}", QRect(800, 0, 300, 500),
                 {X::boolProperty("hideIfEmpty", true)})},
        {X::property("datasource", "QString", "ds")})});
    const QString grows = longText(12);
    const ReportPages pages = renderWith(xml, {grows, "pendek"});
    QCOMPARE(pages.size(), 1);
    const RenderedPage& page = pages.first();
    const RenderedItem* grown = findItem(page, "Grows", RenderedItem::Fill);
    const RenderedItem* below = findItem(page, "Below", RenderedItem::Fill);
    const RenderedItem* beside = findItem(page, "Beside", RenderedItem::Fill);
    QVERIFY(grown && below && beside);
    QVERIFY(!findItem(page, "Hidden", RenderedItem::Fill));
    QCOMPARE(grown->rect.top(), 100.0);
    QVERIFY2(grown->rect.height() > 100, qPrintable(QString::number(grown->rect.height())));
    QCOMPARE(below->rect.top(), grown->rect.bottom() + 10);
    // Overlapping the grown item by one designed unit still moves with it.
    const RenderedItem* touching = findItem(page, "Touching", RenderedItem::Fill);
    QVERIFY(touching);
    QCOMPARE(touching->rect.top(), grown->rect.bottom() - 1);
    QCOMPARE(beside->rect.bottom(), below->rect.bottom());
    const RenderedItem* grownText = page.findText("kata1", true);
    QVERIFY(grownText && grownText->text.count('\n') >= 2);
    QCOMPARE(grownText->text.split('\n').join(' '), grows);

    // The second row starts where the first row's band ends.
    const RenderedItem* second = page.findText("pendek");
    QVERIFY(second);
    QCOMPARE(second->rect.top(), below->rect.bottom() - 1);
}

// A row whose fields all come out blank is left out; a label is never blank.
void tst_ReportRenderer::emptyRowsVanish()
{
    const auto xml = [](bool printIfEmpty, const QString& label) {
        return X::report({X::band("Data", "Rows", 60,
                                  {X::text("Value", "$D{ds.v}" + label, QRect(0, 0, 300, 50))},
                                  {X::property("datasource", "QString", "ds"),
                                   X::boolProperty("printIfEmpty", printIfEmpty)})});
    };
    QCOMPARE(renderWith(xml(false, ""), {"x", "  ", "", "z"}).first().texts(),
             (QStringList{"x", "z"}));
    const RenderedPage kept = renderWith(xml(true, ""), {"x", "", "z"}).first();
    QCOMPARE(kept.texts(), (QStringList{"x", "z"}));
    QCOMPARE(
        std::count_if(kept.items().begin(), kept.items().end(),
                      [](const RenderedItem& item) { return item.kind == RenderedItem::Fill; }),
        3);
    QCOMPARE(renderWith(xml(false, " :"), {"x", "", "z"}).first().texts(),
             (QStringList{"x :", ":", "z :"}));
}

void tst_ReportRenderer::pageHeaderFlags_data()
{
    QTest::addColumn<bool>("onFirst");
    QTest::addColumn<bool>("onLast");
    QTest::newRow("every page") << true << true;
    QTest::newRow("not on the first") << false << true;
    QTest::newRow("not on the last") << true << false;
}

// Over three pages the header and footer follow their flags; a header left
// off the last page leaves no gap there.
void tst_ReportRenderer::pageHeaderFlags()
{
    QFETCH(bool, onFirst);
    QFETCH(bool, onLast);
    const QStringList flags{X::boolProperty("printOnFirstPage", onFirst),
                            X::boolProperty("printOnLastPage", onLast)};
    const QString xml = X::report(
        {X::band("PageHeader", "Top", 100, {X::text("Head", "Kepala", QRect(0, 0, 500, 90))},
                 flags),
         X::band("Data", "Rows", 400, {X::text("Value", "$D{ds.v}", QRect(0, 0, 500, 380))},
                 {X::property("datasource", "QString", "ds")}),
         X::band("PageFooter", "Bottom", 80,
                 {X::text("Foot", "Kaki $V{#PAGE}", QRect(0, 0, 500, 60))}, flags)});
    QStringList rows;
    for (int i = 1; i <= 16; ++i)
        rows << QStringLiteral("baris %1").arg(i);
    const ReportPages pages = renderWith(xml, rows);
    QCOMPARE(pages.size(), 3);
    const QList<bool> expected{onFirst, true, onLast};
    for (int p = 0; p < 3; ++p) {
        QCOMPARE(bool(pages.at(p).findText("Kepala")), expected.at(p));
        QCOMPARE(bool(pages.at(p).findText(QStringLiteral("Kaki %1").arg(p + 1))), expected.at(p));
    }
    const RenderedItem* firstOnLast = pages.last().findText("baris", true);
    QVERIFY(firstOnLast);
    QCOMPARE(firstOnLast->rect.top() < 150, !onLast);
    if (const RenderedItem* foot = pages.at(1).findText("Kaki 2"))
        QCOMPARE(foot->rect.top(), 2970.0 - 100 - 80);
}

void tst_ReportRenderer::tallBands_data()
{
    QTest::addColumn<bool>("splittable");
    QTest::addColumn<int>("words");
    QTest::addColumn<int>("firstLinePage");
    QTest::addColumn<int>("pageCount");
    QTest::newRow("moves whole to the next page") << false << 600 << 1 << 2;
    QTest::newRow("splits between lines") << true << 600 << 0 << 2;
    QTest::newRow("taller than a page is split where it starts, not cut")
        << false << 3000 << 0 << 5;
}

// A band that does not fit moves to the next page, or splits between text
// lines when splittable or taller than a page; no line is lost either way.
void tst_ReportRenderer::tallBands()
{
    QFETCH(bool, splittable);
    QFETCH(int, words);
    QFETCH(int, firstLinePage);
    QFETCH(int, pageCount);
    const QString xml = X::report({X::band("ReportHeader", "Filler", 1500,
                                           {X::text("Fill", "Pengisi", QRect(0, 0, 500, 1500))}),
                                   X::band("Data", "Rows", 60,
                                           {X::text("Long", "$D{ds.v}", QRect(0, 0, 1800, 60),
                                                    {X::boolProperty("autoHeight", true)})},
                                           {X::property("datasource", "QString", "ds"),
                                            X::boolProperty("splittable", splittable)})});
    const QString text = longText(words);
    const ReportPages pages = renderWith(xml, {text});
    QCOMPARE(pages.size(), pageCount);
    QCOMPARE(pageOf(pages, "kata1 kata2 "), firstLinePage);
    QStringList lines;
    for (const RenderedPage& page : pages) {
        for (const RenderedItem& item : page.items()) {
            if (item.kind == RenderedItem::Text && item.name == QLatin1String("Long")) {
                QVERIFY(item.rect.top() >= 100 - 0.01);
                QVERIFY(item.rect.bottom() <= 2870 + 0.01);
                lines << item.text.split('\n');
            }
        }
    }
    QCOMPARE(lines.join(' '), text);
}

void tst_ReportRenderer::keepSubdetailTogether_data()
{
    QTest::addColumn<bool>("keep");
    QTest::addColumn<bool>("header");
    QTest::newRow("kept together") << true << false;
    QTest::newRow("free") << false << false;
    QTest::newRow("kept together with the header") << true << true;
    QTest::newRow("free, with the header") << false << true;
}

// With keepSubdetailTogether a master row whose details cross the page break
// moves to the next page with them (and with the column header above the
// first row).
void tst_ReportRenderer::keepSubdetailTogether()
{
    QFETCH(bool, keep);
    QFETCH(bool, header);
    QStringList bands{X::band("ReportHeader", "Filler", header ? 2350 : 2450,
                              {X::text("Fill", "Pengisi", QRect(0, 0, 500, header ? 2350 : 2450))}),
                      X::band("Data", "Master", 100,
                              {X::text("MasterValue", "Induk $D{ds.v}", QRect(0, 0, 500, 90))},
                              {X::property("datasource", "QString", "ds"),
                               X::boolProperty("keepSubdetailTogether", keep)}),
                      X::band("SubDetail", "Detail", 100,
                              {X::text("DetailValue", "$D{details.d}", QRect(100, 0, 500, 90))},
                              {X::property("datasource", "QString", "details"),
                               X::property("parentBand", "QString", "Master")})};
    if (header) {
        bands << X::band("DataHeader", "Head", 100,
                         {X::text("Title", "Judul", QRect(0, 0, 500, 90))},
                         {X::property("parentBand", "QString", "Master")});
    }
    const ReportPages pages = renderWith(X::report(bands), {"A"}, "Rincian");
    QCOMPARE(pages.size(), 2);
    QCOMPARE(pageOf(pages, "Induk A"), keep ? 1 : 0);
    QCOMPARE(pageOf(pages, "Rincian A.1"), keep ? 1 : 0);
    QCOMPARE(pageOf(pages, "Rincian A.3"), 1);
    if (header)
        QCOMPARE(pageOf(pages, "Judul"), keep ? 1 : 0);
    if (keep) {
        const QString first = header ? "Judul" : "Induk A";
        QCOMPARE(pages.at(1).findText(first)->rect.top(), 100.0);
    }
}

// A column header never stays alone at the foot of a page.
void tst_ReportRenderer::headerTravelsWithFirstRow()
{
    const QString xml = X::report(
        {X::band("ReportHeader", "Filler", 2600,
                 {X::text("Fill", "Pengisi", QRect(0, 0, 500, 2600))}),
         X::band("DataHeader", "Head", 100, {X::text("Title", "Judul kolom", QRect(0, 0, 500, 90))},
                 {X::property("parentBand", "QString", "Rows")}),
         X::band("Data", "Rows", 100, {X::text("Value", "$D{ds.v}", QRect(0, 0, 500, 90))},
                 {X::property("datasource", "QString", "ds")})});
    const ReportPages pages = renderWith(xml, {"pertama", "kedua"});
    QCOMPARE(pages.size(), 2);
    QCOMPARE(pages.at(0).texts(), QStringList{"Pengisi"});
    QCOMPARE(pages.at(1).texts(), (QStringList{"Judul kolom", "pertama", "kedua"}));
    QCOMPARE(pages.at(1).findText("Judul kolom")->rect.top(), 100.0);
}

void tst_ReportRenderer::groupTallerThanAPageStartsWhereItIs_data()
{
    QTest::addColumn<bool>("tallHeader");
    QTest::newRow("header taller than a page") << true;
    QTest::newRow("first row taller than a page") << false;
}

// A header travels with its first row only while the two fit a page: when either is
// taller, moving them would leave the page before blank and gain nothing.
void tst_ReportRenderer::groupTallerThanAPageStartsWhereItIs()
{
    QFETCH(bool, tallHeader);
    const QString tall = longText(2000);
    const auto cell = [](const char* name, const QString& content) {
        return X::text(name, content, QRect(0, 0, 500, 60), {X::boolProperty("autoHeight", true)});
    };
    const QString xml = X::report(
        {X::band("ReportHeader", "Filler", 1000,
                 {X::text("Fill", "Pengisi", QRect(0, 0, 500, 1000))}),
         X::band("DataHeader", "Head", 60, {cell("Title", tallHeader ? tall : "Judul kolom")},
                 {X::property("parentBand", "QString", "Rows")}),
         X::band("Data", "Rows", 60, {cell("Value", tallHeader ? "$D{ds.v}" : tall)},
                 {X::property("datasource", "QString", "ds")})});
    const ReportPages pages = renderWith(xml, {"pertama"});
    QVERIFY(pages.size() > 1);
    QCOMPARE(pageOf(pages, "Pengisi"), 0);
    QCOMPARE(pageOf(pages, "kata1 kata2 "), 0);
    const QString tallItem = tallHeader ? QStringLiteral("Title") : QStringLiteral("Value");
    QStringList lines;
    for (int p = 0; p < pages.size(); ++p) {
        const RenderedItem* part = findItem(pages.at(p), tallItem, RenderedItem::Text);
        QVERIFY2(part, qPrintable(QStringLiteral("page %1 holds none of the text").arg(p + 1)));
        lines << part->text.split('\n');
    }
    QCOMPARE(lines.join(' '), tall);
}

void tst_ReportRenderer::startNewPage()
{
    const QString xml = X::report({X::band(
        "Data", "Rows", 60, {X::text("Value", "$D{ds.v}", QRect(0, 0, 300, 50))},
        {X::property("datasource", "QString", "ds"), X::boolProperty("startNewPage", true)})});
    const ReportPages pages = renderWith(xml, {"satu", "dua", "tiga"});
    QCOMPARE(pages.size(), 3);
    for (int p = 0; p < 3; ++p)
        QCOMPARE(pages.at(p).texts().size(), 1);
    QCOMPARE(pageOf(pages, "tiga"), 2);
}

// Properties the engine does not know are ignored, objects of unknown classes
// dropped with everything inside them.
void tst_ReportRenderer::unknownContentIsIgnored()
{
    const QString unknownItem =
        QStringLiteral("<item Type=\"Object\" ClassName=\"ChartItem\"><children "
                       "Type=\"Collection\">%1</children></item>")
            .arg(X::text("Inside", "Di dalam grafik", QRect(0, 0, 300, 50)));
    const QString xml = X::report({X::band(
        "ReportHeader", "Title", 100,
        {X::text("Known", "Dikenal", QRect(0, 0, 300, 50),
                 {X::property("sparkle", "QString", "x"), X::property("margin", "QVector3D", "1")}),
         unknownItem})});
    const ReportPages pages = renderWith(xml, {});
    QCOMPARE(pages.size(), 1);
    QCOMPARE(pages.first().texts(), QStringList{"Dikenal"});
    QCOMPARE(pages.first().findText("Dikenal")->rect.left(), 100.0 + 4);
}

void tst_ReportRenderer::shapes_data()
{
    QTest::addColumn<int>("shape");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QRectF>("rect");
    // The item sits at (100, 200) on the page, 400 x 100.
    QTest::newRow("horizontal line")
        << 0 << int(RenderedItem::Line) << QRectF(QPointF(200, 250), QPointF(600, 250));
    QTest::newRow("vertical line")
        << 1 << int(RenderedItem::Line) << QRectF(QPointF(400, 200), QPointF(400, 300));
    QTest::newRow("ellipse") << 2 << int(RenderedItem::Ellipse) << QRectF(200, 200, 400, 100);
    QTest::newRow("rectangle") << 3 << int(RenderedItem::Rect) << QRectF(200, 200, 400, 100);
}

void tst_ReportRenderer::shapes()
{
    QFETCH(int, shape);
    QFETCH(int, kind);
    QFETCH(QRectF, rect);
    const QString item =
        QStringLiteral("<item Type=\"Object\" ClassName=\"ShapeItem\"><objectName "
                       "Type=\"QString\">Shape</objectName>"
                       "<geometry Type=\"QRect\" x=\"100\" y=\"100\" width=\"400\" "
                       "height=\"100\"/>%1%2%3</item>")
            .arg(X::intProperty("shape", shape), X::property("lineWidth", "qreal", "5"),
                 X::property("shapeColor", "QColor", "#ff0000"));
    const ReportPages pages =
        renderWith(X::report({X::band("ReportHeader", "Title", 300, {item},
                                      {X::boolProperty("autoHeight", false)})}),
                   {});
    const RenderedItem* drawn = findItem(pages.value(0), "Shape", RenderedItem::Kind(kind));
    QVERIFY(drawn);
    QCOMPARE(drawn->rect, rect);
    QCOMPARE(drawn->penWidth, 5.0);
    QCOMPARE(drawn->color, QColor(Qt::red));
}

void tst_ReportRenderer::paperSize_data()
{
    QTest::addColumn<int>("pageSize");
    QTest::addColumn<int>("orientation");
    QTest::addColumn<QSizeF>("size");
    QTest::newRow("A4 keeps its geometry") << 0 << 1 << QSizeF(2970, 2100);
    QTest::newRow("A5 portrait") << 9 << 0 << QSizeF(1480, 2100);
    QTest::newRow("A3 landscape") << 8 << 1 << QSizeF(4200, 2970);
    QTest::newRow("custom keeps its geometry") << 30 << 0 << QSizeF(2970, 2100);
}

void tst_ReportRenderer::paperSize()
{
    QFETCH(int, pageSize);
    QFETCH(int, orientation);
    QFETCH(QSizeF, size);
    QString xml = X::report(
        {X::band("ReportHeader", "Title", 100, {X::text("T", "Judul", QRect(0, 0, 300, 50))})},
        {X::intProperty("pageSize", pageSize), X::intProperty("pageOrientation", orientation)});
    xml.replace("width=\"2100\" height=\"2970\"", "width=\"2970\" height=\"2100\"");
    const ReportPages pages = renderWith(xml, {});
    QCOMPARE(pages.size(), 1);
    QCOMPARE(pages.first().size(), size);
}

// A picture path may use variables; the picture is scaled into the item,
// keeping its ratio, and centred.
void tst_ReportRenderer::imageFromPath()
{
    QTemporaryDir dir;
    QImage picture(40, 10, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    QVERIFY(picture.save(dir.filePath("logo.png")));
    const QString item =
        QStringLiteral(
            "<item Type=\"Object\" ClassName=\"ImageItem\"><objectName "
            "Type=\"QString\">Logo</objectName>"
            "<geometry Type=\"QRect\" x=\"0\" y=\"0\" width=\"200\" height=\"100\"/>%1</item>")
            .arg(X::property("resourcePath", "QString", "$V{dir}/logo.png"));
    ReportEngine engine;
    QVERIFY(engine.loadFromString(X::report({X::band("ReportHeader", "Title", 100, {item})})));
    engine.dataManager()->setReportVariable("dir", dir.path());
    const ReportPages pages = engine.renderPages();
    const RenderedItem* image = findItem(pages.value(0), "Logo", RenderedItem::Image);
    QVERIFY(image);
    QCOMPARE(image->image.size(), QSize(40, 10));
    QCOMPARE(image->rect, QRectF(100, 100 + 25, 200, 50));
}

static QString layout(const QString& className, const QRect& geometry, const QStringList& children,
                      const QStringList& properties = {})
{
    return QStringLiteral(
               "<item Type=\"Object\" ClassName=\"%1\">%2<geometry Type=\"QRect\" x=\"%3\" "
               "y=\"%4\" "
               "width=\"%5\" height=\"%6\"/>%7<children Type=\"Collection\">%8</children></item>")
        .arg(className, X::property("objectName", "QString", className))
        .arg(geometry.x())
        .arg(geometry.y())
        .arg(geometry.width())
        .arg(geometry.height())
        .arg(properties.join(QString()), children.join(QString()));
}

// A horizontal layout places its cells side by side in x order and gives them
// all the tallest cell's height; a vertical one stacks them in y order.
void tst_ReportRenderer::layouts()
{
    const QStringList autoHeight{X::boolProperty("autoHeight", true)};
    const QString row = layout("HLayout", QRect(0, 0, 900, 50),
                               {X::text("Right", "Kanan", QRect(600, 0, 300, 50)),
                                X::text("Left", "$D{ds.v}", QRect(0, 0, 300, 50), autoHeight),
                                X::text("Middle", "Tengah", QRect(300, 0, 300, 50))},
                               {X::intProperty("layoutSpacing", 10)});
    const QString column = layout("VLayout", QRect(1000, 0, 400, 100),
                                  {X::text("Second", "Kedua", QRect(0, 50, 400, 50)),
                                   X::text("First", "$D{ds.v}", QRect(0, 0, 400, 50), autoHeight)});
    const ReportPages pages =
        renderWith(X::report({X::band("Data", "Rows", 200, {row, column},
                                      {X::property("datasource", "QString", "ds")})}),
                   {longText(30)});
    const RenderedPage& page = pages.value(0);
    const RenderedItem* left = findItem(page, "Left", RenderedItem::Fill);
    const RenderedItem* middle = findItem(page, "Middle", RenderedItem::Fill);
    const RenderedItem* right = findItem(page, "Right", RenderedItem::Fill);
    QVERIFY(left && middle && right);
    QVERIFY(left->rect.height() > 100);
    QCOMPARE(middle->rect, QRectF(100 + 310, 100, 300, left->rect.height()));
    QCOMPARE(right->rect, QRectF(100 + 620, 100, 300, left->rect.height()));
    const RenderedItem* first = findItem(page, "First", RenderedItem::Fill);
    const RenderedItem* second = findItem(page, "Second", RenderedItem::Fill);
    QVERIFY(first && second);
    QCOMPARE(first->rect.top(), 100.0);
    QVERIFY(first->rect.height() > 50);
    QCOMPARE(second->rect, QRectF(1100, first->rect.bottom(), 400, 50));
}

// An item filled in the second pass sees what the rest of the report set
// afterwards; its fields still come from the row it was placed with.
void tst_ReportRenderer::fillInSecondPass()
{
    const QString xml = X::report({X::band(
        "Data", "Rows", 60,
        {X::text("Early", "$D{ds.v}: $V{last}", QRect(0, 0, 600, 50),
                 {X::boolProperty("fillInSecondPass", true)}),
         X::text("Setter", "$S{setVariable('last', $D{ds.v}); 'baris'}", QRect(700, 0, 300, 50))},
        {X::property("datasource", "QString", "ds")})});
    const ReportPages pages = renderWith(xml, {"satu", "dua", "tiga"});
    QStringList early;
    for (const RenderedItem& item : pages.value(0).items()) {
        if (item.kind == RenderedItem::Text && item.name == QLatin1String("Early"))
            early << item.text;
    }
    QCOMPARE(early, (QStringList{"satu: tiga", "dua: tiga", "tiga: tiga"}));
}

void tst_ReportRenderer::pageNumberRanges_data()
{
    QTest::addColumn<bool>("reset");
    QTest::addColumn<QStringList>("counters");
    QTest::newRow("one range") << false << QStringList{"1/3", "2/3", "3/3"};
    QTest::newRow("second sheet starts again") << true << QStringList{"1/2", "2/2", "1/1"};
}

// Sheets render one after the other; a sheet with resetPageNumber starts its own page count.
void tst_ReportRenderer::pageNumberRanges()
{
    QFETCH(bool, reset);
    QFETCH(QStringList, counters);
    const QString first = X::report(
        {X::band("PageFooter", "Foot", 60,
                 {X::text("Counter", "$V{#PAGE}/$V{#PAGE_COUNT}", QRect(0, 0, 300, 50))}),
         X::band("Data", "Rows", 1500, {X::text("Value", "$D{ds.v}", QRect(0, 0, 300, 1400))},
                 {X::property("datasource", "QString", "ds")})});
    const QString second =
        X::report({X::band("PageFooter", "Foot", 60,
                           {X::text("Counter", "$V{#PAGE}/$V{#PAGE_COUNT}", QRect(0, 0, 300, 50))}),
                   X::band("ReportHeader", "Title", 100,
                           {X::text("Title", "Lembar kedua", QRect(0, 0, 300, 50))})},
                  {X::boolProperty("resetPageNumber", reset)});
    const QString open = "<pages Type=\"Collection\">";
    const int from = second.indexOf(open) + open.size();
    QString xml = first;
    xml.replace("</pages>", second.mid(from, second.indexOf("</pages>") - from) + "</pages>");
    const ReportPages pages = renderWith(xml, {"satu", "dua"});
    QStringList found;
    for (const RenderedPage& page : pages) {
        const RenderedItem* counter = page.findText("/", true);
        found << (counter ? counter->text : QString());
    }
    QCOMPARE(found, counters);
    QCOMPARE(pageOf(pages, "Lembar kedua"), 2);
}

void tst_ReportRenderer::initScript_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("sets a variable")
        << "setVariable('greeting', 'Halo'); true" << QStringList{"Halo"};
    QTest::newRow("false cancels the render") << "1 > 2" << QStringList{};
    QTest::newRow("an error does not cancel") << "nonsense(" << QStringList{};
}

void tst_ReportRenderer::initScript()
{
    QFETCH(QString, script);
    QFETCH(QStringList, texts);
    QString xml = X::report(
        {X::band("ReportHeader", "Title", 100, {X::text("T", "$V{greeting}", QRect(0, 0, 300, 50))},
                 {X::boolProperty("printIfEmpty", true)})});
    xml.replace(
        "</pages>",
        "</pages><scriptContext Type=\"Object\" ClassName=\"LimeReport::ScriptEngineContext\">" +
            X::property("initScript", "QString", script) + "</scriptContext>");
    const ReportPages pages = renderWith(xml, {});
    QCOMPARE(pages.isEmpty(), script == "1 > 2");
    QCOMPARE(pages.value(0).texts(), texts);
}

// Pages arrive one by one while the render runs; a page whose counter could only be
// guessed comes again at the end, and what arrived last is what the render returns.
void tst_ReportRenderer::pagesHandedOverAsTheyAreDrawn()
{
    ReportEngine engine;
    QVERIFY(engine.loadFromFile(engineFixture("list.lrxml")));
    TableSource source({"name", "amount"}, numberedRows(80));
    source.connectTo(engine.dataManager()->createCallbackDatasource("Rows"));
    QMap<int, QStringList> delivered;
    QList<int> order;
    int rowsAskedAtFirstPage = -1;
    const ReportPages pages = engine.renderPages(
        [&](int index, const RenderedPage& page) {
            if (order.isEmpty())
                rowsAskedAtFirstPage = source.log.size();
            order << index;
            delivered[index] = page.texts();
        },
        [] { return true; });
    QVERIFY(pages.size() > 2);
    QCOMPARE(delivered.size(), pages.size());
    for (int p = 0; p < pages.size(); ++p) {
        QCOMPARE(delivered.value(p), pages.at(p).texts());
        QVERIFY(pages.at(p).findText(
            QStringLiteral("halaman %1 dari %2").arg(p + 1).arg(pages.size())));
    }
    // The first page came before the source was read to its end.
    QVERIFY(rowsAskedAtFirstPage > 0);
    QVERIFY(rowsAskedAtFirstPage < source.log.size() / 2);
    QCOMPARE(order.mid(0, pages.size()), [&] {
        QList<int> ascending;
        for (int p = 0; p < pages.size(); ++p)
            ascending << p;
        return ascending;
    }());
}

// A render told to stop asks the source no further and returns nothing; the engine
// renders again afterwards.
void tst_ReportRenderer::stoppedRender()
{
    ReportEngine engine;
    QVERIFY(engine.loadFromFile(engineFixture("list.lrxml")));
    TableSource source({"name", "amount"}, numberedRows(80));
    source.connectTo(engine.dataManager()->createCallbackDatasource("Rows"));
    int pagesSeen = 0;
    int questionsAtStop = -1;
    const ReportPages stopped = engine.renderPages([&](int, const RenderedPage&) { ++pagesSeen; },
                                                   [&] {
                                                       if (pagesSeen < 1)
                                                           return true;
                                                       questionsAtStop = source.log.size();
                                                       return false;
                                                   });
    QVERIFY(stopped.isEmpty());
    QCOMPARE(pagesSeen, 1);
    QCOMPARE(source.log.size(), questionsAtStop);
    QVERIFY(!engine.isBusy());
    QVERIFY(engine.renderPages().size() > 2);

    // Stopped while the page counters are written again at the end.
    const int count = engine.renderPages().size();
    pagesSeen = 0;
    const ReportPages late = engine.renderPages([&](int, const RenderedPage&) { ++pagesSeen; },
                                                [&] { return pagesSeen <= count; });
    QVERIFY(late.isEmpty());
    QCOMPARE(pagesSeen, count + 1);
    QVERIFY(engine.renderPages().size() == count);
}

// A field far longer than pages can hold is cut, and the page says so, rather than
// being measured for minutes or lost without a word.
void tst_ReportRenderer::overlongTextIsCutVisibly()
{
    const QString xml = X::report({X::band(
        "Data", "Rows", 100,
        {X::text("Value", "$D{ds.v}", QRect(0, 0, 1800, 50),
                 {X::boolProperty("autoHeight", true)})},
        {X::property("datasource", "QString", "ds"), X::boolProperty("splittable", true)})});
    const QString value = QString(300000, QLatin1Char('A'));
    const ReportPages pages = renderWith(xml, {value});
    QVERIFY(!pages.isEmpty());
    QString shown;
    for (const RenderedPage& page : pages)
        shown += page.texts().join(QString());
    shown.remove(QLatin1Char('\n'));
    QVERIFY2(shown.endsWith(QStringLiteral("[teks terpotong]")), qPrintable(shown.right(40)));
    QCOMPARE(shown.count(QLatin1Char('A')), 100000);
}

QTEST_MAIN(tst_ReportRenderer)
// Values come back row after row, between others: each row shows its own value,
// broken into lines as where it was first shown.
void tst_ReportRenderer::textsThatComeBackAreBrokenAlike()
{
    const QString xml = X::report({X::band(
        "Data", "Rows", 60,
        {X::text("Cell", "$D{ds.v}", QRect(0, 0, 150, 40), {X::boolProperty("autoHeight", true)})},
        {X::property("datasource", "QString", "ds")})});
    const QString wrapping = longText(6);
    const QStringList values{wrapping, "pendek", wrapping, "", longText(7), wrapping, "pendek"};
    QStringList shown;
    for (const RenderedPage& page : renderWith(xml, values)) {
        for (const RenderedItem& item : page.items()) {
            if (item.kind == RenderedItem::Text && item.name == QLatin1String("Cell"))
                shown << item.text;
        }
    }
    QCOMPARE(shown.size(), values.size() - 1);
    QVERIFY2(shown.at(0).contains('\n'), qPrintable(shown.at(0)));
    const QStringList expected{shown.at(0), "pendek",    shown.at(0),
                               shown.at(3), shown.at(0), "pendek"};
    QCOMPARE(shown, expected);
    QCOMPARE(shown.at(3).split('\n').join(' '), longText(7));
}

#include "tst_reportrenderer.moc"
