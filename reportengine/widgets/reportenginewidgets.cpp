// The members of ReportEngine that need widgets: the preview and the print dialog.
#include "lrreportengine.h"

#include "lrpreviewreportwidget.h"
#include "paperprinter.h"

#include <QPrintDialog>
#include <QPrinter>

#include <memory>

namespace LimeReport {

namespace {

// The printer the user chose on the first print without one. It lives as a child of
// its engine, so that later prints go to it without asking again and it goes with
// the engine.
class ChosenPrinter : public QObject
{
    Q_OBJECT
public:
    ChosenPrinter(std::unique_ptr<QPrinter> printer, QObject* engine)
        : QObject(engine), m_printer(std::move(printer))
    {
    }
    QPrinter* printer() const { return m_printer.get(); }

private:
    std::unique_ptr<QPrinter> m_printer;
};

} // namespace

PreviewReportWidget* ReportEngine::createPreviewWidget(QWidget* parent)
{
    auto* preview = new PreviewReportWidget(this, parent);
    preview->refreshPages();
    return preview;
}

bool ReportEngine::printReport(QPrinter* printer)
{
    if (!printer) {
        auto* chosen = findChild<ChosenPrinter*>(QString(), Qt::FindDirectChildrenOnly);
        if (!chosen) {
            auto candidate = std::make_unique<QPrinter>(QPrinter::HighResolution);
            QPrintDialog dialog(candidate.get());
            if (dialog.exec() != QDialog::Accepted)
                return false;
            chosen = new ChosenPrinter(std::move(candidate), this);
        }
        printer = chosen->printer();
    }
    const ReportPages pages = renderPages();
    return !pages.isEmpty() && PaperPrinter::print(pages, printer);
}

} // namespace LimeReport

#include "reportenginewidgets.moc"
