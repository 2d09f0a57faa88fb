// Drives the report view as a user would, headless: toolbar buttons, the scale and
// page boxes, the "Debitur" list with its reload rule, the built-in documents and
// their override, and the text export with its message boxes.

#include "filecontent.h"
#include "findbar.h"
#include "lrpreviewreportwidget.h"
#include "openresult.h"
#include "reportfinder.h"
#include "reportviewfixture.h"
#include "reportwidget.h"
#include "tabbutton.h"

#include <LimeReport>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGraphicsView>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>
#include <QtTest>

#include <functional>
#include <memory>

using ReportViewFixture::clickButton;
using ReportViewFixture::documentView;
using ReportViewFixture::openedDocument;

namespace {

QByteArray readSample(const QString& name)
{
    return FileContent::read(QStringLiteral(TEST_SAMPLES "/") + name);
}

TabButton* button(const ReportWidget& view, const QString& name)
{
    return view.findChild<TabButton*>(name);
}

// Answers the next message box and tells what it said.
struct MessageBoxWatcher
{
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString styleClass;

    void arm()
    {
        QTimer::singleShot(0, [this] { poll(); });
    }
    void poll()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            QTimer::singleShot(10, [this] { poll(); });
            return;
        }
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        styleClass = QString::fromLatin1(box->style()->metaObject()->className());
        box->button(QMessageBox::Ok)->click();
    }
};

} // namespace

class TestReportWidget : public QObject
{
    Q_OBJECT

private slots:
    void layoutBetweenEvents_data();
    void layoutBetweenEvents();
    void toolbarButtons_data();
    void toolbarButtons();
    void builtInDocumentsHaveNoListAndNoTextExport_data();
    void builtInDocumentsHaveNoListAndNoTextExport();
    void singlePageDisablesNavigation();
    void navigationFollowsThePage();
    void zoomCommandsReachThePreview();
    void typedScaleIsApplied();
    void pageBoxStaysTrueThroughZoom_data();
    void pageBoxStaysTrueThroughZoom();
    void scrolledToTheEndShowsLastPage();
    void zoomIsKeptForAnotherDataSet();
    void homeIsAnnounced();
    void saveWritesThePdf();
    void pdfExportSuggestsNameAndFolder();
    void dialogsLookAsElsewhere();
    void debiturListReloadsOnlyAnotherDataSet();
    void debiturListShowsNamesInStoredOrder();
    void localFaqReplacesTheBuiltInOne();
    void textExport_data();
    void textExport();
    void findBarOpens_data();
    void findBarOpens();
    void findFollowsAnotherDataSet();
    void onlyTheShownTabAnswersCtrlF();
};

// What the user may do once the first page shows, while the rest is still laid out.
enum class DuringLayout
{
    Nothing,
    Cancel,
    CloseTab,
    ChooseOtherDataSet
};
Q_DECLARE_METATYPE(DuringLayout)

void TestReportWidget::layoutBetweenEvents_data()
{
    QTest::addColumn<DuringLayout>("action");
    QTest::newRow("waits") << DuringLayout::Nothing;
    QTest::newRow("cancels") << DuringLayout::Cancel;
    QTest::newRow("closes the tab") << DuringLayout::CloseTab;
    QTest::newRow("chooses another data set") << DuringLayout::ChooseOtherDataSet;
}

