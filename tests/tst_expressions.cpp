#include "tablesource.h"
#include "templatexml.h"

#include <LimeReport>

#include <QStandardItemModel>
#include <QtTest>

using LimeReport::RenderedItem;
using LimeReport::ReportEngine;
using LimeReport::ReportPages;

// A one-page template whose data band (on "ds") holds one text item named Item.
static QString itemTemplate(const QString& content)
{
    return TemplateXml::report({TemplateXml::band(
        "Data", "Rows", 100, {TemplateXml::text("Item", content, QRect(0, 0, 1800, 60))},
        {TemplateXml::property("datasource", "QString", "ds")})});
}

static QString renderItem(const QString& content, QStringList* log = nullptr,
                          bool suppressErrors = false)
{
    ReportEngine engine;
    QString xml = itemTemplate(content);
    if (suppressErrors)
        xml.replace("</pages>", "</pages><suppressFieldAndVarError Type=\"bool\" Value=\"1\"/>");
    if (!engine.loadFromString(xml))
        return QStringLiteral("load failed: ") + engine.lastError();
    engine.dataManager()->setReportVariable("user", "Budi");
    TableSource source({"name", "amount", "quote", "empty"},
                       {{"Alpha", "1234567.891", "a\"b\\c\nd", ""}});
    source.connectTo(engine.dataManager()->createCallbackDatasource("ds"));
    const ReportPages pages = engine.renderPages();
    if (log)
        *log = source.log;
    QStringList texts;
    const LimeReport::RenderedPage page = pages.value(0);
    for (const RenderedItem& item : page.items()) {
        if (item.kind == RenderedItem::Text && item.name == QLatin1String("Item"))
            texts << item.text;
    }
    return texts.join(QLatin1Char('\n'));
}

// The item's text on each row of a model source "m" with a number column "amount"
// and a text column "name", whose values keep their types.
static QStringList renderRows(const QString& content)
{
    ReportEngine engine;
    QString xml = itemTemplate(content);
    xml.replace("<datasource Type=\"QString\">ds</datasource>",
                "<datasource Type=\"QString\">m</datasource>");
    if (!engine.loadFromString(xml))
        return {QStringLiteral("load failed: ") + engine.lastError()};
    auto* model = new QStandardItemModel(0, 2);
    model->setHorizontalHeaderLabels({"amount", "name"});
    const QList<QVariantList> rows = {{1234.5, QStringLiteral("Alpha")},
                                      {-5, QStringLiteral("b\"e\\ta")},
                                      {QString(), QVariant()},
                                      {7, QStringLiteral("x")}};
    for (const QVariantList& row : rows) {
        QList<QStandardItem*> items;
        for (const QVariant& value : row) {
            auto* item = new QStandardItem;
            item->setData(value, Qt::DisplayRole);
            items << item;
        }
        model->appendRow(items);
    }
    engine.dataManager()->addModel("m", model, true);
    QStringList texts;
    for (const LimeReport::RenderedPage& page : engine.renderPages()) {
        for (const RenderedItem& item : page.items()) {
            if (item.kind == RenderedItem::Text && item.name == QLatin1String("Item"))
                texts << item.text;
        }
    }
    return texts;
}

class tst_Expressions : public QObject
{
    Q_OBJECT
private slots:
    void expansion_data();
    void expansion();
    void numberFormat_data();
    void numberFormat();
    void dates_data();
    void dates();
    void scriptOnEveryRow_data();
    void scriptOnEveryRow();
    void fieldAskedAsSpelled();
    void suppressedErrors();
};

