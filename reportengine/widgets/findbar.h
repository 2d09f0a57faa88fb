#ifndef FINDBAR_H
#define FINDBAR_H

#include <QWidget>

class QLabel;
class QLineEdit;
class QToolButton;

namespace LimeReport {

class PreviewReportWidget;
class ReportFinder;

// The find bar of a report view: finds as the user types, tells "x dari y", and goes
// from match to match with Enter and F3, back with Shift. Escape closes it and takes
// the marks away. It follows whichever preview its view shows.
class FindBar : public QWidget
{
    Q_OBJECT
public:
    explicit FindBar(QWidget* parent = nullptr);

    void setPreview(PreviewReportWidget* preview);
    ReportFinder* finder() const { return m_finder; }
    QLineEdit* field() const { return m_field; }
    // "3 dari 17", "Tidak ditemukan", or nothing while there is nothing to find.
    QString status() const;

public slots:
    // Shows the bar with its text selected, ready for a new one.
    void open();
    void dismiss();
    void findNext();
    void findPrevious();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showStatus();

    ReportFinder* m_finder;
    QLineEdit* m_field;
    QLabel* m_status;
    QToolButton* m_previous;
    QToolButton* m_next;
    QToolButton* m_close;
};

} // namespace LimeReport

#endif // FINDBAR_H
