#include "documentdate.h"
#include "recordset.h"

#include <QtTest>

class TestDocumentDate : public QObject
{
    Q_OBJECT

private slots:
    void monthNames_data();
    void monthNames();
    void formatters_data();
    void formatters();
    void parseDocumentDate_data();
    void parseDocumentDate();
    void longDateShifted_data();
    void longDateShifted();
    void shortForms();
    void keyRewriting();
    void addElementListRenames();
    void addElementListWithoutRenaming();
};

void TestDocumentDate::monthNames_data()
{
    QTest::addColumn<int>("month");
    QTest::addColumn<QString>("shortName");
    QTest::addColumn<QString>("longName");
    const char* shorts[] = {"Jan", "Feb", "Mar", "Apr", "Mei", "Jun",
                            "Jul", "Agt", "Sep", "Okt", "Nov", "Des"};
    const char* longs[] = {"Januari", "Februari", "Maret",     "April",   "Mei",      "Juni",
                           "Juli",    "Agustus",  "September", "Oktober", "November", "Desember"};
    for (int m = 1; m <= 12; ++m)
        QTest::addRow("%d", m) << m << QString::fromLatin1(shorts[m - 1])
                               << QString::fromLatin1(longs[m - 1]);
    QTest::newRow("0") << 0 << QString() << QString();
    QTest::newRow("13") << 13 << QString() << QString();
}

void TestDocumentDate::monthNames()
{
    QFETCH(int, month);
    QFETCH(QString, shortName);
    QFETCH(QString, longName);
    QCOMPARE(shortMonthName(month), shortName);
    QCOMPARE(longMonthName(month), longName);
}

void TestDocumentDate::formatters_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("longDate");
    QTest::addColumn<QString>("longMonthYear");
    QTest::addColumn<QString>("longDateTime");

    QTest::newRow("8 digits") << QVariant("20210315") << "15 Maret 2021"
                              << "Maret 2021"
                              << "15 Maret 2021 00:00:00";
    QTest::newRow("6 digits") << QVariant("202103") << "01 Maret 2021"
                              << "Maret 2021"
                              << "01 Maret 2021 00:00:00";
    QTest::newRow("14 digits") << QVariant("20210315143000") << "15 Maret 2021"
                               << "Maret 2021"
                               << "15 Maret 2021 14:30:00";
    QTest::newRow("single-digit day") << QVariant("20200105") << "05 Januari 2020"
                                      << "Januari 2020"
                                      << "05 Januari 2020 00:00:00";
    QTest::newRow("number") << QVariant(20201231.0) << "31 Desember 2020"
                            << "Desember 2020"
                            << "31 Desember 2020 00:00:00";
    QTest::newRow("august") << QVariant("20190801") << "01 Agustus 2019"
                            << "Agustus 2019"
                            << "01 Agustus 2019 00:00:00";
    QTest::newRow("empty") << QVariant("") << ""
                           << ""
                           << "";
    QTest::newRow("absent") << QVariant() << ""
                            << ""
                            << "";
    QTest::newRow("null") << QVariant::fromValue(nullptr) << ""
                          << ""
                          << "";
    QTest::newRow("7 digits") << QVariant("2021031") << ""
                              << ""
                              << "";
    QTest::newRow("already long") << QVariant("15 Maret 2021") << ""
                                  << ""
                                  << "";
    QTest::newRow("month 13") << QVariant("20211301") << ""
                              << ""
                              << "";
    QTest::newRow("30 February") << QVariant("20210230") << ""
                                 << ""
                                 << "";
    QTest::newRow("blank among the digits") << QVariant("2021 315") << ""
                                            << ""
                                            << "";
    QTest::newRow("signed month") << QVariant("2021-315") << ""
                                  << ""
                                  << "";
    QTest::newRow("letters for digits") << QVariant("2O21O3") << ""
                                        << ""
                                        << "";
    QTest::newRow("year zero") << QVariant("00000101") << ""
                               << ""
                               << "";
    QTest::newRow("bad clock") << QVariant("20210315250000") << "15 Maret 2021"
                               << "Maret 2021"
                               << "";
}

void TestDocumentDate::formatters()
{
    QFETCH(QVariant, value);
    QFETCH(QString, longDate);
    QFETCH(QString, longMonthYear);
    QFETCH(QString, longDateTime);
    QCOMPARE(longDateOf(value), longDate);
    QCOMPARE(longMonthYearOf(value), longMonthYear);
    QCOMPARE(longDateTimeOf(value), longDateTime);
}

