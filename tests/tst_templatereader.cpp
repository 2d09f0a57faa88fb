#include "enginefixture.h"
#include "templatexml.h"

#include <LimeReport>

#include <QtTest>

using LimeReport::RenderedItem;
using LimeReport::ReportEngine;

class tst_TemplateReader : public QObject
{
    Q_OBJECT
private slots:
    void refused_data();
    void refused();
    void declaredUtf8();
    void fontsAndImages_data();
    void fontsAndImages();
    void sizeNoPageHolds_data();
    void sizeNoPageHolds();
};

void tst_TemplateReader::refused_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QString>("error");
    QTest::newRow("empty") << QByteArray("  \n") << "the template is empty";
    QTest::newRow("not XML") << QByteArray("%PDF-1.4 binary") << "Wrong file format";
    QTest::newRow("cut short") << QByteArray("<Report><object Type=\"Object\"><pages")
                               << "Wrong file format";
    QTest::newRow("no pages") << QByteArray(
                                     "<Report><object Type=\"Object\" ClassName=\"X\"/></Report>")
                              << "no pages";
}

// Input that is not a template is refused with a reason, through every way in;
// a failed load leaves nothing to render.
void tst_TemplateReader::refused()
{
    QFETCH(QByteArray, xml);
    QFETCH(QString, error);
    ReportEngine engine;
    QVERIFY(engine.loadFromFile(engineFixture("manual.lrxml")));
    QVERIFY(!engine.loadFromString(QString::fromUtf8(xml)));
    QVERIFY2(engine.lastError().contains(error), qPrintable(engine.lastError()));
    QVERIFY(engine.renderPages().isEmpty());
    QVERIFY(!engine.loadFromByteArray(&xml));
    QVERIFY2(engine.lastError().contains(error), qPrintable(engine.lastError()));
}

// Files written with encoding="UTF8" keep their non-ASCII text.
void tst_TemplateReader::declaredUtf8()
{
    const QString xml = TemplateXml::report(
        {TemplateXml::band("ReportHeader", "Title", 100,
                           {TemplateXml::text("Name", "Ṣalihah Nguyễn Ñ", QRect(0, 0, 900, 60))})});
    QByteArray bytes = xml.toUtf8();
    QVERIFY(bytes.contains("encoding=\"UTF8\""));
    ReportEngine engine;
    QVERIFY2(engine.loadFromByteArray(&bytes), qPrintable(engine.lastError()));
    QCOMPARE(engine.renderPages().value(0).texts(), QStringList{"Ṣalihah Nguyễn Ñ"});
}

void tst_TemplateReader::fontsAndImages_data()
{
    QTest::addColumn<QString>("font");
    QTest::addColumn<int>("pixelSize");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::newRow("Qt 5 weight") << "family=\"Arial\" pointSize=\"10\" weight=\"75\" italic=\"0\""
                                 << 35 << true << false;
    QTest::newRow("Qt 6 weight") << "family=\"Arial\" pointSize=\"9\" weight=\"700\" italic=\"1\""
                                 << 31 << true << true;
    QTest::newRow("bold attribute wins")
        << "family=\"Arial\" pointSize=\"8\" weight=\"50\" bold=\"1\"" << 28 << true << false;
    QTest::newRow("normal") << "family=\"DejaVu Sans\" pointSize=\"12\" weight=\"50\"" << 42
                            << false << false;
}

// Point sizes become 0.1 mm pixel sizes (pt x 3.5, truncated); weights on
// either scale; an embedded hex PNG is drawn at the item's place.
void tst_TemplateReader::fontsAndImages()
{
    QFETCH(QString, font);
    QFETCH(int, pixelSize);
    QFETCH(bool, bold);
    QFETCH(bool, italic);
    QFile file(engineFixture("manual.lrxml"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QString xml = QString::fromUtf8(file.readAll());
    xml.replace("family=\"Arial\" pointSize=\"16\" weight=\"75\" italic=\"0\" underline=\"0\"",
                font);
    ReportEngine engine;
    QVERIFY(engine.loadFromString(xml));
    const LimeReport::ReportPages pages = engine.renderPages();
    const RenderedItem* heading = pages.value(0).findText("Petunjuk Penggunaan");
    QVERIFY(heading);
    QCOMPARE(heading->font.pixelSize(), pixelSize);
    QCOMPARE(heading->font.bold(), bold);
    QCOMPARE(heading->font.italic(), italic);
    const auto image =
        std::find_if(pages.first().items().begin(), pages.first().items().end(),
                     [](const RenderedItem& item) { return item.kind == RenderedItem::Image; });
    QVERIFY(image != pages.first().items().end());
    QCOMPARE(image->image.size(), QSize(8, 4));
    QCOMPARE(image->rect, QRectF(200, 150 + 180, 160, 80));
}

void tst_TemplateReader::sizeNoPageHolds_data()
{
    QTest::addColumn<QString>("pointSize");
    QTest::newRow("beyond an int once in pixels") << "1555555555555550";
    QTest::newRow("infinite") << "inf";
}

// A size only a damaged file holds is drawn as tall as the largest page, and the text
// is still all there, one piece after the other.
void tst_TemplateReader::sizeNoPageHolds()
{
    QFETCH(QString, pointSize);
    const QString font =
        QStringLiteral("<font Type=\"QFont\" family=\"Arial\" pointSize=\"%1\" weight=\"50\"/>")
            .arg(pointSize);
    const QString xml = TemplateXml::report({TemplateXml::band(
        "ReportHeader", "Title", 100,
        {TemplateXml::text("Huge", "ab", QRect(0, 0, 300, 50),
                           {font, TemplateXml::boolProperty("autoHeight", true)})})});
    ReportEngine engine;
    QVERIFY(engine.loadFromString(xml));
    const LimeReport::ReportPages pages = engine.renderPages();
    QString shown;
    for (const LimeReport::RenderedPage& page : pages) {
        for (const RenderedItem& item : page.items()) {
            if (item.kind != RenderedItem::Text)
                continue;
            QCOMPARE(item.font.pixelSize(), 11890);
            shown += item.text;
        }
    }
    QCOMPARE(shown, QStringLiteral("ab"));
}

QTEST_MAIN(tst_TemplateReader)
#include "tst_templatereader.moc"
