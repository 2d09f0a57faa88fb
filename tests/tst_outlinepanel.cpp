// The outline beside a report's pages, as a user meets it: the toolbar opens and
// closes it, its entries send the pages there by mouse and by keyboard, it marks the
// part being read, and it follows the data set and the built-in documents on screen.

#include "filecontent.h"
#include "lrpreviewreportwidget.h"
#include "openresult.h"
#include "outlinepanel.h"
#include "programrun.h"
#include "reportviewfixture.h"
#include "reportwidget.h"
#include "tabbutton.h"
#include "vardoversion.h"

#include <LimeReport>

#include <QItemSelectionModel>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

using ReportViewFixture::clickButton;
using ReportViewFixture::documentView;

namespace {

QByteArray readSample(const QString& name)
{
    return FileContent::read(QStringLiteral(TEST_SAMPLES "/") + name);
}

QStringList topLevelTitles(const QTreeWidget* tree)
{
    QStringList titles;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        titles << tree->topLevelItem(i)->text(0);
    return titles;
}

QTreeWidgetItem* topLevelItem(const QTreeWidget* tree, const QString& title)
{
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        if (tree->topLevelItem(i)->text(0) == title)
            return tree->topLevelItem(i);
    }
    return nullptr;
}

} // namespace

class TestOutlinePanel : public QObject
{
    Q_OBJECT
private slots:
    void toolbarOpensAndClosesIt();
    void entriesJumpToTheirPlace();
    void followsAnotherDataSet();
    void builtInDocuments_data();
    void builtInDocuments();
    void savedPdfHasOutlineAndTitle();
};

void TestOutlinePanel::toolbarOpensAndClosesIt()
{
    auto view =
        documentView({{QStringLiteral("A"), readSample(QStringLiteral("individual-empty.json"))}});
    OutlinePanel* panel = view->getOutlinePanel();
    QVERIFY(panel);
    QVERIFY(!panel->isVisible());
    clickButton(*view, QStringLiteral("Outline"));
    QVERIFY(panel->isVisible());
    QCOMPARE(panel->tree()->headerItem()->text(0), QStringLiteral("Daftar Isi"));
    QCOMPARE(view->findChild<TabButton*>(QStringLiteral("Outline"))->toolTip(),
             QStringLiteral("Tutup Daftar Isi"));
    // Beside the pages, not over them.
    QVERIFY(panel->geometry().right() <= view->getPreview()->geometry().left());
    clickButton(*view, QStringLiteral("Outline"));
    QVERIFY(!panel->isVisible());
}

void TestOutlinePanel::entriesJumpToTheirPlace()
{
    auto view =
        documentView({{QStringLiteral("A"), readSample(QStringLiteral("individual-basic.json"))}});
    clickButton(*view, QStringLiteral("Outline"));
    LimeReport::PreviewReportWidget* preview = view->getPreview();
    OutlinePanel* panel = view->getOutlinePanel();
    QTreeWidget* tree = panel->tree();
    const LimeReport::ReportOutline outline = preview->outline();
    QVERIFY(preview->pageCount() >= 3);

    const QStringList titles = topLevelTitles(tree);
    for (const char* section : {"Data Pokok Debitur", "Ringkasan Fasilitas", "Kredit/Pembiayaan",
                                "Irrevocable L/C", "Garansi Yang Diberikan", "Fasilitas Lain"})
        QVERIFY2(titles.contains(QLatin1String(section)), qPrintable(titles.join(", ")));
    QTreeWidgetItem* credits = topLevelItem(tree, QStringLiteral("Kredit/Pembiayaan"));
    QVERIFY(credits->childCount() > 0);
    QVERIFY(credits->isExpanded());
    // A facility is named by its reporting member and account, with nothing left unexpanded.
    QVERIFY2(credits->child(0)->text(0).contains(QRegularExpression("\\S+ - \\S+")) &&
                 !credits->child(0)->text(0).contains('$'),
             qPrintable(credits->child(0)->text(0)));

    // An entry on a middle page, so that the pages can scroll it to the top.
    int target = -1;
    for (int i = 0; i < outline.size() && target < 0; ++i) {
        if (outline.at(i).page >= 1 && outline.at(i).page < preview->pageCount() - 1)
            target = i;
    }
    QVERIFY(target >= 0);
    QTreeWidgetItem* item = panel->itemOf(target);
    tree->scrollToItem(item);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier,
                      tree->visualItemRect(item).center());
    QCOMPARE(preview->currentPage(), outline.at(target).page + 1);
    QCOMPARE(view->findChild<QSpinBox*>()->value(), outline.at(target).page + 1);
    QCOMPARE(preview->topPosition().first, outline.at(target).page + 1);
    QVERIFY2(qAbs(preview->topPosition().second - outline.at(target).y) <= 20,
             qPrintable(QString::number(preview->topPosition().second)));
    QCOMPARE(panel->markedEntry(), target);
    QVERIFY(item->font(0).bold());

    // Scrolled back to the top, the entry is no longer the part being read.
    preview->firstPage();
    QVERIFY(panel->markedEntry() < target);
    QVERIFY(!item->font(0).bold());
    QVERIFY(panel->markedEntry() < 0 || outline.at(panel->markedEntry()).page == 0);

    // Enter on the chosen entry goes there as a click does.
    tree->setFocus();
    tree->setCurrentItem(item);
    QTest::keyClick(tree, Qt::Key_Return);
    QCOMPARE(preview->currentPage(), outline.at(target).page + 1);
    QCOMPARE(panel->markedEntry(), target);
}