void TestDocumentDate::parseDocumentDate_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QDate>("expected");
    QTest::newRow("6") << QVariant("202103") << QDate(2021, 3, 1);
    QTest::newRow("8") << QVariant("20210315") << QDate(2021, 3, 15);
    QTest::newRow("14") << QVariant("20210315143000") << QDate(2021, 3, 15);
    QTest::newRow("empty is today") << QVariant("") << QDate::currentDate();
    QTest::newRow("10 is today") << QVariant("2021-03-15") << QDate::currentDate();
    QTest::newRow("right length, no date") << QVariant("20219999") << QDate();
}

void TestDocumentDate::parseDocumentDate()
{
    QFETCH(QVariant, value);
    QFETCH(QDate, expected);
    QCOMPARE(::parseDocumentDate(value), expected);
}

void TestDocumentDate::longDateShifted_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("days");
    QTest::addColumn<QString>("expected");
    QTest::newRow("month start") << QVariant("20210301") << -1 << "28 Februari 2021";
    QTest::newRow("leap year") << QVariant("20200301093000") << -1 << "29 Februari 2020";
    QTest::newRow("year start") << QVariant("202101") << -1 << "31 Desember 2020";
    QTest::newRow("empty is yesterday")
        << QVariant("") << -1 << ::longDate(QDate::currentDate().addDays(-1));
}

void TestDocumentDate::longDateShifted()
{
    QFETCH(QVariant, value);
    QFETCH(int, days);
    QFETCH(QString, expected);
    QCOMPARE(::longDateShifted(value, days), expected);
}

void TestDocumentDate::shortForms()
{
    QCOMPARE(shortMonthYear(QDate(2021, 3, 15)), QStringLiteral("Mar 21"));
    QCOMPARE(shortMonthYear(QDate(2019, 8, 1)), QStringLiteral("Agt 19"));
    QCOMPARE(yearMonthKey(QDate(2021, 3, 15)), QStringLiteral("202103"));
    QCOMPARE(longDateTime(QDateTime(QDate(2021, 3, 5), QTime(14, 7))),
             QStringLiteral("05 Maret 2021 14:07:00"));
    QCOMPARE(shortMonthYear(QDate()), QString());
    QCOMPARE(yearMonthKey(QDate()), QString());
}

void TestDocumentDate::keyRewriting()
{
    QVariantMap map{{"a", "19800105120000"}, {"b", "20210315"}, {"c", "202103"}};
    QVariantMap formatted = map;
    formatDateKeys(formatted, {"a", "c", "missing"});
    QCOMPARE(formatted.value("a").toString(), QStringLiteral("05 Januari 1980"));
    QCOMPARE(formatted.value("b").toString(), QStringLiteral("20210315"));
    QCOMPARE(formatted.value("c").toString(), QStringLiteral("01 Maret 2021"));
    QVERIFY(!formatted.contains("missing"));

    QVariantList rows{map, QVariantMap{{"b", "20210315143000"}}};
    truncateDateKeysInRows(rows, {"a", "b"});
    QCOMPARE(rows[0].toMap().value("a").toString(), QStringLiteral("19800105"));
    QCOMPARE(rows[0].toMap().value("c").toString(), QStringLiteral("202103"));
    QCOMPARE(rows[1].toMap().value("b").toString(), QStringLiteral("20210315"));
    QVERIFY(!rows[1].toMap().contains("a"));
}

void TestDocumentDate::addElementListRenames()
{
    QVariantMap target;
    const QMap<QString, QString> renaming{{"a", "x"}, {"b", "y"}};
    addElementList(target, "list", renaming, {QVariantMap{{"a", 1}, {"c", 2}}});
    const QVariantList list = target.value("list").toList();
    QCOMPARE(list.size(), 1);
    const QVariantMap row = list.first().toMap();
    QCOMPARE(row.keys(), QStringList({"x", "y"}));
    QCOMPARE(row.value("x").toInt(), 1);
    QVERIFY(!row.value("y").isValid());
}

void TestDocumentDate::addElementListWithoutRenaming()
{
    QVariantMap target;
    const QVariantList rows{QVariantMap{{"a", 1}, {"c", 2}}};
    addElementList(target, "list", {}, rows);
    QCOMPARE(target.value("list").toList(), rows);
}

QTEST_GUILESS_MAIN(TestDocumentDate)
#include "tst_documentdate.moc"