// The first page shows and the window handles events before the last page is laid
// out; stopping, closing or reloading then is safe and leaves a consistent view.
void TestReportWidget::layoutBetweenEvents()
{
    QFETCH(DuringLayout, action);
    auto view = std::make_unique<ReportWidget>(
        QStringLiteral("debitur.vardo"), QString(), QStringLiteral("/data/debitur.vardo"),
        openedDocument(
            {{QStringLiteral("A"), readSample(QStringLiteral("individual-basic.json"))},
             {QStringLiteral("B"), readSample(QStringLiteral("corporate-basic.json"))}}));
    view->show();
    QVERIFY(view->isLayingOut());
    int firstCount = 0;
    bool eventDuringLayout = false;
    connect(
        view->getPreview(), &LimeReport::PreviewReportWidget::pagesAdded, view.get(),
        [&](int count) {
            if (firstCount > 0)
                return;
            firstCount = count;
            QTimer::singleShot(0, [&] {
                eventDuringLayout = view && view->getPreview() && view->getPreview()->isRendering();
                QVERIFY(view->findChild<QPushButton*>(QStringLiteral("cancelLayout"))->isVisible());
                QVERIFY(!view->findChild<TabButton*>(QStringLiteral("Save"))->isEnabled());
                QVERIFY(!view->findChild<TabButton*>(QStringLiteral("Print"))->isEnabled());
                if (action == DuringLayout::Cancel)
                    view->findChild<QPushButton*>(QStringLiteral("cancelLayout"))->click();
                else if (action == DuringLayout::CloseTab)
                    view.reset();
                else if (action == DuringLayout::ChooseOtherDataSet)
                    view->findChild<QTableView*>()->selectionModel()->setCurrentIndex(
                        view->findChild<QTableView*>()->model()->index(1, 0),
                        QItemSelectionModel::ClearAndSelect);
            });
        });
    QTRY_VERIFY(firstCount > 0);
    QTRY_VERIFY(!view || !view->isLayingOut());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(eventDuringLayout);
    QCOMPARE(firstCount, 1);
    if (action == DuringLayout::CloseTab) {
        QVERIFY(!view);
        return;
    }
    QVERIFY(view->getPageCount() >= 1);
    QCOMPARE(view->findChild<QSpinBox*>()->suffix(),
             QStringLiteral(" / %1").arg(view->getPageCount()));
    QCOMPARE(view->getPreview()->pageCount(), view->getPageCount());
    QVERIFY(!view->findChild<QPushButton*>(QStringLiteral("cancelLayout"))->isVisible());
    QVERIFY(view->findChild<TabButton*>(QStringLiteral("Save"))->isEnabled());
    QVERIFY(view->findChild<TabButton*>(QStringLiteral("Print"))->isEnabled());
    if (action == DuringLayout::Cancel)
        QCOMPARE(view->getPageCount(), 1);
    else
        QVERIFY(view->getPageCount() >= 3);
    if (action == DuringLayout::ChooseOtherDataSet) {
        QCOMPARE(view->getSelectedFilename(), QStringLiteral("B"));
        QVERIFY(!view->getPreview()->pages().isEmpty());
    }
}

void TestReportWidget::toolbarButtons_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("tooltip");
    QTest::newRow("home") << "Home"
                          << "Beranda";
    QTest::newRow("pdf") << "Save"
                         << "Ekspor PDF";
    QTest::newRow("text") << "Ekspor ke text"
                          << "Ekspor ke text";
    QTest::newRow("print") << "Print"
                           << "Cetak";
    QTest::newRow("outline") << "Outline"
                             << "Daftar Isi";
    QTest::newRow("zoom in") << "Zoom In"
                             << "Perbesar";
    QTest::newRow("zoom out") << "Zoom Out"
                              << "Perkecil";
    QTest::newRow("one to one") << "One to One"
                                << "1:1";
    QTest::newRow("fit width") << "Fit Width"
                               << "Sesuai Lebar";
    QTest::newRow("fit page") << "Fit Page"
                              << "Sesuai Halaman";
    QTest::newRow("first") << "First Page"
                           << "Hal. Pertama";
    QTest::newRow("prior") << "Prior Page"
                           << "Hal. Sebelumnya";
    QTest::newRow("next") << "Next Page"
                          << "Hal. Selanjutnya";
    QTest::newRow("last") << "Last Page"
                          << "Hal. Akhir";
}

