#include "sortfilterproxymodel.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QtTest>

#include <memory>

namespace {

// The home screen's use, in small: a ListModel behind the proxy, with the proxy's
// properties given in QML, sortRole before source.
const char* const screen = R"(
import QtQuick 2.4
import qrv.kora.libraries 1.0

Item {
    property alias proxy: proxy
    property int countChanges: 0

    function names() {
        var result = [];
        for (var i = 0; i < proxy.count; ++i)
            result.push(proxy.get(i).nama);
        return result.join(",");
    }
    function addFile(name) { files.append({ nama: name, ukuran: "3 KBs", tanggal: "20240105", jumlah: 9 }) }
    function removeFirst() { files.remove(0) }
    function rowKeys(index) { return Object.keys(proxy.get(index)).sort().join(",") }
    function rowText(index, role) { var row = proxy.get(index); return typeof row[role] + ":" + row[role] }
    function dropSource() { proxy.source = null }
    function filter(text, syntax, role) { proxy.filterRole = role; proxy.filterSyntax = syntax; proxy.filterString = text }

    ListModel {
        id: files
        ListElement { nama: "beta.vardo"; ukuran: "2 KBs"; tanggal: "20240103"; jumlah: 2 }
        ListElement { nama: "Alpha.vardo"; ukuran: "10 KBs"; tanggal: "20240101"; jumlah: 10 }
        ListElement { nama: "gamma.vardo"; ukuran: "1 KBs"; tanggal: "20240102"; jumlah: 1 }
    }

    SortFilterProxyModel {
        id: proxy
        sortRole: "%1"
        sortOrder: %2
        source: files
        onCountChanged: countChanges++
    }
}
)";

} // namespace

class TestSortFilterProxyModel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void sortRoleGivenBeforeSource_data();
    void sortRoleGivenBeforeSource();
    void roleNamesResolve();
    void filter_data();
    void filter();
    void filterChangesAfterCompletion();
    void getRow();
    void insertingRowsChangesCount();
    void nullSourceLeavesProxyEmpty();

private:
    std::unique_ptr<QObject> load(const QString& sortRole = QStringLiteral("nama"),
                                  const QString& sortOrder = QStringLiteral("Qt.AscendingOrder"));
    static QString call(QObject* root, const char* function, const QVariantList& args = {});

    QQmlEngine m_engine;
};

void TestSortFilterProxyModel::initTestCase()
{
    qmlRegisterType<SortFilterProxyModel>("qrv.kora.libraries", 1, 0, "SortFilterProxyModel");
}

std::unique_ptr<QObject> TestSortFilterProxyModel::load(const QString& sortRole,
                                                        const QString& sortOrder)
{
    QQmlComponent component(&m_engine);
    component.setData(QString::fromLatin1(screen).arg(sortRole, sortOrder).toUtf8(), QUrl());
    std::unique_ptr<QObject> root(component.create());
    if (!root)
        qWarning() << component.errorString();
    return root;
}

QString TestSortFilterProxyModel::call(QObject* root, const char* function,
                                       const QVariantList& args)
{
    QVariant result;
    switch (args.size()) {
    case 0:
        QMetaObject::invokeMethod(root, function, Q_RETURN_ARG(QVariant, result));
        break;
    case 1:
        QMetaObject::invokeMethod(root, function, Q_RETURN_ARG(QVariant, result),
                                  Q_ARG(QVariant, args.at(0)));
        break;
    case 2:
        QMetaObject::invokeMethod(root, function, Q_RETURN_ARG(QVariant, result),
                                  Q_ARG(QVariant, args.at(0)), Q_ARG(QVariant, args.at(1)));
        break;
    default:
        QMetaObject::invokeMethod(root, function, Q_RETURN_ARG(QVariant, result),
                                  Q_ARG(QVariant, args.at(0)), Q_ARG(QVariant, args.at(1)),
                                  Q_ARG(QVariant, args.at(2)));
        break;
    }
    return result.toString();
}

