#include "enginefixture.h"
#include "tablesource.h"

#include <LimeReport>

#include <QPointer>
#include <QStandardItemModel>
#include <QtTest>

using LimeReport::ReportEngine;
using LimeReport::ReportPages;
using Details = QMap<QString, QStringList>;

static QStringList allTexts(const ReportPages& pages)
{
    QStringList texts;
    for (const LimeReport::RenderedPage& page : pages)
        texts << page.texts();
    return texts;
}

// The sources of masterdetail.lrxml. The detail rows are taken from the master
// row the cursor stands on when the engine starts each detail band.
struct MasterDetailSources
{
    MasterDetailSources(ReportEngine& engine, const QStringList& masters, const Details& collateral,
                        const Details& guarantors)
        : masterRows(rowsOf(masters)), master({"name"}, masterRows), col({"item"}, {}),
          gua({"item"}, {}), summary({"x"}, {})
    {
        col.setRowsProvider([=] { return rowsOf(collateral.value(master.current().value(0))); });
        gua.setRowsProvider([=] { return rowsOf(guarantors.value(master.current().value(0))); });
        LimeReport::IDataSourceManager* data = engine.dataManager();
        master.connectTo(data->createCallbackDatasource("Masters"));
        col.connectTo(data->createCallbackDatasource("masters_col"));
        gua.connectTo(data->createCallbackDatasource("MASTERS_GUA"));
        summary.connectTo(data->createCallbackDatasource("summary"));
    }

    static TableSource::Rows rowsOf(const QStringList& values)
    {
        TableSource::Rows rows;
        for (const QString& value : values)
            rows << QStringList{value};
        return rows;
    }

    TableSource::Rows masterRows;
    TableSource master;
    TableSource col;
    TableSource gua;
    TableSource summary;
};

class tst_CallbackProtocol : public QObject
{
    Q_OBJECT
private slots:
    void masterDetail_data();
    void masterDetail();
    void callSequence();
    void everyRenderStartsFromFirst();
    void dataManagerOwnsItsSources();
    void duplicateNameIsRefused();
    void sourceDeletedByTheApplication();
    void modelSource();
};

void tst_CallbackProtocol::masterDetail_data()
{
    QTest::addColumn<QStringList>("masters");
    QTest::addColumn<Details>("collateral");
    QTest::addColumn<Details>("guarantors");
    QTest::addColumn<QStringList>("expected");
    const QStringList tail{"Ringkasan", "Tanpa sumber terdaftar"};
    QTest::newRow("two masters, two details each")
        << QStringList{"A", "B"} << Details{{"A", {"a1", "a2"}}, {"B", {"b1"}}}
        << Details{{"A", {"ga"}}, {"B", {"gb1", "gb2"}}}
        << QStringList{"Daftar Induk", "A",  "Agunan",   "a1",  "a2",  "Penjamin",    "ga", "B",
                       "Agunan",       "b1", "Penjamin", "gb1", "gb2", "Akhir daftar"} +
               tail;
    QTest::newRow("empty details print no header")
        << QStringList{"A", "B"} << Details{{"B", {"b1"}}} << Details{}
        << QStringList{"Daftar Induk", "A", "B", "Agunan", "b1", "Akhir daftar"} + tail;
    QTest::newRow("empty master prints nothing of it")
        << QStringList{} << Details{} << Details{} << tail;
}

// Each detail band is walked once per master row, while the master stands on
// that row; an empty source prints neither its bands nor its headers unless
// they print always; a band on an unregistered source prints once.
void tst_CallbackProtocol::masterDetail()
{
    QFETCH(QStringList, masters);
    QFETCH(Details, collateral);
    QFETCH(Details, guarantors);
    QFETCH(QStringList, expected);
    ReportEngine engine;
    QVERIFY(engine.loadFromFile(engineFixture("masterdetail.lrxml")));
    MasterDetailSources sources(engine, masters, collateral, guarantors);
    QCOMPARE(allTexts(engine.renderPages()), expected);
}

// The questions a master source is asked, in order, for two rows: the render
// start and the band each start it from First; IsEmpty before each First,
// because it gives no row count; HasNext before each Next; no Next after the last row.
void tst_CallbackProtocol::callSequence()
{
    ReportEngine engine;
    QVERIFY(engine.loadFromFile(engineFixture("masterdetail.lrxml")));
    MasterDetailSources sources(engine, {"A", "B"}, {{"A", {"a1"}}}, {});
    engine.renderPages();
    const QStringList expected{"IsEmpty", "First 1", "IsEmpty",     "First 1", "Data 0 name",
                               "HasNext", "Next 1",  "Data 1 name", "HasNext"};
    QCOMPARE(sources.master.log, expected);
    // The collateral source: at the render start (the master already on A), then once per master
    // row.
    const QStringList detail{"IsEmpty",     "First 1", "IsEmpty", "First 1",
                             "Data 0 item", "HasNext", "IsEmpty", "First 0"};
    QCOMPARE(sources.col.log, detail);
}

