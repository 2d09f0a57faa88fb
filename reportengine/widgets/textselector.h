#ifndef TEXTSELECTOR_H
#define TEXTSELECTOR_H

#include "lrpagetext.h"

#include <QObject>
#include <QPointF>
#include <QVector>

#include <memory>

class QPoint;

namespace LimeReport {

class PreviewReportWidget;

// Selecting text on the sheets of a preview with the mouse: a drag selects from where
// it started to where it is, in reading order; a double-click selects the value under
// it; Ctrl+C and the context menu's "Salin" put the selection on the clipboard. Over
// text the pointer is an I-beam. Wheel and scroll bars stay the view's.
class TextSelector : public QObject
{
    Q_OBJECT
public:
    explicit TextSelector(PreviewReportWidget* preview);
    ~TextSelector() override;

    QString selectedText() const;
    bool hasSelection() const { return !m_ranges.isEmpty(); }

public slots:
    void copy();
    void clearSelection();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The page under a point of the viewport (0-based), or -1.
    int pageAt(const QPoint& position) const;
    QPointF onPage(int page, const QPoint& position) const;
    const PageText& textOf(int page);
    void select(int page, const QVector<TextRange>& ranges);
    void showMenu(const QPoint& globalPosition);

    PreviewReportWidget* m_preview;
    int m_page = -1;
    QPointF m_anchor;
    bool m_dragging = false;
    QVector<TextRange> m_ranges;
    // The text of the page last pointed at, and the page it was read from.
    std::unique_ptr<PageText> m_text;
    int m_textPage = -1;
};

} // namespace LimeReport

#endif // TEXTSELECTOR_H
