#include "tablesource.h"

#include <LimeReport>

#include <QFile>
#include <QtTest>

using LimeReport::RenderedItem;
using LimeReport::RenderedPage;
using LimeReport::ReportEngine;
using LimeReport::ReportPages;

static QString fixture(const QString& name)
{
    return QStringLiteral(TEST_FIXTURES "/reportengine/") + name;
}

static TableSource::Rows numberedRows(int count)
{
    TableSource::Rows rows;
    for (int i = 1; i <= count; ++i)
        rows << QStringList{QStringLiteral("Pelanggan %1").arg(i), QString::number(i * 1000.5, 'f', 1)};
    return rows;
}

class tst_ReportRenderer : public QObject
{
    Q_OBJECT
private slots:
    void listPagination_data();
    void listPagination();
};

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
    QVERIFY2(engine.loadFromFile(fixture("list.lrxml")), qPrintable(engine.lastError()));
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

QTEST_MAIN(tst_ReportRenderer)
#include "tst_reportrenderer.moc"
