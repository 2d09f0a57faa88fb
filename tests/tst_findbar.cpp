#include "enginefixture.h"
#include "findbar.h"
#include "lrpreviewreportwidget.h"
#include "reportfinder.h"
#include "tablesource.h"
#include "textmarks.h"

#include <LimeReport>

#include <QGraphicsItem>
#include <QGraphicsView>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QtTest>

using namespace LimeReport;

// The find bar over a preview of the list fixture: sixty rows on three pages.
class tst_FindBar : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void countsAndMarksEveryMatch();
    void nextAndPreviousGoRound_data();
    void nextAndPreviousGoRound();
    void functionKeysMove();
    void scrollsToTheCurrentMatch();
    void typingStartsOver();
    void escapeClosesAndUnmarks_data();
    void escapeClosesAndUnmarks();
    void searchesPagesThatArriveLater();
    void previewGoingAwayEndsTheSearch();

private:
    void waitForSearch();
    int marked(int page, TextMarks::Layer layer) const;
    void type(const QString& text);

    std::unique_ptr<ReportEngine> m_engine;
    std::unique_ptr<TableSource> m_rows;
    std::unique_ptr<QWidget> m_window;
    PreviewReportWidget* m_preview = nullptr;
    FindBar* m_bar = nullptr;
};

void tst_FindBar::init()
{
    m_engine = std::make_unique<ReportEngine>();
    QVERIFY(m_engine->loadFromFile(engineFixture("list.lrxml")));
    TableSource::Rows rows;
    for (int i = 1; i <= 60; ++i)
        rows << QStringList{QStringLiteral("Debitur %1").arg(i), QString::number(i)};
    rows[58][0] = QStringLiteral("Débitur Khusus");
    m_rows = std::make_unique<TableSource>(QStringList{"name", "amount"}, rows);
    m_rows->connectTo(m_engine->dataManager()->createCallbackDatasource("rows"));
    m_window = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(m_window.get());
    m_bar = new FindBar(m_window.get());
    m_preview = new PreviewReportWidget(m_engine.get(), m_window.get());
    layout->addWidget(m_bar);
    layout->addWidget(m_preview);
    m_bar->setPreview(m_preview);
    m_window->resize(800, 600);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_preview->refreshPages();
    QCOMPARE(m_preview->pageCount(), 3);
    m_bar->open();
}

void tst_FindBar::cleanup()
{
    m_window.reset();
    m_rows.reset();
    m_engine.reset();
}

void tst_FindBar::waitForSearch()
{
    QTRY_VERIFY(m_bar->finder()->isComplete());
}

int tst_FindBar::marked(int page, TextMarks::Layer layer) const
{
    const TextMarks* marks = TextMarks::existing(m_preview->pageItem(page));
    return marks ? marks->layer(layer).size() : 0;
}

void tst_FindBar::type(const QString& text)
{
    m_bar->field()->clear();
    QTest::keyClicks(m_bar->field(), text);
    waitForSearch();
}

void tst_FindBar::countsAndMarksEveryMatch()
{
    type("debitur 1");
    // Debitur 1 and 10 to 19 on the first page; accents do not count, so the special
    // name on the third page is found by its plain spelling too.
    QCOMPARE(m_bar->finder()->matches().size(), 11);
    QCOMPARE(m_bar->status(), QStringLiteral("1 dari 11"));
    QCOMPARE(marked(0, TextMarks::Found), 11);
    QCOMPARE(marked(0, TextMarks::Current), 1);
    QCOMPARE(marked(1, TextMarks::Found), 0);
    QCOMPARE(marked(2, TextMarks::Found), 0);

    type("DEBITUR KHUSUS");
    QCOMPARE(m_bar->status(), QStringLiteral("1 dari 1"));
    QCOMPARE(m_bar->finder()->matches().first().page, 2);
    QCOMPARE(marked(0, TextMarks::Found), 0);
    QCOMPARE(marked(2, TextMarks::Found), 1);

    type("tidak ada");
    QCOMPARE(m_bar->status(), QStringLiteral("Tidak ditemukan"));
    QCOMPARE(marked(2, TextMarks::Found), 0);
}

void tst_FindBar::nextAndPreviousGoRound_data()
{
    QTest::addColumn<QString>("keys"); // n: Enter, p: Shift+Enter
    QTest::addColumn<QString>("expected");
    QTest::newRow("next") << "n"
                          << "2 dari 3";
    QTest::newRow("next past the last") << "nnn"
                                        << "1 dari 3";
    QTest::newRow("previous from the first") << "p"
                                             << "3 dari 3";
    QTest::newRow("back and forth") << "pnn"
                                    << "2 dari 3";
}

