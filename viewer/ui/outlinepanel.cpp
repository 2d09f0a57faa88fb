#include "outlinepanel.h"

#include "lrpreviewreportwidget.h"

#include <QGraphicsView>
#include <QHeaderView>
#include <QScrollBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int entryRole = Qt::UserRole + 1;
// The part being read starts a little below the top of the view: a section whose
// title was scrolled to shows its title there, just under the page's upper edge.
constexpr qreal readingDepth = 50;

} // namespace

OutlinePanel::OutlinePanel(QWidget* parent) : QWidget(parent), m_tree(new QTreeWidget(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tree);
    m_tree->setObjectName(QStringLiteral("outlineTree"));
    m_tree->setHeaderLabels({QStringLiteral("Daftar Isi")});
    m_tree->setAccessibleName(QStringLiteral("Daftar Isi"));
    m_tree->header()->setStretchLastSection(true);
    m_tree->setTextElideMode(Qt::ElideRight);
    // Headed as the "Debitur" list beside it is.
    QFont headerFont = m_tree->header()->font();
    headerFont.setPixelSize(14);
    m_tree->header()->setFont(headerFont);
    m_tree->header()->setFixedHeight(40);
    m_tree->header()->setDefaultAlignment(Qt::AlignCenter);
    m_tree->setStyleSheet(
        QStringLiteral("QTreeWidget { background-color: white; } "
                       "QHeaderView::section { background-color: #f0f0f0; border: none; }"));
    // A click jumps at once; Enter (and a double click) comes as an activation.
    connect(m_tree, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { open(item); });
    connect(m_tree, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { open(item); });
}

void OutlinePanel::setPreview(LimeReport::PreviewReportWidget* preview)
{
    if (m_preview)
        m_preview->disconnect(this);
    m_preview = preview;
    takeOutline();
    if (!preview)
        return;
    connect(preview, &LimeReport::PreviewReportWidget::outlineChanged, this,
            &OutlinePanel::takeOutline);
    connect(preview->view()->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &OutlinePanel::markReadingPosition);
}

void OutlinePanel::takeOutline()
{
    const LimeReport::ReportOutline outline =
        m_preview ? m_preview->outline() : LimeReport::ReportOutline();
    // The outline only grows during a render; anything else is a new one.
    if (outline.size() < m_items.size()) {
        m_tree->clear();
        m_items.clear();
        m_openItems.clear();
        m_openLevels.clear();
        m_marked = -1;
    }
    for (int i = m_items.size(); i < outline.size(); ++i) {
        const LimeReport::OutlineEntry& entry = outline.at(i);
        while (!m_openLevels.isEmpty() && m_openLevels.last() >= entry.level) {
            m_openLevels.removeLast();
            m_openItems.removeLast();
        }
        QTreeWidgetItem* parent = m_openItems.isEmpty() ? nullptr : m_openItems.last();
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(m_tree);
        item->setText(0, entry.title);
        item->setToolTip(0, entry.title);
        item->setData(0, entryRole, i);
        // Sections show what they hold; deeper levels open when asked.
        if (parent && !parent->parent())
            parent->setExpanded(true);
        m_items << item;
        m_openItems << item;
        m_openLevels << entry.level;
    }
    markReadingPosition();
}

void OutlinePanel::open(QTreeWidgetItem* item)
{
    if (!item || !m_preview)
        return;
    const int index = item->data(0, entryRole).toInt();
    const LimeReport::ReportOutline& outline = m_preview->outline();
    if (index < 0 || index >= outline.size())
        return;
    m_preview->goToPosition(outline.at(index).page + 1, outline.at(index).y);
    mark(index);
}

void OutlinePanel::markReadingPosition()
{
    if (!m_preview || m_items.isEmpty())
        return;
    const QPair<int, qreal> top = m_preview->topPosition();
    if (top.first < 1)
        return;
    const int page = top.first - 1;
    const qreal y = top.second + readingDepth;
    // Entries come in page order, top to bottom: the last one at or above the
    // reading position is the part being read.
    const LimeReport::ReportOutline& outline = m_preview->outline();
    const int known = std::min(int(outline.size()), int(m_items.size()));
    const auto after = std::upper_bound(
        outline.begin(), outline.begin() + known, qMakePair(page, y),
        [](const QPair<int, qreal>& at, const LimeReport::OutlineEntry& entry) {
            return at.first < entry.page || (at.first == entry.page && at.second < entry.y);
        });
    mark(int(after - outline.begin()) - 1);
}

void OutlinePanel::mark(int entry)
{
    if (entry == m_marked)
        return;
    if (QTreeWidgetItem* old = m_items.value(m_marked)) {
        QFont font = old->font(0);
        font.setBold(false);
        old->setFont(0, font);
    }
    m_marked = entry;
    if (QTreeWidgetItem* item = m_items.value(entry)) {
        QFont font = item->font(0);
        font.setBold(true);
        item->setFont(0, font);
        m_tree->scrollToItem(item);
    }
}
