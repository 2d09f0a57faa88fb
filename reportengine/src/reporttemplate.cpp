#include "reporttemplate.h"

namespace LimeReport {

ReportTemplate::ReportTemplate(std::unique_ptr<DesignObject> root) : m_root(std::move(root)) {}

QVector<const DesignObject*> ReportTemplate::pages() const
{
    QVector<const DesignObject*> list;
    for (const auto& page : m_root->collection(QStringLiteral("pages"))) {
        if (const DesignObject* item = page->object(QStringLiteral("pageItem")))
            list << item;
    }
    return list;
}

QMap<QString, QVariant> ReportTemplate::variables() const
{
    QMap<QString, QVariant> map;
    if (const DesignObject* manager = m_root->object(QStringLiteral("datasourcesManager"))) {
        for (const auto& var : manager->collection(QStringLiteral("variables")))
            map.insert(var->stringValue(QStringLiteral("name")),
                       var->value(QStringLiteral("value")));
    }
    return map;
}

bool ReportTemplate::suppressFieldAndVarError() const
{
    return m_root->boolValue(QStringLiteral("suppressFieldAndVarError"));
}

QString ReportTemplate::initScript() const
{
    const DesignObject* context = m_root->object(QStringLiteral("scriptContext"));
    return context ? context->stringValue(QStringLiteral("initScript")) : QString();
}

} // namespace LimeReport
