#ifndef REPORTWIDGET_H
#define REPORTWIDGET_H

#include "lrpreviewreportwidget.h"

#include <QFileDevice>
#include <QModelIndex>
#include <QString>
#include <QStringList>
#include <QWidget>

class OpenResult;
class OutlinePanel;
class QComboBox;
class QFrame;
class QHBoxLayout;
class QItemSelectionModel;
class QLabel;
class QPushButton;
class QSpinBox;
class QStandardItemModel;
class QTableView;
class QVBoxLayout;
class TabButton;
class TAVIDs;

namespace LimeReport {
class FindBar;
class ReportEngine;
} // namespace LimeReport

// The content of one document tab: a toolbar over an optional "Debitur" list of the
// document's data sets and the engine's page preview. Owns the engine, the data
// sources of the data set on screen and the decoded document. The built-in manual
// and FAQ ("MANUAL", "FAQ") are shown the same way, from their template alone.
class ReportWidget : public QWidget
{
    Q_OBJECT
public:
    // Takes ownership of openResult, which may be null for the built-in documents.
    ReportWidget(const QString& filename, const QString& reportFilename,
                 const QString& taviFilename, OpenResult* openResult);
    ~ReportWidget() override;

    // (Re)loads the report of the selected data set, or the built-in document, into a new preview.
    void initReport();
    // Builds the content area and the "Debitur" list, then loads the report.
    void addReport();
    // Removes every data-source name a previous load may have registered.
    void clearDataSources();

    // Writes every data set as a text file into dir, after asking before it replaces
    // any file there, then tells the user how many files went where, or why not.
    void exportToDirectory(const QString& dir);

    // Runs the command of the toolbar button of that name, as a click on it would.
    void runCommand(const QString& buttonName);

    QString getFilename() const { return filename; }
    QString getReportFilename() const { return reportFilename; }
    QString getSelectedFilename() const { return selectedFilename; }
    LimeReport::PreviewReportWidget* getPreview() const { return preview; }
    LimeReport::FindBar* getFindBar() const { return findBar; }
    OutlinePanel* getOutlinePanel() const { return outlinePanel; }
    int getPageCount() const { return pageCount; }
    // From the moment a report is loaded until its pages are all laid out.
    bool isLayingOut() const;

signals:
    void pagesSet(int page);
    void pageChanged(int page);
    void home();

public slots:
    void scaleComboboxChanged(const QString& text);
    void slotScalePercentChanged(int percent);
    void slotPageNavigatorChanged(int pageNumber);
    void slotPagesSet(int pagesCount);
    void slotPagesAdded(int pagesCount);
    void slotRenderingChanged(bool rendering);
    void slotPageChanged(int pageNumber);
    void currentRowChanged(const QModelIndex& current, const QModelIndex& previous);
    // After new pages: the zoom the user last saw, or the page width at first.
    void restoreZoom();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMainLayout();
    void buildToolbar();
    void toolbarGap();
    void buildFindBar();
    TabButton* addToolbarButton(const QString& name, const QString& tooltip,
                                const QString& iconPath);
    void setNavigationState(int page);
    void reloadWithBusyIndicator();
    void releaseWhileRendering();
    void exportToText();
    // Asks once before an export replaces files that exist; true when it may go on.
    bool mayReplace(const QStringList& paths);
    void reportWriteFailure(const QString& path, QFileDevice::FileError error,
                            const QString& errorText);
    void loadBuiltInDocument();
    bool isDocument() const;
    QString pdfName() const;
    void toggleOutline();

    TAVIDs* dataSources = nullptr;
    QString filename;
    QString reportFilename;
    QString taviFilename;
    QString selectedFilename;
    OpenResult* openResult = nullptr;
    int screenWidth = 0;
    QComboBox* scaleBox = nullptr;
    QSpinBox* pageBox = nullptr;
    LimeReport::ReportEngine* engine = nullptr;
    LimeReport::PreviewReportWidget* preview = nullptr;
    QVBoxLayout* mainLayout = nullptr;
    QHBoxLayout* toolbarLayout = nullptr;
    QFrame* toolbarFrame = nullptr;
    int pageCount = 0;
    // The last scale the preview showed once loaded, and whether it was a fit; kept
    // for the next data set.
    int keptPercent = 0;
    LimeReport::PreviewReportWidget::Fit keptFit = LimeReport::PreviewReportWidget::Fit::Width;
    // Between a load and the zoom that follows it, scale changes are the preview's own.
    bool loading = false;
    TabButton* firstButton = nullptr;
    TabButton* priorButton = nullptr;
    TabButton* nextButton = nullptr;
    TabButton* lastButton = nullptr;
    TabButton* exportButton = nullptr;
    TabButton* saveButton = nullptr;
    TabButton* printButton = nullptr;
    TabButton* outlineButton = nullptr;
    OutlinePanel* outlinePanel = nullptr;
    QLabel* progressLabel = nullptr;
    QPushButton* cancelButton = nullptr;
    bool renderScheduled = false;
    bool reloadPending = false;
    // Between the toolbar and the pages; it stays when another data set is shown.
    LimeReport::FindBar* findBar = nullptr;
    QWidget* contentWidget = nullptr;
    QHBoxLayout* contentLayout = nullptr;
    QStandardItemModel* dataSetModel = nullptr;
    QTableView* dataSetTable = nullptr;
    QItemSelectionModel* dataSetSelection = nullptr;
};

#endif // REPORTWIDGET_H