// "halaman x dari 3" heads each of the three pages, and nothing else says "dari".
void tst_FindBar::nextAndPreviousGoRound()
{
    QFETCH(QString, keys);
    QFETCH(QString, expected);
    type("dari 3");
    QCOMPARE(m_bar->status(), QStringLiteral("1 dari 3"));
    for (const QChar key : keys)
        QTest::keyClick(m_bar->field(), Qt::Key_Return,
                        key == 'p' ? Qt::ShiftModifier : Qt::NoModifier);
    QCOMPARE(m_bar->status(), expected);
    const int current = m_bar->finder()->current();
    QCOMPARE(m_bar->finder()->matches().at(current).page, current);
    // Only the current match wears the current colour.
    for (int page = 0; page < 3; ++page)
        QCOMPARE(marked(page, TextMarks::Current), page == current ? 1 : 0);
}

void tst_FindBar::functionKeysMove()
{
    type("dari 3");
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    m_preview->view()->setFocus();
    QTest::keyClick(m_preview->view(), Qt::Key_F3);
    QCOMPARE(m_bar->status(), QStringLiteral("2 dari 3"));
    QTest::keyClick(m_preview->view(), Qt::Key_F3, Qt::ShiftModifier);
    QTest::keyClick(m_preview->view(), Qt::Key_F3, Qt::ShiftModifier);
    QCOMPARE(m_bar->status(), QStringLiteral("3 dari 3"));
}

void tst_FindBar::scrollsToTheCurrentMatch()
{
    m_preview->setScalePercent(100);
    m_preview->firstPage();
    type("khusus");
    QCOMPARE(m_preview->currentPage(), 3);
    type("dari 3");
    QTest::keyClick(m_bar->field(), Qt::Key_Return);
    // The first match from the page on screen was on page 3; the next is round on page 1.
    QCOMPARE(m_preview->currentPage(), 1);
    const QRectF shown =
        m_preview->view()->mapToScene(m_preview->view()->viewport()->rect()).boundingRect();
    const TextMatch& match = m_bar->finder()->matches().at(m_bar->finder()->current());
    const QRectF marked = m_preview->pageItem(match.page)
                              ->mapRectToScene(TextMarks::existing(m_preview->pageItem(match.page))
                                                   ->layer(TextMarks::Current)
                                                   .first());
    QVERIFY(shown.contains(marked));
}

// A new query starts at the page the reader is on.
void tst_FindBar::typingStartsOver()
{
    m_preview->setScalePercent(100);
    m_preview->lastPage();
    type("dari 3");
    QCOMPARE(m_bar->status(), QStringLiteral("3 dari 3"));
    QCOMPARE(m_preview->currentPage(), 3);
}

void tst_FindBar::escapeClosesAndUnmarks_data()
{
    QTest::addColumn<bool>("inField");
    QTest::newRow("in the field") << true;
    QTest::newRow("on the pages") << false;
}

void tst_FindBar::escapeClosesAndUnmarks()
{
    QFETCH(bool, inField);
    type("debitur");
    QVERIFY(marked(1, TextMarks::Found) > 0);
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QWidget* focus = inField ? static_cast<QWidget*>(m_bar->field()) : m_preview->view();
    focus->setFocus();
    QTest::keyClick(focus, Qt::Key_Escape);
    QVERIFY(!m_bar->isVisible());
    for (int page = 0; page < 3; ++page) {
        QCOMPARE(marked(page, TextMarks::Found), 0);
        QCOMPARE(marked(page, TextMarks::Current), 0);
    }
    // Opened again, the text is still there and found again.
    m_bar->open();
    waitForSearch();
    QCOMPARE(m_bar->finder()->matches().size(), 60);
    QVERIFY(marked(1, TextMarks::Found) > 0);
}

// The report laid out again under a query: the new pages are searched as they come.
void tst_FindBar::searchesPagesThatArriveLater()
{
    type("khusus");
    QSignalSpy changed(m_bar->finder(), &ReportFinder::changed);
    m_preview->refreshPages();
    waitForSearch();
    QVERIFY(!changed.isEmpty());
    QCOMPARE(m_bar->status(), QStringLiteral("1 dari 1"));
    QCOMPARE(marked(2, TextMarks::Found), 1);
    QCOMPARE(marked(2, TextMarks::Current), 1);
}

// The view shows another data set: the old preview goes while its matches are listed.
void tst_FindBar::previewGoingAwayEndsTheSearch()
{
    type("debitur");
    delete m_preview;
    m_preview = nullptr;
    QVERIFY(m_bar->finder()->matches().isEmpty());
    QVERIFY(m_bar->finder()->isComplete());
    m_bar->findNext();
    m_bar->findPrevious();
    QCOMPARE(m_bar->finder()->current(), -1);
    QCOMPARE(m_bar->status(), QStringLiteral("Tidak ditemukan"));
}

QTEST_MAIN(tst_FindBar)
#include "tst_findbar.moc"
