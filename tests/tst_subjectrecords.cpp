#include "reportsample.h"
#include "subjectrecords.h"

#include <QtTest>

class TestSubjectRecords : public QObject
{
    Q_OBJECT

private slots:
    void columnLists_data();
    void columnLists();
    void individualHeader();
    void corporateHeader();
    void partOfTotal_data();
    void partOfTotal();
    void keywordWinsOverEarlierValue();
    void debtorDates_data();
    void debtorDates();
    void debtorsInDocumentOrder();
    void facilitySummary();
    void absentObjects();
    void officerGroups();
};

void TestSubjectRecords::columnLists_data()
{
    QTest::addColumn<QStringList>("columns");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::newRow("individual header")
        << SubjectRecords::individualHeaderColumns() << 17 << "userReferenceCode"
        << "dataSetNumberOfTotal";
    QTest::newRow("corporate header")
        << SubjectRecords::corporateHeaderColumns() << 16 << "userReferenceCode"
        << "dataSetNumberOfTotal";
    QTest::newRow("individual debtors")
        << SubjectRecords::individualDebtorColumns() << 21 << "fullName"
        << "academicDegreeDesc";
    QTest::newRow("corporate debtors")
        << SubjectRecords::corporateDebtorColumns() << 23 << "fullName"
        << "goPublicFlag";
    QTest::newRow("facility summary")
        << SubjectRecords::facilitySummaryColumns() << 23 << "originalCreditLimit"
        << "numberOfOtherCreditor";
}

void TestSubjectRecords::columnLists()
{
    QFETCH(QStringList, columns);
    QFETCH(int, count);
    QFETCH(QString, first);
    QFETCH(QString, last);
    QCOMPARE(columns.size(), count);
    QCOMPARE(columns.removeDuplicates(), 0);
    QCOMPARE(columns.first(), first);
    QCOMPARE(columns.last(), last);
}

void TestSubjectRecords::individualHeader()
{
    const QVariantMap doc = sampleMap("individual-basic.json");
    const RecordSet set = SubjectRecords::individualHeader(doc.value("header").toMap(),
                                                           doc.value("individual").toMap());
    QCOMPARE(set.rows.size(), 1);
    const QVariantMap row = set.rows.first();
    QCOMPARE(row.value("userReferenceCode").toString(), QStringLiteral("BDG/KPR/2403/00871"));
    QCOMPARE(row.value("reportNumber").toString(), QStringLiteral("24031800004578120001"));
    QCOMPARE(row.value("inquiryCreatedBy").toString(), QStringLiteral("RINA KUSUMAWATI"));
    QCOMPARE(row.value("inquiryMemberCode").toString(), QStringLiteral("611"));
    QCOMPARE(row.value("latestDataYearMonth").toString(), QStringLiteral("Februari 2024"));
    QCOMPARE(row.value("latestDataDate").toString(), QStringLiteral("17 Maret 2024"));
    QCOMPARE(row.value("requestDate").toString(), QStringLiteral("18 Maret 2024 10:15:30"));
    QCOMPARE(row.value("resultDate").toString(), QStringLiteral("18 Maret 2024 10:15:47"));
    QCOMPARE(row.value("identityNumberName").toString(), QStringLiteral("DEWI ANGGRAINI SAPUTRI"));
    QCOMPARE(row.value("birthDate").toString(), QStringLiteral("15 Juli 1988"));
    QCOMPARE(row.value("genderDesc").toString(), QStringLiteral("Perempuan"));
    // Keyword members outside the column list ride along.
    QCOMPARE(row.value("gender").toString(), QStringLiteral("P"));
    QVERIFY(!row.contains("dataSetNumberOfTotal"));
}

