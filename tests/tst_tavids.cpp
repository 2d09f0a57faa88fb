#include "facilitiesds.h"
#include "offclssharehldrgroupds.h"
#include "qmapds.h"
#include "reportsample.h"
#include "tavids.h"

#include <LimeReport>

#include <QtTest>

using LimeReport::CallbackInfo;

namespace {

QStringList registeredNames(const TAVIDs& tavids)
{
    QStringList names;
    for (const TAVIDs::RegisteredSource& entry : tavids.registeredSources())
        names << entry.name;
    return names;
}

LimeReport::ICallbackDatasource* sourceNamed(const TAVIDs& tavids, const QString& name)
{
    for (const TAVIDs::RegisteredSource& entry : tavids.registeredSources()) {
        if (entry.name == name)
            return entry.source;
    }
    return nullptr;
}

// Moves an engine-side source as the engine does, by its signal.
bool emitMove(LimeReport::ICallbackDatasource* source, CallbackInfo::ChangePosType type)
{
    bool result = type == CallbackInfo::Next;
    emit source->changePos(type, result);
    return result;
}

QString emitColumnData(LimeReport::ICallbackDatasource* source, const QString& column)
{
    CallbackInfo info;
    info.dataType = CallbackInfo::ColumnData;
    info.columnName = column;
    QVariant data;
    emit source->getCallbackData(info, data);
    return data.toString();
}

// Registered by every document after its own sources.
const QStringList commonNames{
    "facilitySummary", "credits",    "credits_col",    "credits_gua",        "lcs",
    "lcs_col",         "lcs_gua",    "bankGuarantees", "bankGuarantees_col", "bankGuarantees_gua",
    "others",          "others_col", "others_gua"};

const QStringList individualNames = QStringList{"header", "individualDebtors"} + commonNames;

const QStringList corporateNames =
    QStringList{"header",     "corporateDebtors", "offclsSharehldrGroups", "offclsSharehldrs",
                "securities", "securities_col",   "securities_gua"} +
    commonNames;

} // namespace

class TestTAVIDs : public QObject
{
    Q_OBJECT

private slots:
    void debtorType_data();
    void debtorType();
    void sourcesBuilt_data();
    void sourcesBuilt();
    void corporateWithoutGroups();
    void facilityRowsInBothModes();
    void documentHandedOverOrKept_data();
    void documentHandedOverOrKept();
    void fillingTwiceReplaces();
    void registration_data();
    void registration();
    void engineSignalsReachTheSources();
    void absentDataSetHasNoAnswers();
    void duplicateNameIsSkipped();
    void registeredAgainAfterClearing();
    void sourcesDestroyedOnceByTheEngine();
    void engineDestroyedBeforeDocument();
};

void TestTAVIDs::debtorType_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("type");
    QTest::newRow("individual") << QByteArray(R"({"individual":{"reportNumber":"1"}})") << "I";
    QTest::newRow("corporate") << QByteArray(R"({"corporate":{"reportNumber":"1"}})") << "C";
    QTest::newRow("individual null") << QByteArray(R"({"individual":null,"corporate":{}})") << "C";
    QTest::newRow("both present")
        << QByteArray(R"({"individual":{"reportNumber":"1"},"corporate":{"reportNumber":"2"}})")
        << "I";
    QTest::newRow("not JSON") << QByteArray("{nope") << "C";
    QTest::newRow("JSON array") << QByteArray("[1,2]") << "C";
}

void TestTAVIDs::debtorType()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, type);
    TAVIDs tavids;
    tavids.fillDataSets(documentMap(json), false);
    QCOMPARE(tavids.debtorType(), type);
    QVERIFY(tavids.facilitySummaryDs());
    QVERIFY(tavids.creditDs());
}

void TestTAVIDs::sourcesBuilt_data()
{
    QTest::addColumn<QString>("sample");
    QTest::addColumn<bool>("exportMode");
    QTest::addColumn<QString>("built");
    // Letters: header, debtors, groups, securities (i = individual, c = corporate, - = none).
    QTest::newRow("individual on screen") << "individual-basic.json" << false << "ii--";
    QTest::newRow("individual export") << "individual-basic.json" << true << "----";
    QTest::newRow("corporate on screen") << "corporate-basic.json" << false << "cccc";
    QTest::newRow("corporate export") << "corporate-basic.json" << true << "---c";
}