void TestSortFilterProxyModel::sortRoleGivenBeforeSource_data()
{
    QTest::addColumn<QString>("role");
    QTest::addColumn<QString>("order");
    QTest::addColumn<QString>("names");
    QTest::newRow("name ascending") << "nama"
                                    << "Qt.AscendingOrder"
                                    << "Alpha.vardo,beta.vardo,gamma.vardo";
    QTest::newRow("name descending") << "nama"
                                     << "Qt.DescendingOrder"
                                     << "gamma.vardo,beta.vardo,Alpha.vardo";
    QTest::newRow("date ascending") << "tanggal"
                                    << "Qt.AscendingOrder"
                                    << "Alpha.vardo,gamma.vardo,beta.vardo";
    QTest::newRow("number role sorts as number") << "jumlah"
                                                 << "Qt.AscendingOrder"
                                                 << "gamma.vardo,beta.vardo,Alpha.vardo";
}

void TestSortFilterProxyModel::sortRoleGivenBeforeSource()
{
    QFETCH(QString, role);
    QFETCH(QString, order);
    QFETCH(QString, names);
    const std::unique_ptr<QObject> root = load(role, order);
    QVERIFY(root);
    QCOMPARE(call(root.get(), "names"), names);
}

void TestSortFilterProxyModel::roleNamesResolve()
{
    const std::unique_ptr<QObject> root = load();
    QVERIFY(root);
    auto* proxy = root->property("proxy").value<SortFilterProxyModel*>();
    QVERIFY(proxy);
    QCOMPARE(proxy->roleNames().size(), 4);
    const int nama = proxy->roleKey("nama");
    QVERIFY(nama >= 0);
    QCOMPARE(proxy->roleNames().value(nama), QByteArray("nama"));
    QCOMPARE(proxy->QSortFilterProxyModel::sortRole(), nama);
    QCOMPARE(proxy->roleKey("tidakAda"), -1);
    QCOMPARE(proxy->roleKey("Nama"), -1);
}

void TestSortFilterProxyModel::filter_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<int>("syntax");
    QTest::addColumn<QString>("role");
    QTest::addColumn<QString>("names");
    const int wildcard = SortFilterProxyModel::Wildcard;
    const int fixed = SortFilterProxyModel::FixedString;
    const int regexp = SortFilterProxyModel::RegExp;
    const QString all = QStringLiteral("Alpha.vardo,beta.vardo,gamma.vardo");
    QTest::newRow("empty shows all") << "" << wildcard << "" << all;
    QTest::newRow("search text in name") << "*beta*" << wildcard << ""
                                         << "beta.vardo";
    QTest::newRow("search text in another role") << "*0102*" << wildcard << ""
                                                 << "gamma.vardo";
    QTest::newRow("search matches every row") << "*KBs*" << wildcard << "" << all;
    QTest::newRow("case-sensitive by default") << "*alpha*" << wildcard << ""
                                               << "";
    QTest::newRow("filter role limits the search") << "*0102*" << wildcard << "nama"
                                                   << "";
    QTest::newRow("filter role matches") << "*amm*" << wildcard << "nama"
                                         << "gamma.vardo";
    QTest::newRow("fixed string") << "a.v" << fixed << ""
                                  << "Alpha.vardo,beta.vardo,gamma.vardo";
    QTest::newRow("fixed string takes * literally") << "*beta*" << fixed << ""
                                                    << "";
    QTest::newRow("regexp searches anywhere") << "^g" << regexp << ""
                                              << "gamma.vardo";
    QTest::newRow("regexp on a role") << "^1" << regexp << "ukuran"
                                      << "Alpha.vardo,gamma.vardo";
}

