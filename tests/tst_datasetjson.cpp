#include "datasetjson.h"
#include "reportsample.h"
#include "stringpool.h"

#include <QtTest>

#include <cstring>

namespace {

// Equal values of equal types all the way down: QVariant's own comparison converts,
// and would take the number 5 for the text "5".
bool sameTree(const QVariant& a, const QVariant& b, QString* where)
{
    if (a.userType() != b.userType()) {
        *where = QStringLiteral("%1: %2 against %3").arg(*where, a.typeName(), b.typeName());
        return false;
    }
    if (a.userType() == QMetaType::QVariantMap) {
        const QVariantMap left = a.toMap();
        const QVariantMap right = b.toMap();
        if (left.keys() != right.keys()) {
            *where += QStringLiteral(": other keys");
            return false;
        }
        for (auto it = left.cbegin(); it != left.cend(); ++it) {
            QString inner = *where + QLatin1Char('/') + it.key();
            if (!sameTree(it.value(), right.value(it.key()), &inner)) {
                *where = inner;
                return false;
            }
        }
        return true;
    }
    if (a.userType() == QMetaType::QVariantList) {
        const QVariantList left = a.toList();
        const QVariantList right = b.toList();
        if (left.size() != right.size()) {
            *where += QStringLiteral(": other length");
            return false;
        }
        for (int i = 0; i < left.size(); ++i) {
            QString inner = *where + QStringLiteral("[%1]").arg(i);
            if (!sameTree(left.at(i), right.at(i), &inner)) {
                *where = inner;
                return false;
            }
        }
        return true;
    }
    if (a.userType() == QMetaType::Double) {
        // Bit for bit, so that -0 and 0 stay apart.
        const double x = a.toDouble();
        const double y = b.toDouble();
        if (std::memcmp(&x, &y, sizeof x) == 0)
            return true;
    } else if (a.userType() == QMetaType::Nullptr || a == b) {
        return true;
    }
    *where += QStringLiteral(": %1 against %2").arg(a.toString(), b.toString());
    return false;
}

QVariantMap qtMap(const QByteArray& json)
{
    return QJsonDocument::fromJson(json).object().toVariantMap();
}

// The data pointer of the text a map holds under `key`, and of the key itself.
const QChar* valueData(const QVariantMap& map, const QString& key)
{
    const auto it = map.constFind(key);
    return it == map.cend() ? nullptr
                            : static_cast<const QString*>(it.value().constData())->constData();
}

const QChar* keyData(const QVariantMap& map, const QString& key)
{
    const auto it = map.constFind(key);
    return it == map.cend() ? nullptr : it.key().constData();
}

} // namespace

class TestDataSetJson : public QObject
{
    Q_OBJECT
private slots:
    void sameAsQtConversion_data();
    void sameAsQtConversion();
    void samplesAsQtConversion_data();
    void samplesAsQtConversion();
    void keysAndRecurringTextsAreShared();
    void poolSharesEqualTexts();
    void poolSharesTextValuesOnly();
};

void TestDataSetJson::sameAsQtConversion_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::newRow("integer") << QByteArray(R"({"a": 5})");
    QTest::newRow("whole number written as fraction") << QByteArray(R"({"a": 5.0, "b": 1e2})");
    QTest::newRow("fractions") << QByteArray(R"({"a": 0.1, "b": -2.5e-3, "c": .5, "d": 1.})");
    QTest::newRow("strict fractions")
        << QByteArray(R"({"a": 0.1, "b": -2.5e-3, "c": 0.30000000000000004, "d": 4.9e-324})");
    QTest::newRow("whole numbers of every form")
        << QByteArray(R"({"a": 1.5e1, "b": 1e18, "c": 1e19, "d": -9223372036854775808.0,
                         "e": 9223372036854775807.0, "f": 123456789012345678, "g": -0})");
    QTest::newRow("beyond 64 bits")
        << QByteArray(R"({"a": 99999999999999999999, "b": 9223372036854775808})");
    QTest::newRow("64-bit bounds")
        << QByteArray(R"({"a": 9223372036854775807, "b": -9223372036854775808})");
    QTest::newRow("negative zero") << QByteArray(R"({"a": -0, "b": -0.0})");
    QTest::newRow("null, true, false") << QByteArray(R"({"a": null, "b": true, "c": false})");
    QTest::newRow("empty parts") << QByteArray(R"({"a": {}, "b": [], "c": "", "": 1})");
    QTest::newRow("nested lists") << QByteArray(
        R"({"a": [[1, "x", null], {"b": [{}, []]}, 2.5, "y"]})");
    QTest::newRow("escapes") << QByteArray(R"({"a": "\"\\\/\b\f\n\r\t\u00e9\a", "\u00e9": 1})");
    QTest::newRow("surrogates") << QByteArray(
        R"({"a": "\ud83d\ude00", "b": "\ud800", "c": "\udc00x"})");
    QTest::newRow("utf-8") << QByteArray("{\"a\": \"caf\xc3\xa9 \xe2\x82\xac\", \"\xc3\xa9\": 2}");
    QTest::newRow("nul inside a text") << QByteArray(R"({"a": "x\u0000y"})");
    QTest::newRow("duplicate keys") << QByteArray(R"({"a": 1, "a": [2], "b": {"c": 1, "c": 3}})");
    QTest::newRow("byte-order mark") << QByteArray("\xef\xbb\xbf{\"a\": 1}");
    QTest::newRow("long text") << (R"({"a": ")" + QByteArray(5000, 'x') + R"(", "b": ")" +
                                   QByteArray(5000, 'x') + R"("})");
    QTest::newRow("top-level list") << QByteArray(R"([{"a": 1}])");
    QTest::newRow("top-level text") << QByteArray(R"("a")");
    QTest::newRow("not JSON") << QByteArray("PK\x03\x04 not json");
    QTest::newRow("cut short") << QByteArray(R"({"a": [1, 2)");
    QTest::newRow("trailing comma") << QByteArray(R"({"a": 1,})");
    QTest::newRow("invalid utf-8") << QByteArray("{\"a\": \"\xff\"}");
    QTest::newRow("overlong utf-8") << QByteArray("{\"a\": \"\xc0\x80\", \"b\": \"\xe0\x80\x80\"}");
    QTest::newRow("beyond unicode") << QByteArray("{\"a\": \"\xf4\x90\x80\x80\"}");
    QTest::newRow("raw surrogate") << QByteArray("{\"a\": \"\xed\xa0\x80\"}");
    QTest::newRow("cut utf-8") << QByteArray("{\"a\": \"\xe2\x82\"}");
    QTest::newRow("raw control character") << QByteArray("{\"a\": \"x\x01y\tz\"}");
    QTest::newRow("unknown escape") << QByteArray(R"({"a": "\q"})");
    QTest::newRow("high surrogate before text") << QByteArray(R"({"a": "\ud800x", "b": 1})");
    QTest::newRow("NUL byte after the object") << QByteArray("{\"a\": 1}\0{\"b\": 2}", 17);
    QTest::newRow("NUL byte inside a text") << QByteArray("{\"a\": \"x\0y\"}", 12);
    QTest::newRow("whitespace around") << QByteArray(" \t\r\n{\"a\" : [ 1 , 2 ] }\n ");
    QTest::newRow("NaN") << QByteArray(R"({"a": NaN})");
    QTest::newRow("leading zero") << QByteArray(R"({"a": 01})");
    QTest::newRow("nested 1024 deep")
        << ("{\"a\": " + QByteArray(1023, '[') + QByteArray(1023, ']') + "}");
    QTest::newRow("nested 1025 deep")
        << ("{\"a\": " + QByteArray(1024, '[') + QByteArray(1024, ']') + "}");
    QTest::newRow("number too large") << QByteArray(R"({"a": 1e400})");
    QTest::newRow("garbage after") << QByteArray(R"({"a": 1} x)");
    QTest::newRow("empty") << QByteArray();
}

