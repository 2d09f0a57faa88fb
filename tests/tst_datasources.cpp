#include "facilitiesds.h"
#include "facilityrecords.h"
#include "offclssharehldrgroupds.h"
#include "qmapds.h"
#include "recordcursor.h"
#include "reportsample.h"
#include "subjectrecords.h"

#include <QtTest>

using LimeReport::CallbackInfo;

namespace {

// Plays the engine against one cursor of a data source: the data arrives pre-set,
// as the engine sets it, so that an unanswered question is visible.
template <class Ds> class Probe
{
public:
    using DataSlot = void (Ds::*)(const CallbackInfo&, QVariant&);
    using PosSlot = void (Ds::*)(const CallbackInfo::ChangePosType&, bool&);

    Probe(Ds* ds, DataSlot data, PosSlot pos) : m_ds(ds), m_data(data), m_pos(pos) {}

    QVariant ask(CallbackInfo::DataType type, const QString& column = QString(), int index = 0,
                 const QVariant& preset = QVariant()) const
    {
        CallbackInfo info;
        info.dataType = type;
        info.columnName = column;
        info.index = index;
        QVariant data = preset;
        (m_ds->*m_data)(info, data);
        return data;
    }
    QString value(const QString& column) const
    {
        return ask(CallbackInfo::ColumnData, column).toString();
    }
    bool first() const { return move(CallbackInfo::First); }
    bool next() const { return move(CallbackInfo::Next); }
    bool hasNext() const { return ask(CallbackInfo::HasNext, {}, 0, false).toBool(); }
    bool isEmpty() const { return ask(CallbackInfo::IsEmpty, {}, 0, true).toBool(); }
    // The values of `column` over a whole band pass.
    QStringList walk(const QString& column) const
    {
        QStringList values;
        if (!first())
            return values;
        values << value(column);
        while (hasNext() && next())
            values << value(column);
        return values;
    }

private:
    bool move(CallbackInfo::ChangePosType type) const
    {
        bool result = type == CallbackInfo::Next;
        (m_ds->*m_pos)(type, result);
        return result;
    }

    Ds* m_ds;
    DataSlot m_data;
    PosSlot m_pos;
};

template <class Ds> Probe<Ds> masterOf(Ds* ds)
{
    return Probe<Ds>(ds, &Ds::slotGetCallbackData, &Ds::slotChangePos);
}

Probe<FacilitiesDs> collateralsOf(FacilitiesDs* ds)
{
    return Probe<FacilitiesDs>(ds, &FacilitiesDs::slotGetCallbackDataCol,
                               &FacilitiesDs::slotChangePosCol);
}

Probe<FacilitiesDs> guarantorsOf(FacilitiesDs* ds)
{
    return Probe<FacilitiesDs>(ds, &FacilitiesDs::slotGetCallbackDataGua,
                               &FacilitiesDs::slotChangePosGua);
}

Probe<OffclsSharehldrGroupDs> officersOf(OffclsSharehldrGroupDs* ds)
{
    return Probe<OffclsSharehldrGroupDs>(ds, &OffclsSharehldrGroupDs::slotGetCallbackDataOsh,
                                         &OffclsSharehldrGroupDs::slotChangePosOsh);
}

RecordSet threeRows()
{
    return RecordSet({"name", "amount"}, QVariantList{QVariantMap{{"name", "a"}, {"amount", 1.5}},
                                                      QVariantMap{{"name", "b"}},
                                                      QVariantMap{{"name", "c"}, {"x", 1}}});
}

QVariantMap facility(const QString& account, const QVariantList& collaterals,
                     const QVariantList& guarantors)
{
    QVariantMap row{
        {"accountNo", account}, {"dataYearMonth", "202402"}, {"orgDataYearMonth", "202402"}};
    if (!collaterals.isEmpty())
        row.insert("collaterals", collaterals);
    if (!guarantors.isEmpty())
        row.insert("guarantors", guarantors);
    return row;
}

QVariantMap named(const char* key, const QString& name)
{
    return QVariantMap{{QLatin1String(key), name}};
}

} // namespace

class TestDataSources : public QObject
{
    Q_OBJECT

private slots:
    void emptyList();
    void walkToTheEnd();
    void questions_data();
    void questions();
    void firstRestarts();
    void masterLoadsItsDetails();
    void detailWalkedTwice();
    void masterMovedDuringDetailWalk();
    void detailDatesInLongForm();
    void facilityWithoutDetails();
    void sampleHistory_data();
    void sampleHistory();
    void groupsAndOfficers();
    void groupWithoutOfficers();
    void groupDates_data();
    void groupDates();
};