void TestOutlinePanel::followsAnotherDataSet()
{
    auto view =
        documentView({{QStringLiteral("A"), readSample(QStringLiteral("individual-basic.json"))},
                      {QStringLiteral("B"), readSample(QStringLiteral("corporate-basic.json"))}});
    QTreeWidget* tree = view->getOutlinePanel()->tree();
    QVERIFY(!topLevelTitles(tree).contains(QStringLiteral("Pemilik / Pengurus")));
    auto* table = view->findChild<QTableView*>();
    table->selectionModel()->setCurrentIndex(table->model()->index(1, 0),
                                             QItemSelectionModel::ClearAndSelect);
    QTRY_VERIFY(!view->isLayingOut());
    const QStringList titles = topLevelTitles(tree);
    QVERIFY2(titles.contains(QStringLiteral("Pemilik / Pengurus")), qPrintable(titles.join(", ")));
    QCOMPARE(titles.count(QStringLiteral("Data Pokok Debitur")), 1);
    int entries = 0;
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        ++entries;
    QCOMPARE(entries, view->getPreview()->outline().size());
}

void TestOutlinePanel::builtInDocuments_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("first");
    QTest::newRow("manual") << "MANUAL" << 2 << "1. Membuka Dokumen";
    QTest::newRow("faq") << "FAQ" << 6
                         << "1. Dari mana paket instalasi Vardo Viewer dapat diperoleh?";
}

void TestOutlinePanel::builtInDocuments()
{
    QFETCH(QString, name);
    QFETCH(int, count);
    QFETCH(QString, first);
    ReportWidget view(name, QString(), QString(), nullptr);
    view.resize(1200, 800);
    view.show();
    QTRY_VERIFY(!view.isLayingOut());
    const QStringList titles = topLevelTitles(view.getOutlinePanel()->tree());
    QCOMPARE(titles.size(), count);
    QCOMPARE(titles.first(), first);
}

// The viewer's own export carries the outline on screen and names the debtor,
// the report and the product.
void TestOutlinePanel::savedPdfHasOutlineAndTitle()
{
    if (QStandardPaths::findExecutable("mutool").isEmpty() ||
        QStandardPaths::findExecutable("pdfinfo").isEmpty())
        QFAIL("mutool and pdfinfo are needed; scripts/setup.sh --test installs them");
    auto view =
        documentView({{QStringLiteral("A"), readSample(QStringLiteral("individual-basic.json"))}});
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString pdf = dir.filePath(QStringLiteral("laporan.pdf"));
    QSignalSpy written(view->getPreview(), &LimeReport::PreviewReportWidget::pdfWritten);
    QVERIFY(view->getPreview()->writePdf(pdf));
    QVERIFY(written.wait(10000));
    const QString info = ProgramRun::output("pdfinfo", {pdf});
    QVERIFY2(info.contains(QRegularExpression(
                 "Title:\\s+DEWI ANGGRAINI SAPUTRI - Laporan 24031800004578120001\\n")),
             qPrintable(info));
    const QString product = QStringLiteral("Vardo Viewer " VARDO_VERSION);
    QVERIFY2(info.contains(QRegularExpression("Creator:\\s+" + product + "\\n")), qPrintable(info));
    QVERIFY2(info.contains(QRegularExpression("Producer:\\s+" + product + "\\n")),
             qPrintable(info));
    const QStringList bookmarks =
        ProgramRun::output("mutool", {"show", pdf, "outline"}).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(bookmarks.size(), view->getPreview()->outline().size());
    QVERIFY(bookmarks.filter(QStringLiteral("\"Kredit/Pembiayaan\"")).size() == 1);
}

QTEST_MAIN(TestOutlinePanel)
#include "tst_outlinepanel.moc"