void tst_Expressions::expansion_data()
{
    QTest::addColumn<QString>("content");
    QTest::addColumn<QString>("expected");
    QTest::newRow("variable") << "Nama: $V{user}"
                              << "Nama: Budi";
    QTest::newRow("unknown variable is empty") << "[$V{nobody}]"
                                               << "[]";
    QTest::newRow("field") << "$D{ds.name}"
                           << "Alpha";
    QTest::newRow("source name without case") << "$D{DS.name}"
                                              << "Alpha";
    QTest::newRow("spaces inside the token") << "$ D { ds.name}"
                                             << "Alpha";
    QTest::newRow("missing field") << "$D{ds.nofield}"
                                   << "Field ds.nofield not found in Item!";
    QTest::newRow("missing source") << "$D{nosource.name}"
                                    << "Field nosource.name not found in Item!";
    QTest::newRow("script") << "$S{1 + 2}"
                            << "3";
    QTest::newRow("script keeps JS number text") << "$S{0.1 + 0.2}"
                                                 << "0.30000000000000004";
    QTest::newRow("last statement is the value") << "$S{var x = 5; x * 2}"
                                                 << "10";
    QTest::newRow("nested braces") << "$S{ if (true) { 'ya' } else { 'tidak' } }"
                                   << "ya";
    QTest::newRow("script error replaces the script")
        << "a $S{1 +} b"
        << "a SyntaxError: Expected token `numeric literal' b";
    QTest::newRow("field in a script is a string literal") << "$S{$D{ds.name}.toUpperCase()}"
                                                           << "ALPHA";
    QTest::newRow("literal escapes quotes, backslashes, line ends") << "$S{$D{ds.quote}.length}"
                                                                    << "7";
    QTest::newRow("empty field in a script") << "$S{$D{ds.empty} === '' ? 'kosong' : 'isi'}"
                                             << "kosong";
    QTest::newRow("variable in a script is plain text") << "$S{\"$V{user}\".length}"
                                                        << "4";
    QTest::newRow("script beside text and a field")
        << "Rp $S{numberFormat($D{ds.amount}, 'f', 2, 'id')} ($D{ds.name})"
        << "Rp 1.234.567,89 (Alpha)";
    QTest::newRow("lower-case script marker stays") << "$s{1 + 1}"
                                                    << "$s{1 + 1}";
    QTest::newRow("row counter") << "#$S{line('Rows')} $V{line_rows}"
                                 << "#1 1";
    QTest::newRow("page counters") << "Halaman $V{#PAGE} dari $V{#PAGE_COUNT}"
                                   << "Halaman 1 dari 1";
    QTest::newRow("page counter with a field") << "$V{#PAGE}/$V{#PAGE_COUNT} $D{ds.name}"
                                               << "1/1 Alpha";
    QTest::newRow("page count in a script") << "$S{$V{#PAGE_COUNT} * 10 + $D{ds.name}.length}"
                                            << "15";
    QTest::newRow("static text with surrounding blanks") << "  Judul  "
                                                         << "Judul";
}

void tst_Expressions::expansion()
{
    QFETCH(QString, content);
    QFETCH(QString, expected);
    QCOMPARE(renderItem(content), expected);
}

// A script is compiled once and run for every row: each row must still see its own
// values, with the types their literals would have had.
void tst_Expressions::scriptOnEveryRow_data()
{
    QTest::addColumn<QString>("content");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("amount as the templates format it")
        << "$S{ var v = $D{m.amount}; v != \"\" ? \"Rp \" + numberFormat(v, \"f\", 2, \"id\") : "
           "\"-\" }"
        << QStringList{"Rp 1.234,50", "Rp -5,00", "-", "Rp 7,00"};
    QTest::newRow("number stays a number")
        << "$S{$D{m.amount} + 1}" << QStringList{"1235.5", "-4", "1", "8"};
    QTest::newRow("text stays text, quotes and backslashes kept")
        << "$S{$D{m.name} + '/' + $D{m.name}.length}"
        << QStringList{"Alpha/5", "b\"e\\ta/6", "/0", "x/1"};
    // The empty name leaves the third row without text.
    QTest::newRow("a trailing semicolon keeps the value")
        << "$S{ var t = $D{m.name}; t; }" << QStringList{"Alpha", "b\"e\\ta", "x"};
    QTest::newRow("globals live on from row to row")
        << "$S{ seen = (typeof seen == 'undefined' ? 0 : seen) + 1; seen }"
        << QStringList{"1", "2", "3", "4"};
    QTest::newRow("a negative value after a minus is written out as before")
        << "$S{ 10 - $D{m.amount} }" << QStringList{"-1224.5", "15", "10", "3"};
    QTest::newRow("a regular expression, as the templates show percentages")
        << "$S{ var v = String($D{m.amount}); v != \"\" ? (/^-?[0-9]+([.][0-9]+)?$/.test(v) ? "
           "v.replace(\".\", \",\") : v) + \" %\" : \"\" }"
        << QStringList{"1234,5 %", "-5 %", "7 %"};
    QTest::newRow("a semicolon and brackets inside a regular expression")
        << "$S{ var n = $D{m.name}; /[;)(]|a$/.test(n) ? 'ya' : 'tidak' }"
        << QStringList{"ya", "ya", "tidak", "tidak"};
    QTest::newRow("a slash after a value divides")
        << "$S{ $D{m.amount} / 2 / 5 }" << QStringList{"123.45", "-0.5", "0", "0.7"};
    QTest::newRow("statements that are not compiled still run")
        << "$S{ if ($D{m.name} == 'x') { 'akhir' } else { 'baris' } }"
        << QStringList{"baris", "baris", "baris", "akhir"};
}

