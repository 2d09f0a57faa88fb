#include "enginefixture.h"
#include "lrpreviewreportwidget.h"
#include "tablesource.h"

#include <LimeReport>

#include <QGraphicsView>
#include <QScrollBar>
#include <QtTest>

using LimeReport::PreviewReportWidget;
using LimeReport::ReportEngine;

class tst_PreviewReportWidget : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void refreshAnnouncesPages();
    void zoomSteps_data();
    void zoomSteps();
    void fitWidthAndPage();
    void fitFollowsTheViewsSize_data();
    void fitFollowsTheViewsSize();
    void navigation();
    void navigatorDoesNotAnnounce();
    void scrollingFollowsPages();
    void paintsThePages();
    void controlWheelZooms();

private:
    std::unique_ptr<ReportEngine> m_engine;
    std::unique_ptr<TableSource> m_rows;
    std::unique_ptr<PreviewReportWidget> m_preview;
};

// Three pages of the list fixture in an 800 x 600 preview.
void tst_PreviewReportWidget::init()
{
    m_engine = std::make_unique<ReportEngine>();
    QVERIFY(m_engine->loadFromFile(engineFixture("list.lrxml")));
    TableSource::Rows rows;
    for (int i = 1; i <= 60; ++i)
        rows << QStringList{QStringLiteral("Debitur %1").arg(i), QString::number(i)};
    m_rows = std::make_unique<TableSource>(QStringList{"name", "amount"}, rows);
    m_rows->connectTo(m_engine->dataManager()->createCallbackDatasource("rows"));
    m_preview.reset(m_engine->createPreviewWidget());
    static_cast<QWidget*>(m_preview.get())->resize(800, 600);
    m_preview->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_preview.get()));
    QCOMPARE(m_preview->pageCount(), 3);
}

void tst_PreviewReportWidget::cleanup()
{
    m_preview.reset();
    m_rows.reset();
    m_engine.reset();
}

void tst_PreviewReportWidget::refreshAnnouncesPages()
{
    QSignalSpy pages(m_preview.get(), &PreviewReportWidget::pagesSet);
    QSignalSpy scale(m_preview.get(), &PreviewReportWidget::scalePercentChanged);
    m_preview->nextPage();
    m_preview->refreshPages();
    QCOMPARE(pages.count(), 1);
    QCOMPARE(pages.first().first().toInt(), 3);
    QCOMPARE(scale.count(), 1);
    QCOMPARE(scale.first().first().toInt(), 50);
    QCOMPARE(m_preview->currentPage(), 1);
}

void tst_PreviewReportWidget::zoomSteps_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<bool>("in");
    QTest::addColumn<int>("expected");
    QTest::newRow("in from a round value") << 60 << true << 70;
    QTest::newRow("in from an odd value") << 57 << true << 60;
    QTest::newRow("in past 300") << 300 << true << 310;
    QTest::newRow("out from a round value") << 50 << false << 40;
    QTest::newRow("out from an odd value") << 57 << false << 40;
    QTest::newRow("out stops at 10") << 10 << false << 10;
    QTest::newRow("out from below 20") << 15 << false << 10;
}

void tst_PreviewReportWidget::zoomSteps()
{
    QFETCH(int, start);
    QFETCH(bool, in);
    QFETCH(int, expected);
    m_preview->setScalePercent(start);
    QSignalSpy scale(m_preview.get(), &PreviewReportWidget::scalePercentChanged);
    in ? m_preview->zoomIn() : m_preview->zoomOut();
    QCOMPARE(scale.count(), 1);
    QCOMPARE(scale.first().first().toInt(), expected);
    QCOMPARE(m_preview->view()->transform().m11(), expected / 100.0);
}

// Fit width puts the widest page and its border in the viewport; fit page
// also the current page's height. Neither goes beyond the viewport.
void tst_PreviewReportWidget::fitWidthAndPage()
{
    const QSize viewport = m_preview->view()->viewport()->size();
    QSignalSpy scale(m_preview.get(), &PreviewReportWidget::scalePercentChanged);
    m_preview->fitWidth();
    QCOMPARE(scale.last().first().toInt(), int(viewport.width() / 2300.0 * 100));
    QVERIFY(scale.last().first().toInt() >= 30 && scale.last().first().toInt() <= 35);
    m_preview->fitPage();
    QCOMPARE(scale.last().first().toInt(),
             int(std::min(viewport.width() / 2300.0, viewport.height() / 2970.0) * 100));
    QCOMPARE(scale.last().first().toInt(), 19);
}

// A fitted scale fits again when the view changes size, as when a side panel opens
// beside it; a percentage the user chose stays.
void tst_PreviewReportWidget::fitFollowsTheViewsSize_data()
{
    QTest::addColumn<QString>("choice");
    QTest::newRow("fit width") << "width";
    QTest::newRow("fit page") << "page";
    QTest::newRow("chosen percentage") << "80";
}

