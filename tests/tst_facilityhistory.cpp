#include "facilityhistory.h"

#include <QtTest>

// A row whose stored calendar slot s holds ColCode "c<s>" and Day "d<s>".
static QVariantMap storedRow(const QString& dataYearMonth)
{
    QVariantMap row{{"orgDataYearMonth", dataYearMonth}, {"dataYearMonth", dataYearMonth}};
    for (int s = 1; s <= 24; ++s) {
        row.insert(QString::asprintf("month%02dColCode", s), QStringLiteral("c%1").arg(s));
        row.insert(QString::asprintf("month%02dDay", s), QStringLiteral("d%1").arg(s));
    }
    return row;
}

class TestFacilityHistory : public QObject
{
    Q_OBJECT

private slots:
    void layout_data();
    void layout();
    void calendarSlots_data();
    void calendarSlots();
    void exportLabelsAndDataMonth();
    void malformedDataMonthLeavesHistoryEmpty_data();
    void malformedDataMonthLeavesHistoryEmpty();
    void missingRequestDate();
    void noStoredHistory();
    void referenceDate();
};

void TestFacilityHistory::layout_data()
{
    QTest::addColumn<QString>("dataMonth");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("colCode");
    QTest::addColumn<QString>("day");

    // Request 15 March 2021.
    QTest::newRow("Feb21: column 24") << "202102" << 24 << "Feb 21"
                                      << "c2"
                                      << "d2";
    QTest::newRow("Feb21: column 23") << "202102" << 23 << "Jan 21"
                                      << "c1"
                                      << "d1";
    QTest::newRow("Feb21: column 22") << "202102" << 22 << "Des 20"
                                      << "c24"
                                      << "d24";
    QTest::newRow("Feb21: column 13") << "202102" << 13 << "Mar 20"
                                      << "c15"
                                      << "d15";
    QTest::newRow("Feb21: column 12") << "202102" << 12 << "Feb 20"
                                      << "c14"
                                      << "d14";
    QTest::newRow("Feb21: column 10") << "202102" << 10 << "Des 19"
                                      << "c12"
                                      << "d12";
    QTest::newRow("Feb21: column 6") << "202102" << 6 << "Agt 19"
                                     << "c8"
                                     << "d8";
    QTest::newRow("Feb21: column 1") << "202102" << 1 << "Mar 19"
                                     << "c3"
                                     << "d3";
    QTest::newRow("Oct20: Feb 21 empty") << "202010" << 24 << "Feb 21"
                                         << ""
                                         << "";
    QTest::newRow("Oct20: Jan 21 empty") << "202010" << 23 << "Jan 21"
                                         << ""
                                         << "";
    QTest::newRow("Oct20: Dec 20 empty") << "202010" << 22 << "Des 20"
                                         << ""
                                         << "";
    QTest::newRow("Oct20: Nov 20 empty") << "202010" << 21 << "Nov 20"
                                         << ""
                                         << "";
    QTest::newRow("Oct20: Oct 20 filled") << "202010" << 20 << "Okt 20"
                                          << "c22"
                                          << "d22";
    QTest::newRow("Oct20: Mar 20 filled") << "202010" << 13 << "Mar 20"
                                          << "c15"
                                          << "d15";
    QTest::newRow("Oct20: Mar 19 filled") << "202010" << 1 << "Mar 19"
                                          << "c3"
                                          << "d3";
    QTest::newRow("data month after request") << "202104" << 24 << "Feb 21"
                                              << "c2"
                                              << "d2";
    QTest::newRow("data month before all") << "201901" << 1 << "Mar 19"
                                           << ""
                                           << "";
}

void TestFacilityHistory::layout()
{
    QFETCH(QString, dataMonth);
    QFETCH(int, column);
    QFETCH(QString, label);
    QFETCH(QString, colCode);
    QFETCH(QString, day);
    QVariantMap row = storedRow(dataMonth);
    FacilityHistory::layOut(row, QDate(2021, 3, 15), false);
    QCOMPARE(row.value(QString::asprintf("monthYear%02d", column)).toString(), label);
    QCOMPARE(row.value(QString::asprintf("month%02dColCode", column)).toString(), colCode);
    QCOMPARE(row.value(QString::asprintf("month%02dDay", column)).toString(), day);
}

