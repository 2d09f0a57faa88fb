#ifndef VARIABLESTORE_H
#define VARIABLESTORE_H

#include <QMap>
#include <QVariant>

namespace LimeReport {

class IDataSourceManager;

// The variables one render sees. Names match with case. Application variables
// win over the template's own; system variables (#PAGE, line_<band>, ...)
// are set by the renderer as it goes.
class VariableStore
{
public:
    VariableStore(IDataSourceManager& application, const QMap<QString, QVariant>& reportVariables);

    bool contains(const QString& name) const;
    QVariant value(const QString& name) const;
    // Script writes land in the report's own variables, never the application's.
    void setValue(const QString& name, const QVariant& value);
    void setSystem(const QString& name, const QVariant& value);
    void removeSystem(const QString& name);

private:
    IDataSourceManager& m_application;
    QMap<QString, QVariant> m_report;
    QMap<QString, QVariant> m_system;
};

} // namespace LimeReport

#endif // VARIABLESTORE_H