void TestSubjectRecords::corporateHeader()
{
    const QVariantMap doc = sampleMap("corporate-basic.json");
    const RecordSet set = SubjectRecords::corporateHeader(doc.value("header").toMap(),
                                                          doc.value("corporate").toMap());
    QCOMPARE(set.columns, SubjectRecords::corporateHeaderColumns());
    QCOMPARE(set.rows.size(), 1);
    const QVariantMap row = set.rows.first();
    QCOMPARE(row.value("identityNumberName").toString(),
             QStringLiteral("SUMBER REJEKI ABADI MAKMUR"));
    QCOMPARE(row.value("reportRequestPurposeCode").toString(), QStringLiteral("02"));
    QCOMPARE(row.value("requestDate").toString(), QStringLiteral("18 April 2024 08:45:12"));
    QCOMPARE(row.value("resultDate").toString(), QStringLiteral("18 April 2024 08:45:33"));
    QCOMPARE(row.value("latestDataDate").toString(), QStringLiteral("17 April 2024"));
    QCOMPARE(row.value("latestDataYearMonth").toString(), QStringLiteral("Maret 2024"));
    QCOMPARE(row.value("dataSetNumberOfTotal").toString(), QStringLiteral("bagian ke 2 dari 3"));
    QCOMPARE(row.value("estCertDate").toString(), QStringLiteral("14 Maret 2005"));
    QCOMPARE(row.value("recordStatusFlag").toString(), QStringLiteral("1"));
}

void TestSubjectRecords::partOfTotal_data()
{
    QTest::addColumn<QVariantMap>("header");
    QTest::addColumn<QVariant>("expected");
    QTest::newRow("whole") << QVariantMap{{"dataSetTotal", "1"}, {"dataSetNumber", "1"}}
                           << QVariant();
    QTest::newRow("whole as number")
        << QVariantMap{{"dataSetTotal", 1.0}, {"dataSetNumber", 1.0}} << QVariant();
    QTest::newRow("absent") << QVariantMap{} << QVariant();
    QTest::newRow("null") << QVariantMap{{"dataSetTotal", QVariant::fromValue(nullptr)}}
                          << QVariant();
    QTest::newRow("second of three") << QVariantMap{{"dataSetTotal", "3"}, {"dataSetNumber", "2"}}
                                     << QVariant("bagian ke 2 dari 3");
    QTest::newRow("numbers") << QVariantMap{{"dataSetTotal", 4.0}, {"dataSetNumber", 4.0}}
                             << QVariant("bagian ke 4 dari 4");
}

void TestSubjectRecords::partOfTotal()
{
    QFETCH(QVariantMap, header);
    QFETCH(QVariant, expected);
    const QVariantMap row = SubjectRecords::individualHeader(header, {}).rows.first();
    QCOMPARE(row.contains("dataSetNumberOfTotal"), expected.isValid());
    if (expected.isValid())
        QCOMPARE(row.value("dataSetNumberOfTotal").toString(), expected.toString());
}

void TestSubjectRecords::keywordWinsOverEarlierValue()
{
    const QVariantMap header{{"userReferenceCode", "FROM-HEADER"}};
    const QVariantMap subject{
        {"requestDate", "20210301093000"},
        {"individualKeyword",
         QVariantMap{{"userReferenceCode", "FROM-KEYWORD"}, {"birthDate", "19800105"}}}};
    const QVariantMap row = SubjectRecords::individualHeader(header, subject).rows.first();
    QCOMPARE(row.value("userReferenceCode").toString(), QStringLiteral("FROM-KEYWORD"));
    QCOMPARE(row.value("requestDate").toString(), QStringLiteral("01 Maret 2021 09:30:00"));
    QCOMPARE(row.value("latestDataDate").toString(), QStringLiteral("28 Februari 2021"));
    QCOMPARE(row.value("birthDate").toString(), QStringLiteral("05 Januari 1980"));
}

void TestSubjectRecords::debtorDates_data()
{
    QTest::addColumn<bool>("corporate");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QVariant>("expected");
    const QVariant absent;
    QTest::newRow("birthDate") << false << "birthDate" << QVariant("19800105")
                               << QVariant("05 Januari 1980");
    QTest::newRow("birthDate absent") << false << "birthDate" << absent << absent;
    QTest::newRow("created 14") << false << "createdDatetime" << QVariant("20160415103012")
                                << QVariant("15 April 2016");
    QTest::newRow("updated odd length")
        << false << "updatedDatetime" << QVariant("2016") << QVariant("");
    QTest::newRow("address untouched")
        << false << "address" << QVariant("20160415") << QVariant("20160415");
    QTest::newRow("estCertDate") << true << "estCertDate" << QVariant("20050314")
                                 << QVariant("14 Maret 2005");
    QTest::newRow("latestAddCertDate")
        << true << "latestAddCertDate" << QVariant("20210908") << QVariant("08 September 2021");
    QTest::newRow("ratingDate") << true << "ratingDate" << QVariant("202306")
                                << QVariant("01 Juni 2023");
    QTest::newRow("corporate createdDatetime")
        << true << "createdDatetime" << QVariant("20090602101500") << QVariant("02 Juni 2009");
    QTest::newRow("corporate birthDate untouched")
        << true << "birthDate" << QVariant("19800105") << QVariant("19800105");
}

