#ifndef OUTLINEPANEL_H
#define OUTLINEPANEL_H

#include <QPointer>
#include <QVector>
#include <QWidget>

class QTreeWidget;
class QTreeWidgetItem;

namespace LimeReport {
class PreviewReportWidget;
} // namespace LimeReport

// The outline of the pages on screen as a tree beside them: choosing an entry (a
// click, or Enter) scrolls the pages to it, and the entry of the part being read is
// shown in bold as the pages scroll. It grows with the outline while the report is
// still being laid out.
class OutlinePanel : public QWidget
{
    Q_OBJECT
public:
    explicit OutlinePanel(QWidget* parent = nullptr);

    // Follows this preview's outline and scrolling; null shows nothing.
    void setPreview(LimeReport::PreviewReportWidget* preview);
    QTreeWidget* tree() const { return m_tree; }
    // The tree item of an outline entry, by its index in the preview's outline.
    QTreeWidgetItem* itemOf(int entry) const { return m_items.value(entry); }
    // The index of the entry shown as being read; -1 when none is.
    int markedEntry() const { return m_marked; }

private:
    void takeOutline();
    void markReadingPosition();
    void mark(int entry);
    void open(QTreeWidgetItem* item);

    QPointer<LimeReport::PreviewReportWidget> m_preview;
    QTreeWidget* m_tree;
    QVector<QTreeWidgetItem*> m_items;
    // The last item at each level so far, where a deeper entry goes.
    QVector<QTreeWidgetItem*> m_openItems;
    QVector<int> m_openLevels;
    int m_marked = -1;
};

#endif // OUTLINEPANEL_H
