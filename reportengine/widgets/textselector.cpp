#include "textselector.h"

#include "lrpreviewreportwidget.h"
#include "textmarks.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGraphicsItem>
#include <QGraphicsView>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QShortcut>

namespace LimeReport {

TextSelector::TextSelector(PreviewReportWidget* preview) : QObject(preview), m_preview(preview)
{
    preview->view()->viewport()->installEventFilter(this);
    // The pointer changes over text before any button is pressed.
    preview->view()->viewport()->setMouseTracking(true);
    auto* copying = new QShortcut(QKeySequence::Copy, preview);
    copying->setContext(Qt::WidgetWithChildrenShortcut);
    connect(copying, &QShortcut::activated, this, &TextSelector::copy);
    // The last pages are drawn again once their page count is known: what was
    // selected on them is no longer there.
    connect(preview, &PreviewReportWidget::pagesSet, this, &TextSelector::clearSelection);
}

TextSelector::~TextSelector() = default;

int TextSelector::pageAt(const QPoint& position) const
{
    const QPointF scene = m_preview->view()->mapToScene(position);
    for (int page = 0; page < m_preview->pageCount(); ++page) {
        const QGraphicsItem* sheet = m_preview->pageItem(page);
        if (sheet && sheet->sceneBoundingRect().contains(scene))
            return page;
    }
    return -1;
}

QPointF TextSelector::onPage(int page, const QPoint& position) const
{
    const QGraphicsItem* sheet = m_preview->pageItem(page);
    const QPointF scene = m_preview->view()->mapToScene(position);
    return sheet ? sheet->mapFromScene(scene) : scene;
}

const PageText& TextSelector::textOf(int page)
{
    const RenderedPage& shown = m_preview->pages().at(page);
    // A page redrawn in place (its page count filled in) has new items.
    if (!m_text || m_textPage != page ||
        m_text->page().items().constData() != shown.items().constData()) {
        m_text = std::make_unique<PageText>(shown);
        m_textPage = page;
    }
    return *m_text;
}

void TextSelector::select(int page, const QVector<TextRange>& ranges)
{
    if (m_page >= 0 && m_page != page) {
        if (TextMarks* marks = TextMarks::existing(m_preview->pageItem(m_page)))
            marks->clearLayer(TextMarks::Selected);
    }
    m_page = page;
    m_ranges = ranges;
    if (page < 0)
        return;
    QVector<QRectF> rects;
    if (!ranges.isEmpty()) {
        const PageText& text = textOf(page);
        for (const TextRange& range : ranges)
            rects << text.rects(range);
    }
    if (TextMarks* marks = rects.isEmpty() ? TextMarks::existing(m_preview->pageItem(page))
                                           : TextMarks::of(m_preview->pageItem(page)))
        marks->setLayer(TextMarks::Selected, rects);
}

void TextSelector::clearSelection()
{
    select(m_page, {});
}

QString TextSelector::selectedText() const
{
    if (m_ranges.isEmpty() || m_page < 0 || m_page >= m_preview->pageCount())
        return QString();
    return PageText(m_preview->pages().at(m_page)).text(m_ranges);
}

void TextSelector::copy()
{
    const QString text = selectedText();
    if (!text.isEmpty())
        QGuiApplication::clipboard()->setText(text);
}

void TextSelector::showMenu(const QPoint& globalPosition)
{
    QMenu menu(m_preview);
    QAction* copying = menu.addAction(tr("Salin"), this, &TextSelector::copy);
    copying->setShortcut(QKeySequence::Copy);
    copying->setEnabled(hasSelection());
    menu.exec(globalPosition);
}

bool TextSelector::eventFilter(QObject* watched, QEvent* event)
{
    QWidget* viewport = m_preview->view()->viewport();
    if (watched != viewport)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton)
            break;
        // Ctrl+C then copies from here, wherever the focus was before.
        m_preview->view()->setFocus(Qt::MouseFocusReason);
        const int page = pageAt(mouse->pos());
        select(page, {});
        m_dragging = page >= 0;
        if (m_dragging)
            m_anchor = onPage(page, mouse->pos());
        break;
    }
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (m_dragging && (mouse->buttons() & Qt::LeftButton)) {
            select(m_page, textOf(m_page).between(m_anchor, onPage(m_page, mouse->pos())));
            break;
        }
        const int page = pageAt(mouse->pos());
        const bool overText = page >= 0 && textOf(page).itemAt(onPage(page, mouse->pos())) >= 0;
        if (overText)
            viewport->setCursor(Qt::IBeamCursor);
        else
            viewport->unsetCursor();
        break;
    }
    case QEvent::MouseButtonRelease:
        m_dragging = false;
        break;
    case QEvent::MouseButtonDblClick: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const int page = pageAt(mouse->pos());
        if (mouse->button() == Qt::LeftButton && page >= 0) {
            const TextRange word = textOf(page).wordAt(onPage(page, mouse->pos()));
            select(page, word.isEmpty() ? QVector<TextRange>() : QVector<TextRange>{word});
        }
        break;
    }
    case QEvent::ContextMenu:
        showMenu(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace LimeReport