void TestTAVIDs::sourcesBuilt()
{
    QFETCH(QString, sample);
    QFETCH(bool, exportMode);
    QFETCH(QString, built);
    TAVIDs tavids;
    tavids.fillDataSets(sampleMap(sample), exportMode);
    QCOMPARE(tavids.exportMode(), exportMode);
    QCOMPARE(bool(tavids.individualHeaderDs()), built[0] == 'i');
    QCOMPARE(bool(tavids.individualDebtorDs()), built[1] == 'i');
    QCOMPARE(bool(tavids.corporateHeaderDs()), built[0] == 'c');
    QCOMPARE(bool(tavids.corporateDebtorDs()), built[1] == 'c');
    QCOMPARE(bool(tavids.offclsSharehldrGroupDs()), built[2] == 'c');
    QCOMPARE(bool(tavids.securityDs()), built[3] == 'c');
    for (FacilitiesDs* ds :
         {tavids.creditDs(), tavids.lcDs(), tavids.bankGuaranteeDs(), tavids.otherDs()}) {
        QVERIFY(ds);
        QCOMPARE(ds->exportMode(), exportMode);
    }
    QVERIFY(tavids.facilitySummaryDs());
}

void TestTAVIDs::corporateWithoutGroups()
{
    TAVIDs tavids;
    tavids.fillDataSets(documentMap(R"({"corporate":{"requestDate":"20240418084512"}})"), false);
    QVERIFY(tavids.offclsSharehldrGroupDs());
    QVERIFY(tavids.offclsSharehldrGroupDs()->groups().records().isEmpty());
    QVERIFY(tavids.securityDs()->facilities().records().isEmpty());
}

void TestTAVIDs::facilityRowsInBothModes()
{
    const QVariantMap doc = sampleMap("corporate-basic.json");
    TAVIDs screen;
    screen.fillDataSets(doc, false);
    TAVIDs exported;
    exported.fillDataSets(doc, true);
    QCOMPARE(screen.creditDs()->facilities().records().size(), 2);
    QCOMPARE(screen.securityDs()->facilities().records().size(), 2);
    QCOMPARE(screen.lcDs()->facilities().records().size(), 1);

    const QVariantMap onScreen = screen.creditDs()->facilities().records().first();
    const QVariantMap forExport = exported.creditDs()->facilities().records().first();
    // History labels count back from the request month, April 2024.
    QCOMPARE(onScreen.value("monthYear01").toString(), QStringLiteral("Apr 22"));
    QCOMPARE(onScreen.value("monthYear24").toString(), QStringLiteral("Mar 24"));
    QCOMPARE(forExport.value("monthYear01").toString(), QStringLiteral("202204"));
    QCOMPARE(forExport.value("monthYear24").toString(), QStringLiteral("202403"));
    QCOMPARE(onScreen.value("dataYearMonth").toString(), QStringLiteral("01 Maret 2024"));
    QCOMPARE(forExport.value("dataYearMonth").toString(), QStringLiteral("202403"));
    QCOMPARE(forExport.value("dataYear").toString(), QStringLiteral("2024"));
    QCOMPARE(forExport.value("dataMonth").toString(), QStringLiteral("03"));
    QVERIFY(!onScreen.contains("dataYear"));

    // Letters of credit have no days-past-due columns, yet their rows carry the laid-out days.
    QVERIFY(!screen.lcDs()->facilities().columns().contains("month24Day"));
    QVERIFY(screen.lcDs()->facilities().records().first().contains("month24Day"));
}

void TestTAVIDs::documentHandedOverOrKept_data()
{
    QTest::addColumn<QString>("sample");
    QTest::addColumn<bool>("exportMode");
    for (const char* sample : {"individual-basic.json", "corporate-basic.json"}) {
        QTest::addRow("%s on screen", sample) << sample << false;
        QTest::addRow("%s export", sample) << sample << true;
    }
}

