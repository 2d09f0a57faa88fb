#include "facilityrecords.h"
#include "reportsample.h"

#include <QtTest>

Q_DECLARE_METATYPE(FacilityRecords::Type)

class TestFacilityRecords : public QObject
{
    Q_OBJECT

private slots:
    void columns_data();
    void columns();
    void screenRows_data();
    void screenRows();
    void exportRows_data();
    void exportRows();
    void qualityJoin_data();
    void qualityJoin();
    void absentLists();
    void detailDates();
};

void TestFacilityRecords::columns_data()
{
    QTest::addColumn<FacilityRecords::Type>("type");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<bool>("hasDays");
    QTest::addColumn<QString>("last");
    QTest::newRow("credits") << FacilityRecords::Credits << "credits" << 118
                             << "outstandingPrincipal" << true << "overdueDays";
    QTest::newRow("securities") << FacilityRecords::Securities << "securities" << 100 << "amount"
                                << true << "description";
    QTest::newRow("others") << FacilityRecords::Others << "others" << 94 << "facilityAmount" << true
                            << "description";
    QTest::newRow("lcs") << FacilityRecords::Lcs << "lcs" << 73 << "lcAmount" << false
                         << "description";
    QTest::newRow("bankGuarantees") << FacilityRecords::BankGuarantees << "bankGuarantees" << 73
                                    << "bgAmount" << false << "description";
}

void TestFacilityRecords::columns()
{
    QFETCH(FacilityRecords::Type, type);
    QFETCH(QString, key);
    QFETCH(int, count);
    QFETCH(QString, amount);
    QFETCH(bool, hasDays);
    QFETCH(QString, last);
    QCOMPARE(FacilityRecords::key(type), key);
    QStringList columns = FacilityRecords::columns(type);
    QCOMPARE(columns.size(), count);
    QCOMPARE(columns.mid(0, 7),
             QStringList({"member", "memberDesc", "officeDesc", amount, "createdDatetime",
                          "updatedDatetime", "dataYearMonth"}));
    const QStringList firstMonth = hasDays
                                       ? QStringList{"monthYear01", "month01ColCode", "month01Day"}
                                       : QStringList{"monthYear01", "month01ColCode"};
    QCOMPARE(columns.mid(7, firstMonth.size()), firstMonth);
    QCOMPARE(columns.contains("month24Day"), hasDays);
    QVERIFY(columns.contains("monthYear24"));
    QCOMPARE(columns.last(), last);
    QCOMPARE(columns.removeDuplicates(), 0);
}

void TestFacilityRecords::screenRows_data()
{
    QTest::addColumn<FacilityRecords::Type>("type");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("credit data month")
        << FacilityRecords::Credits << "dataYearMonth" << QVariant("202402") << "01 Februari 2024";
    QTest::newRow("credit raw data month")
        << FacilityRecords::Credits << "orgDataYearMonth" << QVariant() << "202402";
    QTest::newRow("credit dueDate")
        << FacilityRecords::Credits << "dueDate" << QVariant("20390415") << "15 April 2039";
    QTest::newRow("credit created 14") << FacilityRecords::Credits << "createdDatetime"
                                       << QVariant("20190415103012") << "15 April 2019";
    QTest::newRow("credit bad length")
        << FacilityRecords::Credits << "restructureEndDate" << QVariant("0") << "";
    QTest::newRow("credit amount kept") << FacilityRecords::Credits << "outstandingPrincipal"
                                        << QVariant(312456789.5) << "312456789.5";
    QTest::newRow("lc issue") << FacilityRecords::Lcs << "lcIssueDate" << QVariant("20230905")
                              << "05 September 2023";
    QTest::newRow("lc data month")
        << FacilityRecords::Lcs << "dataYearMonth" << QVariant("202402") << "01 Februari 2024";
    QTest::newRow("bg default") << FacilityRecords::BankGuarantees << "bgDefaultDate"
                                << QVariant("202311") << "01 November 2023";
    QTest::newRow("security listing") << FacilityRecords::Securities << "listingDate"
                                      << QVariant("20220110") << "10 Januari 2022";
    QTest::newRow("other start") << FacilityRecords::Others << "facilityStartDate"
                                 << QVariant("20240105") << "05 Januari 2024";
    QTest::newRow("other updated")
        << FacilityRecords::Others << "updatedDatetime" << QVariant("20240305") << "05 Maret 2024";
    QTest::newRow("lc account untouched")
        << FacilityRecords::Lcs << "accountNo" << QVariant("20240305") << "20240305";
}

void TestFacilityRecords::screenRows()
{
    QFETCH(FacilityRecords::Type, type);
    QFETCH(QString, key);
    QFETCH(QVariant, value);
    QFETCH(QString, expected);
    QVariantMap facility{{"dataYearMonth", "202402"}};
    if (value.isValid())
        facility.insert(key, value);
    const QVariantMap subject{
        {"facility", QVariantMap{{FacilityRecords::key(type), QVariantList{facility}}}}};
    const QVariantList rows = FacilityRecords::prepareRows(
        facilityRows(subject, FacilityRecords::key(type)), type, false);
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.first().toMap().value(key).toString(), expected);
}

