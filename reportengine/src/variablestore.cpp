#include "variablestore.h"

#include "lridatasourcemanager.h"

namespace LimeReport {

VariableStore::VariableStore(IDataSourceManager& application,
                             const QMap<QString, QVariant>& reportVariables)
    : m_application(application), m_report(reportVariables)
{
}

bool VariableStore::contains(const QString& name) const
{
    return m_system.contains(name) || m_application.containsVariable(name) ||
           m_report.contains(name);
}

QVariant VariableStore::value(const QString& name) const
{
    const auto system = m_system.constFind(name);
    if (system != m_system.constEnd())
        return *system;
    if (m_application.containsVariable(name))
        return m_application.variable(name);
    return m_report.value(name);
}

void VariableStore::setValue(const QString& name, const QVariant& value)
{
    m_report.insert(name, value);
}

void VariableStore::setSystem(const QString& name, const QVariant& value)
{
    m_system.insert(name, value);
}

void VariableStore::removeSystem(const QString& name)
{
    m_system.remove(name);
}

} // namespace LimeReport