void TestSortFilterProxyModel::filter()
{
    QFETCH(QString, pattern);
    QFETCH(int, syntax);
    QFETCH(QString, role);
    QFETCH(QString, names);
    const std::unique_ptr<QObject> root = load();
    QVERIFY(root);
    call(root.get(), "filter", {pattern, syntax, role});
    QCOMPARE(call(root.get(), "names"), names);
    auto* proxy = root->property("proxy").value<SortFilterProxyModel*>();
    QCOMPARE(proxy->filterString(), pattern);
    QCOMPARE(int(proxy->filterSyntax()), syntax);
    QCOMPARE(proxy->filterRole(), role.toUtf8());
}

void TestSortFilterProxyModel::filterChangesAfterCompletion()
{
    const std::unique_ptr<QObject> root = load();
    QVERIFY(root);
    call(root.get(), "filter",
         {QStringLiteral("*beta*"), int(SortFilterProxyModel::Wildcard), QString()});
    QCOMPARE(call(root.get(), "names"), QStringLiteral("beta.vardo"));
    // Syntax changes keep the pattern: as a regular expression "*beta*" is invalid and matches
    // nothing.
    root->property("proxy").value<SortFilterProxyModel*>()->setFilterSyntax(
        SortFilterProxyModel::FixedString);
    QCOMPARE(call(root.get(), "names"), QString());
    call(root.get(), "filter", {QString(), int(SortFilterProxyModel::Wildcard), QString()});
    QCOMPARE(call(root.get(), "names"), QStringLiteral("Alpha.vardo,beta.vardo,gamma.vardo"));
}

void TestSortFilterProxyModel::getRow()
{
    const std::unique_ptr<QObject> root = load();
    QVERIFY(root);
    QCOMPARE(call(root.get(), "rowKeys", {0}), QStringLiteral("jumlah,nama,tanggal,ukuran"));
    QCOMPARE(call(root.get(), "rowText", {0, QStringLiteral("nama")}),
             QStringLiteral("string:Alpha.vardo"));
    QCOMPARE(call(root.get(), "rowText", {0, QStringLiteral("jumlah")}),
             QStringLiteral("string:10"));
    QCOMPARE(call(root.get(), "rowKeys", {-1}), QString());
    QCOMPARE(call(root.get(), "rowKeys", {3}), QString());
}

void TestSortFilterProxyModel::insertingRowsChangesCount()
{
    const std::unique_ptr<QObject> root = load();
    QVERIFY(root);
    auto* proxy = root->property("proxy").value<SortFilterProxyModel*>();
    QSignalSpy spy(proxy, &SortFilterProxyModel::countChanged);
    const int before = root->property("countChanges").toInt();
    call(root.get(), "addFile", {QStringLiteral("delta.vardo")});
    QCOMPARE(proxy->count(), 4);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(root->property("countChanges").toInt(), before + 1);
    QCOMPARE(call(root.get(), "names"),
             QStringLiteral("Alpha.vardo,beta.vardo,delta.vardo,gamma.vardo"));
    call(root.get(), "removeFirst");
    QCOMPARE(proxy->count(), 3);
    QCOMPARE(spy.count(), 2);
}

void TestSortFilterProxyModel::nullSourceLeavesProxyEmpty()
{
    const std::unique_ptr<QObject> root = load();
    QVERIFY(root);
    auto* proxy = root->property("proxy").value<SortFilterProxyModel*>();
    QSignalSpy spy(proxy, &SortFilterProxyModel::countChanged);
    call(root.get(), "dropSource");
    QCOMPARE(proxy->count(), 0);
    QCOMPARE(proxy->source(), nullptr);
    QVERIFY(proxy->roleNames().isEmpty());
    QCOMPARE(call(root.get(), "names"), QString());
    // A binding on count must hear that the rows went away.
    QVERIFY(spy.count() >= 1);
    // An object that is not an item model sets no source either.
    proxy->setSource(root.get());
    QCOMPARE(proxy->source(), nullptr);
}

QTEST_MAIN(TestSortFilterProxyModel)
#include "tst_sortfilterproxymodel.moc"