void TestReportWidget::toolbarButtons()
{
    QFETCH(QString, name);
    QFETCH(QString, tooltip);
    auto view =
        documentView({{QStringLiteral("A"), readSample(QStringLiteral("individual-empty.json"))}});
    TabButton* b = button(*view, name);
    QVERIFY(b);
    QCOMPARE(b->toolTip(), tooltip);
    QVERIFY(!b->icon().isNull());
    QVERIFY(!b->getIconPixmap().isNull());
    QCOMPARE(b->size(), QSize(40, 40));
    QVERIFY(b->text().isEmpty());
}

void TestReportWidget::builtInDocumentsHaveNoListAndNoTextExport_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("resource");
    QTest::newRow("faq") << "FAQ"
                         << ":reports/faq.lrxml";
    QTest::newRow("manual") << "MANUAL"
                            << ":reports/manual.lrxml";
}

void TestReportWidget::builtInDocumentsHaveNoListAndNoTextExport()
{
    QFETCH(QString, name);
    QFETCH(QString, resource);
    ReportWidget view(name, QString(), QString(), nullptr);
    // A new view lays its report out once the event loop runs.
    QTRY_VERIFY(!view.isLayingOut());
    QVERIFY(!view.findChild<QTableView*>());
    QVERIFY(!button(view, QStringLiteral("Ekspor ke text")));
    QVERIFY(button(view, QStringLiteral("Print")));
    QCOMPARE(view.getReportFilename(), resource);
    QVERIFY(view.getPageCount() >= 1);
    QVERIFY(!view.getPreview()->pages().first().texts().isEmpty());
}

void TestReportWidget::singlePageDisablesNavigation()
{
    ReportWidget view(QStringLiteral("MANUAL"), QString(), QString(), nullptr);
    QTRY_VERIFY(!view.isLayingOut());
    QCOMPARE(view.getPageCount(), 1);
    for (const char* name : {"First Page", "Prior Page", "Next Page", "Last Page"})
        QVERIFY2(!button(view, QLatin1String(name))->isEnabled(), name);
    QCOMPARE(view.findChild<QSpinBox*>()->suffix(), QStringLiteral(" / 1"));
    QCOMPARE(view.findChild<QSpinBox*>()->prefix(), QStringLiteral("Hal. : "));
}

void TestReportWidget::navigationFollowsThePage()
{
    auto view =
        documentView({{QStringLiteral("A"), readSample(QStringLiteral("individual-basic.json"))}});
    const int pages = view->getPageCount();
    QVERIFY(pages >= 3);
    auto* pageBox = view->findChild<QSpinBox*>();
    QCOMPARE(pageBox->suffix(), QStringLiteral(" / %1").arg(pages));
    QCOMPARE(pageBox->maximum(), pages);
    QVERIFY(!button(*view, QStringLiteral("First Page"))->isEnabled());
    QVERIFY(button(*view, QStringLiteral("Next Page"))->isEnabled());

    clickButton(*view, QStringLiteral("Next Page"));
    QCOMPARE(view->getPreview()->currentPage(), 2);
    QCOMPARE(pageBox->value(), 2);
    QVERIFY(button(*view, QStringLiteral("Prior Page"))->isEnabled());

    clickButton(*view, QStringLiteral("Last Page"));
    QCOMPARE(view->getPreview()->currentPage(), pages);
    QVERIFY(!button(*view, QStringLiteral("Next Page"))->isEnabled());
    QVERIFY(!button(*view, QStringLiteral("Last Page"))->isEnabled());

    clickButton(*view, QStringLiteral("First Page"));
    QCOMPARE(view->getPreview()->currentPage(), 1);

    // The page box sends the preview to a page, and the buttons follow.
    pageBox->setValue(pages);
    QCOMPARE(view->getPreview()->currentPage(), pages);
    QVERIFY(!button(*view, QStringLiteral("Last Page"))->isEnabled());
    QVERIFY(button(*view, QStringLiteral("First Page"))->isEnabled());

    // A release outside the button is no click.
    TabButton* prior = button(*view, QStringLiteral("Prior Page"));
    QTest::mousePress(prior, Qt::LeftButton);
    QTest::mouseRelease(prior, Qt::LeftButton, Qt::NoModifier, QPoint(-5, -5));
    QCOMPARE(view->getPreview()->currentPage(), pages);
}

