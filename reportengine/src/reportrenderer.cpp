#include "reportrenderer.h"

#include "datasourcemanager.h"
#include "reporttemplate.h"

namespace LimeReport {

ReportRenderer::ReportRenderer(const ReportTemplate& report, DataSourceManager& data)
    : m_report(report)
    , m_data(data)
{
}

ReportPages ReportRenderer::render()
{
    m_data.startRender();
    ReportPages pages;
    for (const DesignObject* page : m_report.pages())
        pages << RenderedPage(page->rectValue(QStringLiteral("geometry"), QRect(0, 0, 2100, 2970)).size());
    return pages;
}

} // namespace LimeReport