void tst_PreviewReportWidget::fitFollowsTheViewsSize()
{
    QFETCH(QString, choice);
    if (choice == QLatin1String("width"))
        m_preview->fitWidth();
    else if (choice == QLatin1String("page"))
        m_preview->fitPage();
    else
        m_preview->setScalePercent(choice.toInt());
    const int before = m_preview->scalePercent();

    static_cast<QWidget*>(m_preview.get())->resize(500, 400);
    const QSize viewport = m_preview->view()->viewport()->size();
    const int byWidth = int(viewport.width() / 2300.0 * 100);
    const int byPage = int(std::min(viewport.width() / 2300.0, viewport.height() / 2970.0) * 100);
    const int expected = choice == QLatin1String("width")  ? byWidth
                         : choice == QLatin1String("page") ? byPage
                                                           : before;
    QTRY_COMPARE(m_preview->scalePercent(), expected);
    if (choice != QLatin1String("80"))
        QVERIFY(expected < before);
}

void tst_PreviewReportWidget::navigation()
{
    QSignalSpy changed(m_preview.get(), &PreviewReportWidget::pageChanged);
    m_preview->priorPage();
    m_preview->firstPage();
    QCOMPARE(changed.count(), 0);
    m_preview->nextPage();
    m_preview->lastPage();
    m_preview->nextPage();
    m_preview->priorPage();
    m_preview->firstPage();
    QList<int> pages;
    for (const QList<QVariant>& call : changed)
        pages << call.first().toInt();
    QCOMPARE(pages, (QList<int>{2, 3, 2, 1}));
}

void tst_PreviewReportWidget::navigatorDoesNotAnnounce()
{
    QSignalSpy changed(m_preview.get(), &PreviewReportWidget::pageChanged);
    m_preview->pageNavigatorChanged(3);
    QCOMPARE(m_preview->currentPage(), 3);
    const qreal top = m_preview->view()->mapToScene(0, 0).y();
    m_preview->pageNavigatorChanged(0);
    m_preview->pageNavigatorChanged(4);
    QCOMPARE(m_preview->currentPage(), 3);
    QCOMPARE(changed.count(), 0);
    // Page 3 starts below two A4 sheets and the border.
    QVERIFY2(top > 2 * 2970 && top < 2 * 2990 + 100, qPrintable(QString::number(top)));
}

void tst_PreviewReportWidget::scrollingFollowsPages()
{
    m_preview->setScalePercent(20);
    QSignalSpy changed(m_preview.get(), &PreviewReportWidget::pageChanged);
    QScrollBar* bar = m_preview->view()->verticalScrollBar();
    bar->setValue(int((100 + 2990 + 500) * 0.2));
    QCOMPARE(m_preview->currentPage(), 2);
    bar->setValue(bar->minimum());
    QCOMPARE(m_preview->currentPage(), 1);
    QCOMPARE(changed.count(), 2);
    QCOMPARE(changed.at(0).first().toInt(), 2);
    QCOMPARE(changed.at(1).first().toInt(), 1);
}

// The sheets are painted with their content: dark text pixels on white paper.
void tst_PreviewReportWidget::paintsThePages()
{
    m_preview->setScalePercent(40);
    const QImage shot = m_preview->grab().toImage();
    int dark = 0;
    int white = 0;
    for (int y = 0; y < shot.height(); y += 2) {
        for (int x = 0; x < shot.width(); x += 2) {
            const int gray = qGray(shot.pixel(x, y));
            dark += gray < 100;
            white += gray > 250;
        }
    }
    QVERIFY2(dark > 50, qPrintable(QString::number(dark)));
    QVERIFY2(white > shot.width() * shot.height() / 16, qPrintable(QString::number(white)));
}

void tst_PreviewReportWidget::controlWheelZooms()
{
    QSignalSpy scale(m_preview.get(), &PreviewReportWidget::scalePercentChanged);
    QWidget* viewport = m_preview->view()->viewport();
    const QPointF at(100, 100);
    QWheelEvent up(at, viewport->mapToGlobal(at.toPoint()), QPoint(), QPoint(0, 120), Qt::NoButton,
                   Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &up);
    QWheelEvent down(at, viewport->mapToGlobal(at.toPoint()), QPoint(), QPoint(0, -120),
                     Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &down);
    QApplication::sendEvent(viewport, &down);
    QList<int> steps;
    for (const QList<QVariant>& call : scale)
        steps << call.first().toInt();
    QCOMPARE(steps, (QList<int>{60, 50, 40}));
}

QTEST_MAIN(tst_PreviewReportWidget)
#include "tst_previewreportwidget.moc"