void TestReportWidget::zoomCommandsReachThePreview()
{
    auto view =
        documentView({{QStringLiteral("A"), readSample(QStringLiteral("individual-empty.json"))}});
    LimeReport::PreviewReportWidget* preview = view->getPreview();
    auto* scaleBox = view->findChild<QComboBox*>();
    QCOMPARE(scaleBox->count(), 30);
    QCOMPARE(scaleBox->itemText(0), QStringLiteral("10%"));
    QCOMPARE(scaleBox->itemText(29), QStringLiteral("300%"));

    clickButton(*view, QStringLiteral("One to One"));
    QCOMPARE(preview->scalePercent(), 100);
    QCOMPARE(scaleBox->currentText(), QStringLiteral("100%"));
    QCOMPARE(scaleBox->styleSheet(), QStringLiteral("background-color: #cecece; "));
    clickButton(*view, QStringLiteral("Zoom In"));
    QCOMPARE(preview->scalePercent(), 110);
    clickButton(*view, QStringLiteral("Zoom Out"));
    clickButton(*view, QStringLiteral("Zoom Out"));
    QCOMPARE(preview->scalePercent(), 90);
    QCOMPARE(scaleBox->currentText(), QStringLiteral("90%"));

    clickButton(*view, QStringLiteral("Fit Width"));
    const int width = preview->scalePercent();
    QVERIFY(width > 0 && width != 90);
    clickButton(*view, QStringLiteral("Fit Page"));
    QVERIFY(preview->scalePercent() > 0);
    QVERIFY(preview->scalePercent() <= width);
}

void TestReportWidget::typedScaleIsApplied()
{
    auto view =
        documentView({{QStringLiteral("A"), readSample(QStringLiteral("individual-empty.json"))}});
    auto* scaleBox = view->findChild<QComboBox*>();
    scaleBox->lineEdit()->clear();
    QTest::keyClicks(scaleBox->lineEdit(), QStringLiteral("125%"));
    QTest::keyClick(scaleBox->lineEdit(), Qt::Key_Return);
    QCOMPARE(view->getPreview()->scalePercent(), 125);

    // Text that is no percentage leaves the scale alone instead of collapsing the view.
    scaleBox->lineEdit()->clear();
    QTest::keyClicks(scaleBox->lineEdit(), QStringLiteral("abc"));
    QTest::keyClick(scaleBox->lineEdit(), Qt::Key_Return);
    QCOMPARE(view->getPreview()->scalePercent(), 125);
    // Nor does anything typed become an entry of the list.
    QCOMPARE(scaleBox->lineEdit()->text(), QString());
    QCOMPARE(scaleBox->count(), 30);
    QCOMPARE(scaleBox->findText(QStringLiteral("125%")), -1);
    QCOMPARE(scaleBox->findText(QStringLiteral("abc")), -1);

    // A typed value among the list's own is applied too.
    QTest::keyClicks(scaleBox->lineEdit(), QStringLiteral("70"));
    QTest::keyClick(scaleBox->lineEdit(), Qt::Key_Return);
    QCOMPARE(view->getPreview()->scalePercent(), 70);
}

void TestReportWidget::pageBoxStaysTrueThroughZoom_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QStringList>("commands");

    const QStringList zooms = {"One to One", "Zoom In",  "Zoom Out",  "Fit Width",
                               "Fit Page",   "Zoom Out", "Fit Width", "Zoom In"};
    QTest::newRow("on the last page") << "Last Page" << zooms;
    QTest::newRow("on the second page") << "Next Page" << zooms;
    QTest::newRow("on the first page") << "First Page" << zooms;
}

