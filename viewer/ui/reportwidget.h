#ifndef REPORTWIDGET_H
#define REPORTWIDGET_H

#include <QModelIndex>
#include <QString>
#include <QStringList>
#include <QWidget>

class OpenResult;
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
class PreviewReportWidget;
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

    // Writes every data set as a text file into dir, then tells the user how it went.
    void exportToDirectory(const QString& dir);

    QString getFilename() const { return filename; }
    QString getReportFilename() const { return reportFilename; }
    QString getSelectedFilename() const { return selectedFilename; }
    LimeReport::PreviewReportWidget* getPreview() const { return preview; }
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
    void setFitWidth();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMainLayout();
    void buildToolbar();
    void toolbarGap();
    TabButton* addToolbarButton(const QString& name, const QString& tooltip,
                                const QString& iconPath);
    void runCommand(const QString& buttonName);
    void setNavigationState(int page);
    void reloadWithBusyIndicator();
    void releaseWhileRendering();
    void exportToText();
    void loadBuiltInDocument();
    bool isDocument() const;

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
    TabButton* firstButton = nullptr;
    TabButton* priorButton = nullptr;
    TabButton* nextButton = nullptr;
    TabButton* lastButton = nullptr;
    TabButton* exportButton = nullptr;
    QLabel* progressLabel = nullptr;
    QPushButton* cancelButton = nullptr;
    bool renderScheduled = false;
    bool reloadPending = false;
    QWidget* contentWidget = nullptr;
    QHBoxLayout* contentLayout = nullptr;
    QStandardItemModel* dataSetModel = nullptr;
    QTableView* dataSetTable = nullptr;
    QItemSelectionModel* dataSetSelection = nullptr;
};

#endif // REPORTWIDGET_H
