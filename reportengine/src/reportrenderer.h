#ifndef REPORTRENDERER_H
#define REPORTRENDERER_H

#include "lrrenderedpage.h"

namespace LimeReport {

class DataSourceManager;
class ReportTemplate;

// Renders every page sheet of a template against the data manager's sources.
class ReportRenderer
{
public:
    ReportRenderer(const ReportTemplate& report, DataSourceManager& data);

    ReportPages render();

private:
    const ReportTemplate& m_report;
    DataSourceManager& m_data;
};

} // namespace LimeReport

#endif // REPORTRENDERER_H