void tst_CallbackProtocol::everyRenderStartsFromFirst()
{
    ReportEngine engine;
    QVERIFY(engine.loadFromFile(engineFixture("masterdetail.lrxml")));
    MasterDetailSources sources(engine, {"A", "B", "C"}, {{"C", {"c1"}}}, {});
    const QStringList first = allTexts(engine.renderPages());
    const int asked = sources.master.log.size();
    QCOMPARE(allTexts(engine.renderPages()), first);
    QCOMPARE(sources.master.log.mid(asked), sources.master.log.mid(0, asked));
    QTemporaryDir dir;
    QVERIFY(engine.printToPDF(dir.filePath("again.pdf")));
    QCOMPARE(sources.master.log.mid(2 * asked), sources.master.log.mid(0, asked));
}

void tst_CallbackProtocol::dataManagerOwnsItsSources()
{
    auto engine = std::make_unique<ReportEngine>();
    LimeReport::IDataSourceManager* data = engine->dataManager();
    QVERIFY(data->containsDatasource("tableofcontents"));
    QPointer<LimeReport::ICallbackDatasource> removed =
        data->createCallbackDatasource("Credits_Col");
    QPointer<LimeReport::ICallbackDatasource> kept = data->createCallbackDatasource("header");
    QVERIFY(data->containsDatasource("credits_col"));
    QVERIFY(data->containsDatasource("CREDITS_COL"));
    data->removeModel("CREDITS_col");
    QVERIFY(removed.isNull());
    QVERIFY(!data->containsDatasource("credits_col"));
    QVERIFY(engine->loadFromFile(engineFixture("list.lrxml")));
    QVERIFY(engine->loadFromFile(engineFixture("manual.lrxml")));
    QVERIFY(!kept.isNull());
    QVERIFY(data->containsDatasource("header"));
    engine.reset();
    QVERIFY(kept.isNull());
}

void tst_CallbackProtocol::duplicateNameIsRefused()
{
    ReportEngine engine;
    LimeReport::IDataSourceManager* data = engine.dataManager();
    data->createCallbackDatasource("credits");
    try {
        data->createCallbackDatasource("Credits");
        QFAIL("a second source of the same name was created");
    } catch (const LimeReport::ReportError& error) {
        QCOMPARE(QString::fromStdString(error.what()),
                 QString("Datasource with name \"Credits\" already exists!"));
    }
    QCOMPARE(data->dataSourceNames().count("credits"), 1);
}

// An application that deletes a source itself (for example through a deferred
// deletion that ran before the name was removed) leaves an empty source behind,
// not a dangling one.
void tst_CallbackProtocol::sourceDeletedByTheApplication()
{
    ReportEngine engine;
    QVERIFY(engine.loadFromFile(engineFixture("masterdetail.lrxml")));
    MasterDetailSources sources(engine, {"A"}, {{"A", {"a1"}}}, {});
    QPointer<LimeReport::ICallbackDatasource> extra =
        engine.dataManager()->createCallbackDatasource("gone");
    extra->deleteLater();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(extra.isNull());
    QVERIFY(engine.dataManager()->containsDatasource("gone"));
    QCOMPARE(allTexts(engine.renderPages()).mid(0, 4),
             (QStringList{"Daftar Induk", "A", "Agunan", "a1"}));
    engine.dataManager()->removeModel("gone");
    QVERIFY(!engine.dataManager()->containsDatasource("gone"));
}

void tst_CallbackProtocol::modelSource()
{
    ReportEngine engine;
    QVERIFY(engine.loadFromFile(engineFixture("list.lrxml")));
    QPointer<QStandardItemModel> model = new QStandardItemModel;
    model->setHorizontalHeaderLabels({"Name", "AMOUNT"});
    model->appendRow({new QStandardItem("Ani"), new QStandardItem("10")});
    model->appendRow({new QStandardItem("Budi"), new QStandardItem("2500.5")});
    QVERIFY(engine.dataManager()->addModel("rows", model, true));
    const QStringList texts = allTexts(engine.renderPages());
    QVERIFY2(texts.contains("Ani") && texts.contains("Rp 10,00"), qPrintable(texts.join('|')));
    QVERIFY2(texts.contains("Budi") && texts.contains("Rp 2.500,50"), qPrintable(texts.join('|')));
    engine.dataManager()->removeModel("rows");
    QVERIFY(model.isNull());
}

QTEST_MAIN(tst_CallbackProtocol)
#include "tst_callbackprotocol.moc"
