// populateDesignAndData: the debtor type decides the template, whatever else the
// JSON holds, and text that is no JSON object still gives a (corporate) report.

#include "reportpopulation.h"
#include "tavids.h"

#include <LimeReport>

#include <QtTest>

static void initResources()
{
    Q_INIT_RESOURCE(reports);
}

class TestReportPopulation : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initResources(); }
    void choosesTheTemplateOfTheDebtorType_data();
    void choosesTheTemplateOfTheDebtorType();
};

void TestReportPopulation::choosesTheTemplateOfTheDebtorType_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("debtorType");
    QTest::addColumn<QString>("label");
    const QByteArray person = R"("individual": {"requestDate": "20240318101530",
        "individualKeyword": {"identityNumberName": "ORANG"}})";
    const QByteArray company = R"("corporate": {"requestDate": "20240418084512",
        "corporateKeyWord": {"identityNumberName": "PERUSAHAAN"}})";
    // "Tanggal Lahir" is searched for individuals only, "Tanggal Akte Pendirian" for companies.
    QTest::newRow("individual") << "{" + person + "}"
                                << "I"
                                << "Tanggal Lahir";
    QTest::newRow("corporate") << "{" + company + "}"
                               << "C"
                               << "Tanggal Akte Pendirian";
    QTest::newRow("both, individual wins") << "{" + person + "," + company + "}"
                                           << "I"
                                           << "Tanggal Lahir";
    QTest::newRow("null individual") << R"({"individual": null, )" + company + "}"
                                     << "C"
                                     << "Tanggal Akte Pendirian";
    QTest::newRow("no JSON") << QByteArray("not json") << "C"
                             << "Tanggal Akte Pendirian";
    QTest::newRow("JSON array") << QByteArray("[1, 2]") << "C"
                                << "Tanggal Akte Pendirian";
}

void TestReportPopulation::choosesTheTemplateOfTheDebtorType()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, debtorType);
    QFETCH(QString, label);
    LimeReport::ReportEngine engine;
    TAVIDs dataSources;
    QVERIFY(populateDesignAndData(&engine, json, &dataSources));
    QCOMPARE(dataSources.debtorType(), debtorType);
    QCOMPARE(reportTemplateFor(debtorType),
             debtorType == QLatin1String("I")
                 ? QStringLiteral(":/reports/reportViewer-Individual.lrxml")
                 : QStringLiteral(":/reports/reportViewer-Corporate.lrxml"));
    const LimeReport::ReportPages pages = engine.renderPages();
    QVERIFY(!pages.isEmpty());
    const QStringList texts = pages.first().texts();
    QVERIFY2(texts.contains(label), qPrintable(texts.join(QLatin1Char('|'))));
    // A document without a summary still gets one, of empty values.
    QVERIFY(texts.contains(QStringLiteral("Ringkasan Fasilitas")));
    for (const QString& text : texts)
        QVERIFY2(!text.contains(QLatin1String("not found")), qPrintable(text));
}

QTEST_MAIN(TestReportPopulation)
#include "tst_reportpopulation.moc"
