#ifndef LRREPORTENGINE_H
#define LRREPORTENGINE_H

#include "lrrenderedpage.h"

#include <QObject>
#include <QString>

#include <memory>

class QPrinter;
class QWidget;

namespace LimeReport {

class IDataSourceManager;
class PreviewReportWidget;
class ReportEnginePrivate;

// Loads a template, renders it against the registered data sources and shows,
// prints or exports the pages. Every render starts the data sources from First.
class ReportEngine : public QObject
{
    Q_OBJECT
public:
    explicit ReportEngine(QObject* parent = nullptr);
    ~ReportEngine() override;

    // Replaces the current template. Data sources and variables survive.
    bool loadFromFile(const QString& fileName, bool autoLoadPreviewOnChange = false);
    bool loadFromString(const QString& xml, const QString& name = QString());
    bool loadFromByteArray(QByteArray* data, const QString& name = QString());
    QString lastError() const;

    IDataSourceManager* dataManager() const;

    // Renders the loaded template from scratch. Empty while another render runs
    // or when nothing is loaded.
    ReportPages renderPages();
    bool isBusy() const;

    // These two need widgets and come with the reportengine-widgets library.
    // Renders at once; the caller connects and then calls refreshPages().
    PreviewReportWidget* createPreviewWidget(QWidget* parent = nullptr);
    // A null printer asks the user for one the first time.
    bool printReport(QPrinter* printer = nullptr);

    // Appends ".pdf" when the name has no suffix. Asking the user for a name is the
    // preview widget's part (PreviewReportWidget::printToPDF).
    bool printToPDF(const QString& fileName);

signals:
    void loadFinished();
    void renderStarted();
    void renderFinished();
    void printedToPDF(const QString& fileName);

private:
    std::unique_ptr<ReportEnginePrivate> d;
};

} // namespace LimeReport

#endif // LRREPORTENGINE_H