void TestReportWidget::pageBoxStaysTrueThroughZoom()
{
    QFETCH(QString, start);
    QFETCH(QStringList, commands);

    auto view =
        documentView({{QStringLiteral("A"), readSample(QStringLiteral("individual-basic.json"))}});
    auto* pageBox = view->findChild<QSpinBox*>();
    LimeReport::PreviewReportWidget* preview = view->getPreview();
    clickButton(*view, start);
    const int page = preview->currentPage();
    QCOMPARE(pageBox->value(), page);
    for (const QString& command : commands) {
        clickButton(*view, command);
        // The resize the preview answers later must not move the page either.
        QTest::qWait(150);
        QVERIFY2(pageBox->value() == page, qPrintable(QStringLiteral("%1: box %2, page %3")
                                                          .arg(command)
                                                          .arg(pageBox->value())
                                                          .arg(page)));
        QCOMPARE(preview->currentPage(), page);
        QCOMPARE(button(*view, QStringLiteral("Next Page"))->isEnabled(),
                 page != view->getPageCount());
    }
}

void TestReportWidget::scrolledToTheEndShowsLastPage()
{
    auto view =
        documentView({{QStringLiteral("A"), readSample(QStringLiteral("individual-basic.json"))}});
    clickButton(*view, QStringLiteral("Fit Width"));
    QScrollBar* bar = view->getPreview()->view()->verticalScrollBar();
    QVERIFY(bar->maximum() > 0);
    bar->setValue(bar->maximum());
    QCOMPARE(view->findChild<QSpinBox*>()->value(), view->getPageCount());
    bar->setValue(0);
    QCOMPARE(view->findChild<QSpinBox*>()->value(), 1);
}

void TestReportWidget::zoomIsKeptForAnotherDataSet()
{
    auto view =
        documentView({{QStringLiteral("A"), readSample(QStringLiteral("individual-basic.json"))},
                      {QStringLiteral("B"), readSample(QStringLiteral("individual-empty.json"))}});
    clickButton(*view, QStringLiteral("One to One"));
    clickButton(*view, QStringLiteral("Zoom In"));
    QCOMPARE(view->getPreview()->scalePercent(), 110);

    auto* table = view->findChild<QTableView*>();
    table->selectionModel()->setCurrentIndex(table->model()->index(1, 0),
                                             QItemSelectionModel::ClearAndSelect);
    QCOMPARE(view->getSelectedFilename(), QStringLiteral("B"));
    QTRY_COMPARE(view->getPreview()->scalePercent(), 110);
    QTest::qWait(150);
    QCOMPARE(view->getPreview()->scalePercent(), 110);
    QCOMPARE(view->findChild<QComboBox*>()->currentText(), QStringLiteral("110%"));
}

void TestReportWidget::homeIsAnnounced()
{
    ReportWidget view(QStringLiteral("FAQ"), QString(), QString(), nullptr);
    QSignalSpy home(&view, &ReportWidget::home);
    clickButton(view, QStringLiteral("Home"));
    QCOMPARE(home.count(), 1);
}

void TestReportWidget::saveWritesThePdf()
{
    auto view =
        documentView({{QStringLiteral("A"), readSample(QStringLiteral("individual-empty.json"))}});
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString pdf = dir.filePath(QStringLiteral("laporan.pdf"));
    bool asked = false;
    std::function<void()> answer = [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            QTimer::singleShot(10, answer);
            return;
        }
        asked = true;
        dialog->selectFile(pdf);
        QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
    };
    QTimer::singleShot(0, answer);
    QSignalSpy written(view->getPreview(), &LimeReport::PreviewReportWidget::pdfWritten);
    clickButton(*view, QStringLiteral("Save"));
    QVERIFY(asked);
    // Written in the background while the window stays live.
    QVERIFY(written.wait(10000));
    QCOMPARE(written.first().first().toString(), pdf);
    QVERIFY(FileContent::read(pdf).startsWith("%PDF"));
}