void TestDataSources::emptyList()
{
    QMapDs ds(RecordSet({"name"}, QVariantList{}));
    auto probe = masterOf(&ds);
    QVERIFY(probe.isEmpty());
    QVERIFY(!probe.first());
    QVERIFY(!probe.hasNext());
    QVERIFY(!probe.next());
    QCOMPARE(probe.value("name"), QString());
    QVERIFY(ds.cursor().current().isEmpty());
    QCOMPARE(ds.cursor().position(), 0);
}

void TestDataSources::walkToTheEnd()
{
    QMapDs ds(threeRows());
    auto probe = masterOf(&ds);
    QVERIFY(!probe.isEmpty());
    QVERIFY(probe.first());
    QCOMPARE(probe.value("name"), QStringLiteral("a"));
    QVERIFY(probe.hasNext());
    QVERIFY(probe.next());
    QVERIFY(probe.next());
    QCOMPARE(probe.value("name"), QStringLiteral("c"));
    QVERIFY(!probe.hasNext());
    // Past the end the cursor stays on the last row, for footers.
    QVERIFY(!probe.next());
    QCOMPARE(probe.value("name"), QStringLiteral("c"));
    QCOMPARE(ds.cursor().position(), 3);
}

void TestDataSources::questions_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("column");
    QTest::addColumn<int>("index");
    QTest::addColumn<QVariant>("preset");
    QTest::addColumn<QVariant>("expected");
    QTest::newRow("header 0") << int(CallbackInfo::ColumnHeaderData) << "" << 0 << QVariant()
                              << QVariant("name");
    QTest::newRow("header 1") << int(CallbackInfo::ColumnHeaderData) << "" << 1 << QVariant()
                              << QVariant("amount");
    QTest::newRow("header past the end")
        << int(CallbackInfo::ColumnHeaderData) << "" << 2 << QVariant() << QVariant();
    QTest::newRow("column count") << int(CallbackInfo::ColumnCount) << "" << 0 << QVariant()
                                  << QVariant(2);
    QTest::newRow("number as text")
        << int(CallbackInfo::ColumnData) << "amount" << 0 << QVariant() << QVariant("1.5");
    QTest::newRow("missing column")
        << int(CallbackInfo::ColumnData) << "nothing" << 0 << QVariant() << QVariant("");
    QTest::newRow("row count unanswered")
        << int(CallbackInfo::RowCount) << "" << 0 << QVariant(0) << QVariant(0);
    QTest::newRow("row count unanswered, invalid")
        << int(CallbackInfo::RowCount) << "" << 0 << QVariant() << QVariant();
}

void TestDataSources::questions()
{
    QFETCH(int, type);
    QFETCH(QString, column);
    QFETCH(int, index);
    QFETCH(QVariant, preset);
    QFETCH(QVariant, expected);
    QMapDs ds(threeRows());
    auto probe = masterOf(&ds);
    QVERIFY(probe.first());
    const QVariant data = probe.ask(CallbackInfo::DataType(type), column, index, preset);
    QCOMPARE(data.isValid(), expected.isValid());
    if (expected.isValid())
        QCOMPARE(data.toString(), expected.toString());
}

void TestDataSources::firstRestarts()
{
    QMapDs ds(threeRows());
    auto probe = masterOf(&ds);
    const QStringList all{"a", "b", "c"};
    QCOMPARE(probe.walk("name"), all);
    QCOMPARE(probe.walk("name"), all);
    // A pass abandoned half-way does not disturb the next one.
    QVERIFY(probe.first());
    QVERIFY(probe.next());
    QCOMPARE(probe.walk("name"), all);
}

void TestDataSources::masterLoadsItsDetails()
{
    const QVariantList rows{
        facility("A", {named("collateralRegNo", "A1"), named("collateralRegNo", "A2")},
                 {named("guarantorName", "GA")}),
        facility("B", {named("collateralRegNo", "B1")}, {})};
    FacilitiesDs ds(FacilityRecords::columns(FacilityRecords::Credits), rows, QDate(2024, 3, 18),
                    false);
    auto master = masterOf(&ds);
    auto collaterals = collateralsOf(&ds);
    auto guarantors = guarantorsOf(&ds);
    QVERIFY(master.first());
    QCOMPARE(collaterals.walk("collateralRegNo"), QStringList({"A1", "A2"}));
    QCOMPARE(guarantors.walk("guarantorName"), QStringList({"GA"}));
    QVERIFY(master.next());
    QCOMPARE(master.value("accountNo"), QStringLiteral("B"));
    QCOMPARE(collaterals.walk("collateralRegNo"), QStringList({"B1"}));
    QVERIFY(guarantors.isEmpty());
    QVERIFY(!guarantors.first());
    QCOMPARE(guarantors.value("guarantorName"), QString());
    QCOMPARE(ds.collaterals().columns(), FacilityRecords::collateralColumns());
    QCOMPARE(collaterals.ask(CallbackInfo::ColumnCount).toInt(), 25);
    QCOMPARE(guarantors.ask(CallbackInfo::ColumnCount).toInt(), 8);
}