void TestSubjectRecords::debtorDates()
{
    QFETCH(bool, corporate);
    QFETCH(QString, key);
    QFETCH(QVariant, value);
    QFETCH(QVariant, expected);
    QVariantMap element{{"fullName", "X"}};
    if (value.isValid())
        element.insert(key, value);
    const QVariantMap subject{
        {corporate ? "corporateDebtors" : "individualDebtors", QVariantList{element}}};
    const RecordSet set = corporate ? SubjectRecords::corporateDebtors(subject)
                                    : SubjectRecords::individualDebtors(subject);
    QCOMPARE(set.rows.size(), 1);
    QCOMPARE(set.rows.first().contains(key), expected.isValid());
    if (expected.isValid())
        QCOMPARE(set.rows.first().value(key).toString(), expected.toString());
}

void TestSubjectRecords::debtorsInDocumentOrder()
{
    const QVariantMap subject = sampleMap("individual-basic.json").value("individual").toMap();
    const RecordSet set = SubjectRecords::individualDebtors(subject);
    QCOMPARE(set.columns, SubjectRecords::individualDebtorColumns());
    QCOMPARE(set.rows.size(), 2);
    QCOMPARE(set.rows[0].value("fullName").toString(),
             QStringLiteral("DEWI ANGGRAINI SAPUTRI, S.E."));
    QCOMPARE(set.rows[0].value("updatedDatetime").toString(), QStringLiteral("05 Maret 2024"));
    QCOMPARE(set.rows[1].value("fullName").toString(), QStringLiteral("DEWI ANGGRAINI S"));
    QCOMPARE(set.rows[1].value("taxId").toString(), QString());
    QCOMPARE(set.rows[1].value("createdDatetime").toString(), QStringLiteral("10 Mei 2023"));
}

void TestSubjectRecords::facilitySummary()
{
    const QVariantMap subject = sampleMap("individual-basic.json").value("individual").toMap();
    const RecordSet set = SubjectRecords::facilitySummary(subject);
    QCOMPARE(set.rows.size(), 1);
    const QVariantMap row = set.rows.first();
    QCOMPARE(row.value("worstCollectibilityYearMonth").toString(), QStringLiteral("Januari 2024"));
    QCOMPARE(row.value("worstCollectibilityColCode").toString(), QStringLiteral("2"));
    // Amounts pass through as the JSON gives them.
    QCOMPARE(row.value("outstandingPrincipalCredit").toString(), QStringLiteral("474427109.5"));
    QCOMPARE(row.value("originalTotalLimit").toString(), QStringLiteral("989500000"));
    QCOMPARE(row.value("numberOfRuralBank").toString(), QStringLiteral("1"));
}

void TestSubjectRecords::absentObjects()
{
    const QVariantMap doc = sampleMap("individual-empty.json");
    const QVariantMap subject = doc.value("individual").toMap();
    QCOMPARE(SubjectRecords::individualDebtors(subject).rows.size(), 0);
    const RecordSet summary = SubjectRecords::facilitySummary(subject);
    QCOMPARE(summary.rows.size(), 1);
    QVERIFY(summary.rows.first().isEmpty());

    const RecordSet header = SubjectRecords::corporateHeader({}, {});
    QCOMPARE(header.rows.size(), 1);
    QCOMPARE(header.rows.first().value("requestDate").toString(), QString());
    QCOMPARE(header.rows.first().value("resultDate").toString(), QString());
    QCOMPARE(SubjectRecords::corporateDebtors({}).rows.size(), 0);
}

void TestSubjectRecords::officerGroups()
{
    const QVariantMap corporate = sampleMap("corporate-basic.json").value("corporate").toMap();
    const QVariantList groups = SubjectRecords::officerGroups(corporate);
    QCOMPARE(groups.size(), 2);
    QCOMPARE(groups[0].toMap().value("member").toString(), QStringLiteral("611"));
    QCOMPARE(groups[1].toMap().value("member").toString(), QStringLiteral("523"));
    QVERIFY(SubjectRecords::officerGroups({}).isEmpty());
}

QTEST_GUILESS_MAIN(TestSubjectRecords)
#include "tst_subjectrecords.moc"