void TestDataSetJson::sameAsQtConversion()
{
    QFETCH(QByteArray, json);
    QString where = QStringLiteral("root");
    QVERIFY2(sameTree(DataSetJson::parse(json), qtMap(json), &where), qPrintable(where));
}

void TestDataSetJson::samplesAsQtConversion_data()
{
    QTest::addColumn<QString>("name");
    for (const QString& name : QDir(QStringLiteral(TEST_SAMPLES))
                                   .entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name))
        QTest::newRow(qPrintable(name)) << name;
}

void TestDataSetJson::samplesAsQtConversion()
{
    QFETCH(QString, name);
    const QByteArray json = sampleText(name);
    QString where = name;
    QVERIFY2(sameTree(DataSetJson::parse(json), qtMap(json), &where), qPrintable(where));
}

void TestDataSetJson::keysAndRecurringTextsAreShared()
{
    const QVariantMap document = DataSetJson::parse(R"({"rows": [
        {"code": "01", "date": "20240131", "note": "first"},
        {"code": "01", "date": "20240131", "note": "second"}]})");
    const QVariantList rows = document.value(QStringLiteral("rows")).toList();
    QCOMPARE(rows.size(), 2);
    const QVariantMap first = rows.at(0).toMap();
    const QVariantMap second = rows.at(1).toMap();
    for (const QString key : {"code", "date", "note"})
        QCOMPARE(keyData(first, key), keyData(second, key));
    QCOMPARE(valueData(first, "code"), valueData(second, "code"));
    QCOMPARE(valueData(first, "date"), valueData(second, "date"));
    QCOMPARE(second.value("note").toString(), QStringLiteral("second"));
}

void TestDataSetJson::poolSharesEqualTexts()
{
    StringPool pool;
    const QString first = pool.shared(QStringLiteral("KREDIT MODAL KERJA"));
    const QString again = pool.shared(QString::fromLatin1("KREDIT MODAL") + " KERJA");
    QCOMPARE(again, first);
    QCOMPARE(again.constData(), first.constData());
    QVERIFY(pool.shared(QStringLiteral("KREDIT INVESTASI")).constData() != first.constData());

    const QString longText(StringPool::longestShared + 1, QLatin1Char('x'));
    const QString longAgain(StringPool::longestShared + 1, QLatin1Char('x'));
    QCOMPARE(pool.shared(longText).constData(), longText.constData());
    QCOMPARE(pool.shared(longAgain).constData(), longAgain.constData());
}

void TestDataSetJson::poolSharesTextValuesOnly()
{
    StringPool pool;
    const QString code = pool.shared(QStringLiteral("05"));
    // Built twice: a copy of the row would share its texts, which the pool leaves alone.
    const auto makeRow = [] {
        return QVariantMap{{"code", QString::fromLatin1("0") + "5"},
                           {"amount", 5},
                           {"list", QVariantList{"05"}},
                           {"none", QVariant()}};
    };
    QVariantMap row = makeRow();
    pool.shareValues(row);
    QCOMPARE(valueData(row, "code"), code.constData());
    QString where = QStringLiteral("row");
    QVERIFY2(sameTree(row, makeRow(), &where), qPrintable(where));

    QVariantMap kept = makeRow();
    const QVariantMap holder = kept;
    const QChar* before = valueData(kept, "code");
    pool.shareValues(kept);
    QCOMPARE(valueData(kept, "code"), before);
}

QTEST_GUILESS_MAIN(TestDataSetJson)
#include "tst_datasetjson.moc"