// Rows prepared in place, in a document handed over, are the rows prepared as copies,
// and a document the caller keeps is left as it was.
void TestTAVIDs::documentHandedOverOrKept()
{
    QFETCH(QString, sample);
    QFETCH(bool, exportMode);
    const QVariantMap kept = sampleMap(sample);
    TAVIDs fromKept;
    fromKept.fillDataSets(kept, exportMode);
    QCOMPARE(kept, sampleMap(sample));
    TAVIDs fromHanded;
    fromHanded.fillDataSets(sampleMap(sample), exportMode);

    const auto records = [](FacilitiesDs* ds) {
        return ds ? ds->facilities().records() : QList<QVariantMap>();
    };
    for (const auto& ds : {&TAVIDs::creditDs, &TAVIDs::lcDs, &TAVIDs::bankGuaranteeDs,
                           &TAVIDs::securityDs, &TAVIDs::otherDs})
        QCOMPARE(records((fromHanded.*ds)()), records((fromKept.*ds)()));
    QVERIFY(!records(fromHanded.creditDs()).isEmpty());
    QCOMPARE(fromHanded.facilitySummaryDs()->cursor().records(),
             fromKept.facilitySummaryDs()->cursor().records());
    if (!exportMode) {
        QMapDs* debtors = fromKept.debtorType() == TAVIDs::individualType
                              ? fromKept.individualDebtorDs()
                              : fromKept.corporateDebtorDs();
        QMapDs* handedDebtors = fromHanded.debtorType() == TAVIDs::individualType
                                    ? fromHanded.individualDebtorDs()
                                    : fromHanded.corporateDebtorDs();
        QCOMPARE(handedDebtors->cursor().records(), debtors->cursor().records());
        QVERIFY(!debtors->cursor().records().isEmpty());
    }
}

void TestTAVIDs::fillingTwiceReplaces()
{
    TAVIDs tavids;
    tavids.fillDataSets(sampleMap("corporate-basic.json"), false);
    QPointer<QObject> oldCredits = tavids.creditDs();
    tavids.fillDataSets(sampleMap("individual-empty.json"), false);
    QVERIFY(oldCredits.isNull());
    QVERIFY(tavids.creditDs()->facilities().records().isEmpty());
}

void TestTAVIDs::registration_data()
{
    QTest::addColumn<QString>("sample");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("individual") << "individual-basic.json" << individualNames;
    QTest::newRow("corporate") << "corporate-basic.json" << corporateNames;
}

void TestTAVIDs::registration()
{
    QFETCH(QString, sample);
    QFETCH(QStringList, names);
    LimeReport::ReportEngine engine;
    TAVIDs tavids;
    tavids.fillDataSets(sampleMap(sample), false);
    tavids.registerDataSources(&engine);
    QCOMPARE(registeredNames(tavids), names);
    for (const QString& name : TAVIDs::dataSourceNames())
        QCOMPARE(engine.dataManager()->containsDatasource(name),
                 names.contains(name) || name == QLatin1String("dummy"));
    // Templates spell the names in lower case.
    QVERIFY(engine.dataManager()->containsDatasource("bankguarantees_col"));
    QCOMPARE(TAVIDs::dataSourceNames().size(), 22);
}

void TestTAVIDs::engineSignalsReachTheSources()
{
    LimeReport::ReportEngine engine;
    TAVIDs tavids;
    tavids.fillDataSets(sampleMap("corporate-basic.json"), false);
    tavids.registerDataSources(&engine);

    auto* header = sourceNamed(tavids, "header");
    QVERIFY(emitMove(header, CallbackInfo::First));
    QCOMPARE(emitColumnData(header, "dataSetNumberOfTotal"), QStringLiteral("bagian ke 2 dari 3"));

    auto* groups = sourceNamed(tavids, "offclsSharehldrGroups");
    auto* officers = sourceNamed(tavids, "offclsSharehldrs");
    QVERIFY(emitMove(groups, CallbackInfo::First));
    QVERIFY(emitMove(officers, CallbackInfo::First));
    QCOMPARE(emitColumnData(officers, "identityNumberName"), QStringLiteral("BUDI HARTONO WIJAYA"));

    auto* credits = sourceNamed(tavids, "credits");
    auto* collaterals = sourceNamed(tavids, "credits_col");
    auto* guarantors = sourceNamed(tavids, "credits_gua");
    QVERIFY(emitMove(credits, CallbackInfo::First));
    QVERIFY(emitMove(collaterals, CallbackInfo::First));
    QVERIFY(emitMove(guarantors, CallbackInfo::First));
    QVERIFY(!emitColumnData(collaterals, "collateralTypeDesc").isEmpty());
    QVERIFY(!emitColumnData(guarantors, "guarantorName").isEmpty());
    QVERIFY(emitMove(credits, CallbackInfo::Next));
    QVERIFY(!emitMove(credits, CallbackInfo::Next));
}