void TestReportWidget::pdfExportSuggestsNameAndFolder()
{
    auto view =
        documentView({{QStringLiteral("A"), readSample(QStringLiteral("individual-empty.json"))}});
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QStringList suggested;
    std::function<void()> answer = [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            QTimer::singleShot(10, answer);
            return;
        }
        suggested << dialog->selectedFiles().value(0);
        if (suggested.size() == 1)
            dialog->selectFile(dir.filePath(QStringLiteral("pertama.pdf")));
        QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
    };
    // The second export is asked for while the first may still be writing.
    QSignalSpy written(view->getPreview(), &LimeReport::PreviewReportWidget::pdfWritten);
    for (int i = 0; i < 2; ++i) {
        QTimer::singleShot(0, answer);
        clickButton(*view, QStringLiteral("Save"));
    }
    QCOMPARE(suggested.size(), 2);
    QTRY_COMPARE_WITH_TIMEOUT(written.count(), 2, 10000);
    // First the document's name; then the same name in the folder saved into last.
    QCOMPARE(QFileInfo(suggested.at(0)).fileName(), QStringLiteral("debitur.pdf"));
    QCOMPARE(suggested.at(1), dir.filePath(QStringLiteral("debitur.pdf")));
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral("debitur.pdf"))));
}

void TestReportWidget::dialogsLookAsElsewhere()
{
    // As in the program: the view inside a window of its own.
    QWidget window;
    window.resize(1200, 800);
    auto* view = new ReportWidget(
        QStringLiteral("debitur.vardo"), QString(), QStringLiteral("/data/debitur.vardo"),
        openedDocument(
            {{QStringLiteral("A"), readSample(QStringLiteral("individual-empty.json"))}}));
    view->setParent(&window);
    window.show();
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    MessageBoxWatcher watcher;
    watcher.arm();
    view->exportToDirectory(dir.path());
    QCOMPARE(watcher.title, QStringLiteral("Sukses"));
    // The view's style sheet, which paints every widget of it flat, stays out of the box.
    QVERIFY2(watcher.styleClass != QLatin1String("QStyleSheetStyle"),
             qPrintable(watcher.styleClass));
}