void TestFacilityHistory::calendarSlots_data()
{
    QTest::addColumn<QDate>("month");
    QTest::addColumn<int>("slot");
    QTest::newRow("Mar 2021") << QDate(2021, 3, 1) << 3;
    QTest::newRow("Dec 2021") << QDate(2021, 12, 1) << 12;
    QTest::newRow("Jan 2020") << QDate(2020, 1, 1) << 13;
    QTest::newRow("Dec 2020") << QDate(2020, 12, 1) << 24;
}

void TestFacilityHistory::calendarSlots()
{
    QFETCH(QDate, month);
    QFETCH(int, slot);
    QCOMPARE(FacilityHistory::slotOf(month), slot);
}

void TestFacilityHistory::exportLabelsAndDataMonth()
{
    QVariantMap row = storedRow("202102");
    row.remove("orgDataYearMonth");
    FacilityHistory::layOut(row, QDate(2021, 3, 15), true);
    QCOMPARE(row.value("monthYear01").toString(), QStringLiteral("201903"));
    QCOMPARE(row.value("monthYear24").toString(), QStringLiteral("202102"));
    QCOMPARE(row.value("month24ColCode").toString(), QStringLiteral("c2"));
    QCOMPARE(row.value("dataYear").toString(), QStringLiteral("2021"));
    QCOMPARE(row.value("dataMonth").toString(), QStringLiteral("02"));

    // On screen the data month is the long date: no year and month parts.
    QVariantMap screen = storedRow("202102");
    screen.insert("dataYearMonth", "01 Februari 2021");
    FacilityHistory::layOut(screen, QDate(2021, 3, 15), false);
    QVERIFY(!screen.contains("dataYear"));
    QCOMPARE(screen.value("month24ColCode").toString(), QStringLiteral("c2"));
}

void TestFacilityHistory::malformedDataMonthLeavesHistoryEmpty_data()
{
    QTest::addColumn<QVariant>("dataMonth");
    QTest::newRow("absent") << QVariant();
    QTest::newRow("empty") << QVariant("");
    QTest::newRow("8 digits") << QVariant("20210201");
    QTest::newRow("month 13") << QVariant("202113");
}

void TestFacilityHistory::malformedDataMonthLeavesHistoryEmpty()
{
    QFETCH(QVariant, dataMonth);
    QVariantMap row = storedRow(QString());
    row.insert("orgDataYearMonth", dataMonth);
    FacilityHistory::layOut(row, QDate(2021, 3, 15), false);
    for (int i = 1; i <= 24; ++i) {
        QCOMPARE(row.value(QString::asprintf("month%02dColCode", i)).toString(), QString());
        QCOMPARE(row.value(QString::asprintf("month%02dDay", i)).toString(), QString());
    }
    QCOMPARE(row.value("monthYear01").toString(), QStringLiteral("Mar 19"));
}

void TestFacilityHistory::missingRequestDate()
{
    QVariantMap row = storedRow("202102");
    FacilityHistory::layOut(row, QDate(), false);
    QCOMPARE(row.value("monthYear24").toString(), QString());
    QCOMPARE(row.value("month24ColCode").toString(), QString());
}

void TestFacilityHistory::noStoredHistory()
{
    QVariantMap row{{"dataYearMonth", "202102"}};
    FacilityHistory::layOut(row, QDate(2021, 3, 15), true);
    for (int i = 1; i <= 24; ++i) {
        QVERIFY(!row.value(QString::asprintf("monthYear%02d", i)).toString().isEmpty());
        QVERIFY(row.contains(QString::asprintf("month%02dColCode", i)));
        QCOMPARE(row.value(QString::asprintf("month%02dDay", i)).toString(), QString());
    }
}

void TestFacilityHistory::referenceDate()
{
    QCOMPARE(FacilityHistory::referenceDate("20210315143000"), QDate(2021, 3, 15));
    QCOMPARE(FacilityHistory::referenceDate("20210315"), QDate(2021, 3, 15));
    QVERIFY(!FacilityHistory::referenceDate(QVariant()).isValid());
}

QTEST_GUILESS_MAIN(TestFacilityHistory)
#include "tst_facilityhistory.moc"