void TestTAVIDs::absentDataSetHasNoAnswers()
{
    LimeReport::ReportEngine engine;
    TAVIDs tavids;
    tavids.registerDataSources(&engine);
    QCOMPARE(registeredNames(tavids), corporateNames);
    auto* credits = sourceNamed(tavids, "credits");
    QVERIFY(!emitMove(credits, CallbackInfo::First));
    QVariant data;
    CallbackInfo info;
    info.dataType = CallbackInfo::ColumnCount;
    emit credits->getCallbackData(info, data);
    QVERIFY(!data.isValid());
}

void TestTAVIDs::duplicateNameIsSkipped()
{
    LimeReport::ReportEngine engine;
    engine.dataManager()->createCallbackDatasource("credits");
    TAVIDs tavids;
    tavids.fillDataSets(sampleMap("individual-basic.json"), false);
    tavids.registerDataSources(&engine);
    QStringList expected = individualNames;
    expected.removeAll("credits");
    QCOMPARE(registeredNames(tavids), expected);
    QVERIFY(engine.dataManager()->containsDatasource("credits_col"));
}

void TestTAVIDs::registeredAgainAfterClearing()
{
    LimeReport::ReportEngine engine;
    TAVIDs tavids;
    tavids.fillDataSets(sampleMap("individual-basic.json"), false);
    tavids.registerDataSources(&engine);
    for (const QString& name : TAVIDs::dataSourceNames())
        engine.dataManager()->removeModel(name);
    tavids.registerDataSources(&engine);
    QCOMPARE(registeredNames(tavids), individualNames);
    QVERIFY(emitMove(sourceNamed(tavids, "header"), CallbackInfo::First));
}

void TestTAVIDs::sourcesDestroyedOnceByTheEngine()
{
    LimeReport::ReportEngine engine;
    auto* tavids = new TAVIDs;
    tavids->fillDataSets(sampleMap("corporate-basic.json"), false);
    tavids->registerDataSources(&engine);
    QList<QPointer<LimeReport::ICallbackDatasource>> sources;
    for (const TAVIDs::RegisteredSource& entry : tavids->registeredSources())
        sources << entry.source;

    delete tavids;
    // Events may run between closing a document and removing its names.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (const auto& source : sources)
        QVERIFY(!source.isNull());
    // An orphaned source gets no answers, and asking does not crash.
    QVERIFY(!emitMove(sources.first(), CallbackInfo::First));

    for (const QString& name : TAVIDs::dataSourceNames())
        engine.dataManager()->removeModel(name);
    for (const auto& source : sources)
        QVERIFY(source.isNull());
}

void TestTAVIDs::engineDestroyedBeforeDocument()
{
    QList<QPointer<LimeReport::ICallbackDatasource>> sources;
    {
        auto* engine = new LimeReport::ReportEngine;
        TAVIDs tavids;
        tavids.fillDataSets(sampleMap("individual-basic.json"), false);
        tavids.registerDataSources(engine);
        for (const TAVIDs::RegisteredSource& entry : tavids.registeredSources())
            sources << entry.source;
        delete engine;
        for (const auto& source : sources)
            QVERIFY(source.isNull());
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QTEST_GUILESS_MAIN(TestTAVIDs)
#include "tst_tavids.moc"
