#ifndef REPORTTEMPLATE_H
#define REPORTTEMPLATE_H

#include "designobject.h"

#include <QMap>
#include <QVector>

namespace LimeReport {

// A loaded template: its page sheets in order and the report's own variables.
class ReportTemplate
{
public:
    explicit ReportTemplate(std::unique_ptr<DesignObject> root);

    // The PageItem of every page sheet, in file order.
    QVector<const DesignObject*> pages() const;
    QMap<QString, QVariant> variables() const;
    bool suppressFieldAndVarError() const;
    // Script run before each render; a false result cancels the render.
    QString initScript() const;

private:
    std::unique_ptr<DesignObject> m_root;
};

} // namespace LimeReport

#endif // REPORTTEMPLATE_H
