#include "enginefixture.h"
#include "lrpreviewreportwidget.h"
#include "tablesource.h"
#include "textmarks.h"
#include "textselector.h"

#include <LimeReport>
#include <lrpagetext.h>

#include <QApplication>
#include <QClipboard>
#include <QGraphicsItem>
#include <QGraphicsView>
#include <QMenu>
#include <QScrollBar>
#include <QtTest>

using namespace LimeReport;

// Selecting and copying text in a preview of the list fixture, with the mouse as the
// user moves it.
class tst_TextSelection : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void dragSelectsAndCopies();
    void dragOverRowsJoinsThemWithLineEnds();
    void doubleClickSelectsAValue();
    void contextMenuCopies();
    void clickElsewhereDeselects();
    void pointerIsAnIBeamOverText();
    void wheelStillScrolls();

private:
    // Where a character boundary of an item of page 1 is on the viewport.
    QPoint at(const QString& text, int offset) const;
    const RenderedItem& item(const QString& text) const;
    void mouse(QEvent::Type type, const QPoint& position, Qt::MouseButtons buttons);
    void drag(const QPoint& from, const QPoint& to);
    void copy();

    std::unique_ptr<ReportEngine> m_engine;
    std::unique_ptr<TableSource> m_rows;
    std::unique_ptr<PreviewReportWidget> m_preview;
};

void tst_TextSelection::init()
{
    m_engine = std::make_unique<ReportEngine>();
    QVERIFY(m_engine->loadFromFile(engineFixture("list.lrxml")));
    TableSource::Rows rows;
    for (int i = 1; i <= 60; ++i)
        rows << QStringList{QStringLiteral("Debitur %1").arg(i), QString::number(i)};
    rows[0][0] = QStringLiteral("3273015507880003");
    m_rows = std::make_unique<TableSource>(QStringList{"name", "amount"}, rows);
    m_rows->connectTo(m_engine->dataManager()->createCallbackDatasource("rows"));
    m_preview = std::make_unique<PreviewReportWidget>(m_engine.get());
    static_cast<QWidget*>(m_preview.get())->resize(800, 600);
    m_preview->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_preview.get()));
    m_preview->refreshPages();
    m_preview->setScalePercent(40);
    m_preview->firstPage();
    QGuiApplication::clipboard()->clear();
}

void tst_TextSelection::cleanup()
{
    m_preview.reset();
    m_rows.reset();
    m_engine.reset();
}

const RenderedItem& tst_TextSelection::item(const QString& text) const
{
    const RenderedItem* found = m_preview->pages().at(0).findText(text);
    Q_ASSERT(found);
    return *found;
}

QPoint tst_TextSelection::at(const QString& text, int offset) const
{
    const RenderedPage& page = m_preview->pages().at(0);
    const int index = int(&item(text) - page.items().constData());
    const PageText pageText(page);
    const qreal x = pageText.boundaries(index, 0).at(offset);
    const QPointF onPage(x, item(text).rect.top() + item(text).lineHeight / 2);
    return m_preview->view()->mapFromScene(m_preview->pageItem(0)->mapToScene(onPage));
}

void tst_TextSelection::mouse(QEvent::Type type, const QPoint& position, Qt::MouseButtons buttons)
{
    QWidget* viewport = m_preview->view()->viewport();
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, position, viewport->mapToGlobal(position), button, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(viewport, &event);
}

void tst_TextSelection::drag(const QPoint& from, const QPoint& to)
{
    mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
    mouse(QEvent::MouseMove, (from + to) / 2, Qt::LeftButton);
    mouse(QEvent::MouseMove, to, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, to, Qt::NoButton);
}

// Ctrl+C where the user presses it: on the view.
void tst_TextSelection::copy()
{
    m_preview->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_preview.get()));
    m_preview->view()->setFocus();
    QTest::keyClick(m_preview->view(), Qt::Key_C, Qt::ControlModifier);
}