void tst_Expressions::scriptOnEveryRow()
{
    QFETCH(QString, content);
    QFETCH(QStringList, expected);
    QCOMPARE(renderRows(content), expected);
}

void tst_Expressions::numberFormat_data()
{
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<QString>("expected");
    QTest::newRow("id groups and decimals") << "'1234567.891', 'f', 2, 'id'"
                                            << "1.234.567,89";
    QTest::newRow("number value") << "1234567.891, 'f', 2, 'id'"
                                  << "1.234.567,89";
    QTest::newRow("empty string") << "'', 'f', 2, 'id'"
                                  << "0,00";
    QTest::newRow("null") << "null, 'f', 2, 'id'"
                          << "0,00";
    QTest::newRow("undefined") << "undefined, 'f', 2, 'id'"
                               << "0,00";
    QTest::newRow("not a number") << "'abc', 'f', 2, 'id'"
                                  << "0,00";
    QTest::newRow("grouped input is not a number") << "'1,234.5', 'f', 2, 'id'"
                                                   << "0,00";
    QTest::newRow("blanks around") << "' 12 ', 'f', 2, 'id'"
                                   << "12,00";
    QTest::newRow("exponent") << "'1e3', 'f', 2, 'id'"
                              << "1.000,00";
    QTest::newRow("negative, no decimals") << "-1234.5, 'f', 0, 'id'"
                                           << "-1.235";
    QTest::newRow("rounds up") << "0.005, 'f', 2, 'id'"
                               << "0,01";
    QTest::newRow("negative precision") << "12.345, 'f', -1, 'id'"
                                        << "12,345000";
    QTest::newRow("en_US") << "'1234567.891', 'f', 2, 'en_US'"
                           << "1,234,567.89";
    QTest::newRow("de") << "'1234567.891', 'f', 2, 'de'"
                        << "1.234.567,89";
    QTest::newRow("unknown locale") << "1234.5, 'f', 2, 'xx'"
                                    << "1234.50";
    QTest::newRow("no locale, no grouping") << "'1234567.891', 'f', 2, ''"
                                            << "1234567.89";
    QTest::newRow("defaults") << "5"
                              << "5.00";
    QTest::newRow("exponent format") << "1234.5, 'e', 2, ''"
                                     << "1.23e+03";
}

void tst_Expressions::numberFormat()
{
    QFETCH(QString, arguments);
    QFETCH(QString, expected);
    QCOMPARE(renderItem(QStringLiteral("$S{numberFormat(%1)}").arg(arguments)), expected);
}

void tst_Expressions::dates_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("expected");
    QTest::newRow("Indonesian month") << "dateFormat('2024-03-05', 'd MMMM yyyy', 'id')"
                                      << "5 Maret 2024";
    QTest::newRow("default format") << "dateFormat('2024-03-05T10:11:12')"
                                    << "05.03.2024";
    QTest::newRow("not ISO") << "'[' + dateFormat('05/03/2024') + ']'"
                             << "[]";
    QTest::newRow("digits only") << "'[' + dateFormat('20240305') + ']'"
                                 << "[]";
    QTest::newRow("date and time") << "dateTimeFormat('2024-03-05T10:11:12')"
                                   << "05.03.2024 10:11";
    QTest::newRow("time") << "timeFormat('10:11:12')"
                          << "10:11";
}

void tst_Expressions::dates()
{
    QFETCH(QString, script);
    QFETCH(QString, expected);
    QCOMPARE(renderItem(QStringLiteral("$S{%1}").arg(script)), expected);
}

// The column is matched without regard to case but asked for as the template spells it.
void tst_Expressions::fieldAskedAsSpelled()
{
    QStringList log;
    QCOMPARE(renderItem("$D{ds.NAME}", &log), QString(""));
    QVERIFY(log.contains("Data 0 NAME"));
}

// With suppressFieldAndVarError a missing field prints nothing and a missing
// variable names itself.
void tst_Expressions::suppressedErrors()
{
    QCOMPARE(renderItem("[$D{ds.nofield}] $V{nobody}", nullptr, true),
             QString("[] Variable nobody not found"));
}

QTEST_MAIN(tst_Expressions)
#include "tst_expressions.moc"