void TestDataSources::detailWalkedTwice()
{
    const QVariantList rows{
        facility("A", {named("collateralRegNo", "A1"), named("collateralRegNo", "A2")}, {})};
    FacilitiesDs ds(FacilityRecords::columns(FacilityRecords::Lcs), rows, QDate(2024, 3, 18),
                    false);
    QVERIFY(masterOf(&ds).first());
    auto collaterals = collateralsOf(&ds);
    QCOMPARE(collaterals.walk("collateralRegNo"), QStringList({"A1", "A2"}));
    QCOMPARE(collaterals.walk("collateralRegNo"), QStringList({"A1", "A2"}));
}

void TestDataSources::masterMovedDuringDetailWalk()
{
    const QVariantList rows{
        facility("A",
                 {named("collateralRegNo", "A1"), named("collateralRegNo", "A2"),
                  named("collateralRegNo", "A3")},
                 {}),
        facility("B", {named("collateralRegNo", "B1"), named("collateralRegNo", "B2")}, {})};
    FacilitiesDs ds(FacilityRecords::columns(FacilityRecords::Others), rows, QDate(2024, 3, 18),
                    false);
    auto master = masterOf(&ds);
    auto collaterals = collateralsOf(&ds);
    QVERIFY(master.first());
    QVERIFY(collaterals.first());
    QVERIFY(collaterals.next());
    QCOMPARE(collaterals.value("collateralRegNo"), QStringLiteral("A2"));

    QVERIFY(master.next());
    // Nothing of the previous facility shows through, and a Next before the band's
    // First starts at the new list's first row instead of skipping into it.
    QCOMPARE(collaterals.value("collateralRegNo"), QString());
    QVERIFY(collaterals.hasNext());
    QVERIFY(collaterals.next());
    QCOMPARE(collaterals.value("collateralRegNo"), QStringLiteral("B1"));
    QCOMPARE(collaterals.walk("collateralRegNo"), QStringList({"B1", "B2"}));
}

void TestDataSources::detailDatesInLongForm()
{
    const QVariantList rows{facility(
        "A", {QVariantMap{{"contractDate", "20190415103012"}, {"updatedDatetime", "20240305"}}},
        {QVariantMap{{"createdDatetime", "202001"}, {"updatedDatetime", "bad"}}})};
    FacilitiesDs ds(FacilityRecords::columns(FacilityRecords::Credits), rows, QDate(2024, 3, 18),
                    false);
    QVERIFY(masterOf(&ds).first());
    auto collaterals = collateralsOf(&ds);
    auto guarantors = guarantorsOf(&ds);
    QVERIFY(collaterals.first());
    QCOMPARE(collaterals.value("contractDate"), QStringLiteral("15 April 2019"));
    QCOMPARE(collaterals.value("updatedDatetime"), QStringLiteral("05 Maret 2024"));
    QVERIFY(guarantors.first());
    QCOMPARE(guarantors.value("createdDatetime"), QStringLiteral("01 Januari 2020"));
    QCOMPARE(guarantors.value("updatedDatetime"), QString());
    // The facility's own rows keep their stored detail lists untouched.
    const QVariantMap stored =
        ds.facilities().records().first().value("collaterals").toList().first().toMap();
    QCOMPARE(stored.value("contractDate").toString(), QStringLiteral("20190415103012"));
}

void TestDataSources::facilityWithoutDetails()
{
    FacilitiesDs ds(FacilityRecords::columns(FacilityRecords::BankGuarantees),
                    {facility("A", {}, {})}, QDate(2024, 3, 18), false);
    QVERIFY(masterOf(&ds).first());
    QVERIFY(collateralsOf(&ds).isEmpty());
    QVERIFY(!collateralsOf(&ds).first());
    QVERIFY(guarantorsOf(&ds).isEmpty());
}

void TestDataSources::sampleHistory_data()
{
    QTest::addColumn<int>("facility");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("colCode");
    QTest::addColumn<QString>("day");
    // individual-basic.json: request 18 March 2024, history from Mar 22 to Feb 24.
    QTest::newRow("housing loan, first column") << 0 << 1 << "Mar 22"
                                                << "1"
                                                << "0";
    QTest::newRow("housing loan, Jul 22") << 0 << 5 << "Jul 22"
                                          << "2"
                                          << "12";
    QTest::newRow("housing loan, last column") << 0 << 24 << "Feb 24"
                                               << "1"
                                               << "0";
    QTest::newRow("vehicle, Okt 23") << 1 << 20 << "Okt 23"
                                     << "2"
                                     << "34";
    QTest::newRow("vehicle, Nov 23") << 1 << 21 << "Nov 23"
                                     << "2"
                                     << "61";
    QTest::newRow("card, one month behind") << 2 << 24 << "Feb 24"
                                            << ""
                                            << "";
    QTest::newRow("card, before opening") << 2 << 14 << "Apr 23"
                                          << ""
                                          << "";
}