void TestReportWidget::debiturListReloadsOnlyAnotherDataSet()
{
    auto view =
        documentView({{QStringLiteral("A"), readSample(QStringLiteral("individual-basic.json"))},
                      {QStringLiteral("B"), readSample(QStringLiteral("corporate-basic.json"))}});
    auto* table = view->findChild<QTableView*>();
    QVERIFY(table);
    QCOMPARE(table->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Debitur"));
    QCOMPARE(table->model()->rowCount(), 2);
    QVERIFY(table->selectionModel()->isSelected(table->model()->index(0, 0)));
    QVERIFY(!table->selectionModel()->currentIndex().isValid());
    QCOMPARE(view->getSelectedFilename(), QStringLiteral("A"));
    const QStringList individualPage = view->getPreview()->pages().first().texts();

    bool busyDuringLoad = false;
    QSignalSpy pagesSet(view.get(), &ReportWidget::pagesSet);
    connect(view.get(), &ReportWidget::pagesSet, [&] {
        auto* busy = view->findChild<QDialog*>(QStringLiteral("busyIndicator"));
        busyDuringLoad = busy && busy->isVisible();
    });

    table->selectionModel()->setCurrentIndex(table->model()->index(0, 0),
                                             QItemSelectionModel::ClearAndSelect);
    QCOMPARE(pagesSet.count(), 0);

    table->selectionModel()->setCurrentIndex(table->model()->index(1, 0),
                                             QItemSelectionModel::ClearAndSelect);
    QCOMPARE(pagesSet.count(), 1);
    QVERIFY(busyDuringLoad);
    QCOMPARE(view->getSelectedFilename(), QStringLiteral("B"));
    QVERIFY(view->getPreview()->pages().first().texts() != individualPage);
    QVERIFY(!view->findChild<QDialog*>(QStringLiteral("busyIndicator")));
}

// A right-to-left override in an entry's name cannot make "DEWI<RLO>fdp.exe" read as
// "DEWIexe.pdf" in the list; choosing the row still shows that data set.
void TestReportWidget::debiturListShowsNamesInStoredOrder()
{
    const QString hostile = QStringLiteral("DEWI") + QChar(0x202E) + QStringLiteral("fdp.exe");
    auto view =
        documentView({{QStringLiteral("A"), readSample(QStringLiteral("individual-basic.json"))},
                      {hostile, readSample(QStringLiteral("corporate-basic.json"))}});
    auto* table = view->findChild<QTableView*>();
    QVERIFY(table);
    QStringList shown;
    for (int row = 0; row < table->model()->rowCount(); ++row)
        shown << table->model()->index(row, 0).data().toString();
    QCOMPARE(shown, QStringList({QStringLiteral("A"), QStringLiteral("DEWI_fdp.exe")}));
    table->selectionModel()->setCurrentIndex(table->model()->index(1, 0),
                                             QItemSelectionModel::ClearAndSelect);
    QTRY_COMPARE(view->getSelectedFilename(), hostile);
    QTRY_VERIFY(!view->isLayingOut());
    QVERIFY(view->getPageCount() > 0);
}

void TestReportWidget::localFaqReplacesTheBuiltInOne()
{
    const QString documents = QCoreApplication::applicationDirPath() + QStringLiteral("/documents");
    QVERIFY(QDir().mkpath(documents));
    const QString local = documents + QStringLiteral("/faq.lrxml");
    QByteArray xml = FileContent::read(QStringLiteral(":reports/manual.lrxml"));
    QVERIFY(xml.replace("Petunjuk Penggunaan", "Tanya Jawab Lokal").contains("Tanya Jawab Lokal"));
    QVERIFY(FileContent::write(local, xml));
    ReportWidget view(QStringLiteral("FAQ"), QString(), QString(), nullptr);
    QFile::remove(local);
    QDir().rmdir(documents);
    QTRY_VERIFY(!view.isLayingOut());
    QCOMPARE(view.getReportFilename(), local);
    QVERIFY(
        view.getPreview()->pages().first().texts().contains(QStringLiteral("Tanya Jawab Lokal")));
}

void TestReportWidget::textExport_data()
{
    QTest::addColumn<bool>("existing");
    QTest::addColumn<QString>("blocked");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("written");
    QTest::newRow("written") << true << QString() << "Sukses"
                             << "Ekspor file sukses" << QStringList{"A.txt", "B.txt", "C.txt"};
    QTest::newRow("missing directory") << false << QString() << "Gagal"
                                       << "Direktori tidak ditemukan" << QStringList();
    // A directory in the way of one output file: that file fails, the others are written.
    QTest::newRow("one file fails") << true << "B.txt"
                                    << "Gagal"
                                    << "B.txt" << QStringList{"A.txt", "C.txt"};
}

void TestReportWidget::textExport()
{
    QFETCH(bool, existing);
    QFETCH(QString, blocked);
    QFETCH(QString, title);
    QFETCH(QString, text);
    QFETCH(QStringList, written);
    auto view = documentView(
        {{QStringLiteral("A"), readSample(QStringLiteral("individual-basic.json"))},
         {QStringLiteral("B"), readSample(QStringLiteral("corporate-basic.json"))},
         {QStringLiteral("C.txt"), readSample(QStringLiteral("individual-empty.json"))}});
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    if (!blocked.isEmpty())
        QVERIFY(QDir(dir.path()).mkdir(blocked));
    const QString target = existing ? dir.path() : dir.filePath(QStringLiteral("nowhere"));

    MessageBoxWatcher box;
    box.arm();
    view->exportToDirectory(target);
    QCOMPARE(box.title, title);
    QVERIFY2(box.text.contains(text), qPrintable(box.text));
    QCOMPARE(box.icon,
             title == QLatin1String("Sukses") ? QMessageBox::Information : QMessageBox::Warning);
    for (const QString& name : written) {
        QFile file(dir.filePath(name));
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(name));
        QVERIFY(file.readAll().startsWith('{'));
    }
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), written.size());
}

void TestReportWidget::findBarOpens_data()
{
    QTest::addColumn<QString>("document");
    QTest::addColumn<bool>("byKey");
    QTest::newRow("Ctrl+F in the manual") << "MANUAL" << true;
    QTest::newRow("the toolbar button in the FAQ") << "FAQ" << false;
}