void TestFacilityRecords::exportRows_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("date cut") << "dueDate" << QVariant("20390415000000") << "20390415";
    QTest::newRow("data month raw") << "dataYearMonth" << QVariant("202402") << "202402";
    QTest::newRow("created kept") << "createdDatetime" << QVariant("20190415103012")
                                  << "20190415103012";
    QTest::newRow("no quality join") << "collectibility" << QVariant("2") << "2";
}

void TestFacilityRecords::exportRows()
{
    QFETCH(QString, key);
    QFETCH(QVariant, value);
    QFETCH(QString, expected);
    const QVariantMap facility{{key, value}, {"collectibilityDesc", "Dalam Perhatian Khusus"}};
    const QVariantMap subject{{"facility", QVariantMap{{"credits", QVariantList{facility}}}}};
    const QVariantMap row =
        FacilityRecords::prepareRows(
            facilityRows(subject, FacilityRecords::key(FacilityRecords::Credits)),
            FacilityRecords::Credits, true)
            .first()
            .toMap();
    QCOMPARE(row.value(key).toString(), expected);
    QVERIFY(!row.contains("orgDataYearMonth"));
}

void TestFacilityRecords::qualityJoin_data()
{
    QTest::addColumn<FacilityRecords::Type>("type");
    QTest::addColumn<QVariantMap>("facility");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("expected");
    QTest::newRow("credit") << FacilityRecords::Credits
                            << QVariantMap{{"collectibility", "2"},
                                           {"collectibilityDesc", "Dalam Perhatian Khusus"}}
                            << "collectibility"
                            << "2 - Dalam Perhatian Khusus";
    QTest::newRow("credit without description")
        << FacilityRecords::Credits << QVariantMap{{"collectibility", "1"}} << "collectibility"
        << "1";
    QTest::newRow("lc") << FacilityRecords::Lcs
                        << QVariantMap{{"collectibilityType", "1"},
                                       {"collectibilityTypeDesc", "Lancar"}}
                        << "collectibilityType"
                        << "1 - Lancar";
    QTest::newRow("other, numeric code")
        << FacilityRecords::Others
        << QVariantMap{{"collectibilityType", 3.0}, {"collectibilityTypeDesc", "Kurang Lancar"}}
        << "collectibilityType"
        << "3 - Kurang Lancar";
}

void TestFacilityRecords::qualityJoin()
{
    QFETCH(FacilityRecords::Type, type);
    QFETCH(QVariantMap, facility);
    QFETCH(QString, field);
    QFETCH(QString, expected);
    const QVariantMap subject{
        {"facility", QVariantMap{{FacilityRecords::key(type), QVariantList{facility}}}}};
    const QVariantMap row =
        FacilityRecords::prepareRows(facilityRows(subject, FacilityRecords::key(type)), type, false)
            .first()
            .toMap();
    QCOMPARE(row.value(field).toString(), expected);
}

void TestFacilityRecords::absentLists()
{
    const QVariantMap empty = sampleMap("individual-empty.json").value("individual").toMap();
    QVERIFY(FacilityRecords::prepareRows(
                facilityRows(empty, FacilityRecords::key(FacilityRecords::Credits)),
                FacilityRecords::Credits, false)
                .isEmpty());
    QVERIFY(FacilityRecords::prepareRows(
                facilityRows(QVariantMap(), FacilityRecords::key(FacilityRecords::Securities)),
                FacilityRecords::Securities, true)
                .isEmpty());
}

void TestFacilityRecords::detailDates()
{
    const QVariantMap facility{
        {"collaterals", QVariantList{QVariantMap{{"createdDatetime", "20190415103012"},
                                                 {"updatedDatetime", "20240305"},
                                                 {"contractDate", "201904"},
                                                 {"memberAppraisalDate", ""},
                                                 {"collateralAppraisalDate", "20230101"},
                                                 {"collateralValueMember", "20230101"}}}},
        {"guarantors", QVariantList{QVariantMap{{"createdDatetime", "20200131"},
                                                {"guarantorName", "20200131"}}}}};
    const QVariantMap collateral = FacilityRecords::displayCollaterals(facility).first().toMap();
    QCOMPARE(collateral.value("createdDatetime").toString(), QStringLiteral("15 April 2019"));
    QCOMPARE(collateral.value("updatedDatetime").toString(), QStringLiteral("05 Maret 2024"));
    QCOMPARE(collateral.value("contractDate").toString(), QStringLiteral("01 April 2019"));
    QCOMPARE(collateral.value("memberAppraisalDate").toString(), QString());
    QCOMPARE(collateral.value("collateralAppraisalDate").toString(),
             QStringLiteral("01 Januari 2023"));
    QCOMPARE(collateral.value("collateralValueMember").toString(), QStringLiteral("20230101"));
    const QVariantMap guarantor = FacilityRecords::displayGuarantors(facility).first().toMap();
    QCOMPARE(guarantor.value("createdDatetime").toString(), QStringLiteral("31 Januari 2020"));
    QCOMPARE(guarantor.value("guarantorName").toString(), QStringLiteral("20200131"));
    QVERIFY(FacilityRecords::displayCollaterals({}).isEmpty());
    QVERIFY(FacilityRecords::displayGuarantors({}).isEmpty());
}

QTEST_GUILESS_MAIN(TestFacilityRecords)
#include "tst_facilityrecords.moc"