void TestDataSources::sampleHistory()
{
    QFETCH(int, facility);
    QFETCH(int, column);
    QFETCH(QString, label);
    QFETCH(QString, colCode);
    QFETCH(QString, day);
    const QVariantMap subject = sampleMap("individual-basic.json").value("individual").toMap();
    FacilitiesDs ds(FacilityRecords::columns(FacilityRecords::Credits),
                    FacilityRecords::prepareRows(
                        facilityRows(subject, FacilityRecords::key(FacilityRecords::Credits)),
                        FacilityRecords::Credits, false),
                    QDate(2024, 3, 18), false);
    QCOMPARE(ds.facilities().records().size(), 3);
    auto probe = masterOf(&ds);
    QVERIFY(probe.first());
    for (int i = 0; i < facility; ++i)
        QVERIFY(probe.next());
    QCOMPARE(probe.value(QString::asprintf("monthYear%02d", column)), label);
    QCOMPARE(probe.value(QString::asprintf("month%02dColCode", column)), colCode);
    QCOMPARE(probe.value(QString::asprintf("month%02dDay", column)), day);
}

void TestDataSources::groupsAndOfficers()
{
    const QVariantMap corporate = sampleMap("corporate-basic.json").value("corporate").toMap();
    OffclsSharehldrGroupDs ds(SubjectRecords::officerGroups(corporate));
    auto groups = masterOf(&ds);
    auto officers = officersOf(&ds);
    QCOMPARE(groups.ask(CallbackInfo::ColumnCount).toInt(), 3);
    QCOMPARE(officers.ask(CallbackInfo::ColumnCount).toInt(), 10);

    QVERIFY(groups.first());
    QCOMPARE(groups.value("member"), QStringLiteral("611"));
    QCOMPARE(groups.value("updatedDatetime"), QStringLiteral("31 Januari 2024"));
    QCOMPARE(officers.walk("identityNumberName"),
             QStringList({"BUDI HARTONO WIJAYA", "LINDA KARTIKA SARI", "PT ABADI INVESTAMA JAYA"}));
    QCOMPARE(officers.walk("shareOwnership"), QStringList({"60.00", "25.5", "14.50"}));

    QVERIFY(groups.next());
    QCOMPARE(groups.value("member"), QStringLiteral("523"));
    QCOMPARE(groups.value("updatedDatetime"), QStringLiteral("15 Desember 2023"));
    QCOMPARE(officers.walk("shareOwnership"), QStringList({"60", "0"}));
    QVERIFY(!groups.hasNext());
}

void TestDataSources::groupWithoutOfficers()
{
    OffclsSharehldrGroupDs ds(QVariantList{
        QVariantMap{{"member", "1"},
                    {"offclsSharehldrs", QVariantList{named("identityNumberName", "X")}}},
        QVariantMap{{"member", "2"}}});
    auto groups = masterOf(&ds);
    auto officers = officersOf(&ds);
    QVERIFY(groups.first());
    QCOMPARE(officers.walk("identityNumberName"), QStringList({"X"}));
    QVERIFY(groups.next());
    // The list of the first group is not shared with the second.
    QVERIFY(officers.isEmpty());
    QVERIFY(!officers.first());
    QCOMPARE(officers.value("identityNumberName"), QString());
}

void TestDataSources::groupDates_data()
{
    QTest::addColumn<QVariant>("updated");
    QTest::addColumn<QString>("expected");
    QTest::newRow("8") << QVariant("20200131") << "31 Januari 2020";
    QTest::newRow("14") << QVariant("20231215093000") << "15 Desember 2023";
    QTest::newRow("empty") << QVariant("") << "";
    QTest::newRow("absent") << QVariant() << "";
}

void TestDataSources::groupDates()
{
    QFETCH(QVariant, updated);
    QFETCH(QString, expected);
    QVariantMap group{{"member", "611"}};
    if (updated.isValid())
        group.insert("updatedDatetime", updated);
    OffclsSharehldrGroupDs ds({group});
    auto groups = masterOf(&ds);
    QVERIFY(groups.first());
    QCOMPARE(groups.value("updatedDatetime"), expected);
    QVERIFY(ds.groups().records().first().contains("updatedDatetime"));
}

QTEST_GUILESS_MAIN(TestDataSources)
#include "tst_datasources.moc"