// The built-in documents are found in as reports are.
void TestReportWidget::findBarOpens()
{
    QFETCH(QString, document);
    QFETCH(bool, byKey);
    ReportWidget view(document, QString(), QString(), nullptr);
    view.resize(1200, 800);
    view.show();
    QVERIFY(QTest::qWaitForWindowActive(&view));
    QTRY_VERIFY(!view.isLayingOut());
    LimeReport::FindBar* bar = view.getFindBar();
    QVERIFY(!bar->isVisible());
    if (byKey) {
        view.getPreview()->view()->setFocus();
        QTest::keyClick(view.getPreview()->view(), Qt::Key_F, Qt::ControlModifier);
    } else {
        clickButton(view, QStringLiteral("Find"));
    }
    QVERIFY(bar->isVisible());
    QVERIFY(bar->field()->hasFocus());
    QCOMPARE(bar->field()->placeholderText(), QStringLiteral("Cari dalam laporan"));
    // A word of the document's first text, typed in capitals.
    const QString word =
        view.getPreview()->pages().first().texts().first().section(QLatin1Char(' '), 0, 0);
    QTest::keyClicks(bar->field(), word.toUpper());
    QTRY_VERIFY(bar->finder()->isComplete());
    QVERIFY(!bar->finder()->matches().isEmpty());
    QCOMPARE(bar->status(), QStringLiteral("1 dari %1").arg(bar->finder()->matches().size()));
}

// The bar stays with its text when another data set is shown, and finds in it.
void TestReportWidget::findFollowsAnotherDataSet()
{
    auto view =
        documentView({{QStringLiteral("A"), readSample(QStringLiteral("individual-basic.json"))},
                      {QStringLiteral("B"), readSample(QStringLiteral("corporate-basic.json"))}});
    view->runCommand(QStringLiteral("Find"));
    LimeReport::FindBar* bar = view->getFindBar();
    QTest::keyClicks(bar->field(), QStringLiteral("sumber rejeki"));
    QTRY_VERIFY(bar->finder()->isComplete());
    QCOMPARE(bar->status(), QStringLiteral("Tidak ditemukan"));
    auto* table = view->findChild<QTableView*>();
    table->selectionModel()->setCurrentIndex(table->model()->index(1, 0),
                                             QItemSelectionModel::ClearAndSelect);
    QTRY_VERIFY(!view->isLayingOut());
    QCOMPARE(bar->finder()->preview(), view->getPreview());
    QTRY_VERIFY(bar->finder()->isComplete());
    QVERIFY(!bar->finder()->matches().isEmpty());
    QCOMPARE(bar->status(), QStringLiteral("1 dari %1").arg(bar->finder()->matches().size()));
}

// Tabs share a window: the one shown opens its bar, the ones behind it stay out of it.
void TestReportWidget::onlyTheShownTabAnswersCtrlF()
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* shown = new ReportWidget(QStringLiteral("MANUAL"), QString(), QString(), nullptr);
    auto* behind = new ReportWidget(QStringLiteral("FAQ"), QString(), QString(), nullptr);
    layout->addWidget(shown);
    layout->addWidget(behind);
    behind->hide();
    window.resize(1200, 800);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTRY_VERIFY(!shown->isLayingOut());
    shown->getPreview()->view()->setFocus();
    QTest::keyClick(shown->getPreview()->view(), Qt::Key_F, Qt::ControlModifier);
    QVERIFY(shown->getFindBar()->isVisible());
    QVERIFY(!behind->getFindBar()->isVisibleTo(behind));
    // F3 and Escape belong to the open bar alone.
    QTest::keyClicks(shown->getFindBar()->field(), QStringLiteral("a"));
    QTest::keyClick(shown->getPreview()->view(), Qt::Key_Escape);
    QVERIFY(!shown->getFindBar()->isVisible());
}

QTEST_MAIN(TestReportWidget)
#include "tst_reportwidget.moc"