void tst_TextSelection::dragSelectsAndCopies()
{
    const QString amount = QStringLiteral("Rp 1,00");
    // From the middle of the number to the end of the amount beside it.
    drag(at("3273015507880003", 4), at(amount, amount.size()));
    QCOMPARE(m_preview->selector()->selectedText(), QStringLiteral("015507880003\tRp 1,00"));
    const TextMarks* marks = TextMarks::existing(m_preview->pageItem(0));
    QVERIFY(marks);
    QCOMPARE(marks->layer(TextMarks::Selected).size(), 2);
    copy();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("015507880003\tRp 1,00"));
}

void tst_TextSelection::dragOverRowsJoinsThemWithLineEnds()
{
    // Backwards, from the second row's amount to the start of the first row.
    drag(at("Rp 2,00", 7), at("3273015507880003", 0));
    QCOMPARE(m_preview->selector()->selectedText(),
             QStringLiteral("3273015507880003\tRp 1,00\n#1\nDebitur 2\tRp 2,00"));
}

void tst_TextSelection::doubleClickSelectsAValue()
{
    const QPoint middle = at("3273015507880003", 7);
    mouse(QEvent::MouseButtonPress, middle, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, middle, Qt::NoButton);
    mouse(QEvent::MouseButtonDblClick, middle + QPoint(1, 0), Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, middle + QPoint(1, 0), Qt::NoButton);
    QCOMPARE(m_preview->selector()->selectedText(), QStringLiteral("3273015507880003"));
    copy();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("3273015507880003"));
    // Double-clicked, the amount gives its number without "Rp".
    const QPoint amount = at("Rp 1,00", 5);
    mouse(QEvent::MouseButtonDblClick, amount, Qt::LeftButton);
    QCOMPARE(m_preview->selector()->selectedText(), QStringLiteral("1,00"));
}

void tst_TextSelection::contextMenuCopies()
{
    drag(at("Debitur 2", 0), at("Debitur 2", 9));
    QString offered;
    QTimer::singleShot(0, this, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        for (QAction* action : menu->actions()) {
            if (action->isEnabled() && action->text() == QStringLiteral("Salin")) {
                offered = action->text();
                action->trigger();
            }
        }
        menu->close();
    });
    QWidget* viewport = m_preview->view()->viewport();
    const QPoint position = at("Debitur 2", 3);
    QContextMenuEvent event(QContextMenuEvent::Mouse, position, viewport->mapToGlobal(position));
    QApplication::sendEvent(viewport, &event);
    QCOMPARE(offered, QStringLiteral("Salin"));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("Debitur 2"));
}

void tst_TextSelection::clickElsewhereDeselects()
{
    drag(at("Debitur 2", 0), at("Debitur 2", 9));
    QVERIFY(m_preview->selector()->hasSelection());
    const QPoint click = at("Debitur 2", 4);
    mouse(QEvent::MouseButtonPress, click, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, click, Qt::NoButton);
    QVERIFY(!m_preview->selector()->hasSelection());
    QCOMPARE(TextMarks::existing(m_preview->pageItem(0))->layer(TextMarks::Selected).size(), 0);
    // Ctrl+C with nothing selected leaves the clipboard as it was.
    QGuiApplication::clipboard()->setText(QStringLiteral("sebelumnya"));
    copy();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("sebelumnya"));
}

void tst_TextSelection::pointerIsAnIBeamOverText()
{
    QWidget* viewport = m_preview->view()->viewport();
    mouse(QEvent::MouseMove, at("Debitur 2", 3), Qt::NoButton);
    QCOMPARE(viewport->cursor().shape(), Qt::IBeamCursor);
    // The grey around the sheets holds no text.
    mouse(QEvent::MouseMove, QPoint(2, 2), Qt::NoButton);
    QCOMPARE(viewport->cursor().shape(), Qt::ArrowCursor);
}

void tst_TextSelection::wheelStillScrolls()
{
    QScrollBar* bar = m_preview->view()->verticalScrollBar();
    const int before = bar->value();
    QWidget* viewport = m_preview->view()->viewport();
    const QPoint position = at("Debitur 2", 3);
    QWheelEvent wheel(position, viewport->mapToGlobal(position), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &wheel);
    QVERIFY(bar->value() > before);
    QCOMPARE(m_preview->scalePercent(), 40);
}

QTEST_MAIN(tst_TextSelection)
#include "tst_textselection.moc"
