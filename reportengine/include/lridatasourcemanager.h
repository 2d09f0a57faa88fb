#ifndef LRIDATASOURCEMANAGER_H
#define LRIDATASOURCEMANAGER_H

#include <QString>
#include <QStringList>
#include <QVariant>

class QAbstractItemModel;

namespace LimeReport {

class ICallbackDatasource;

// The engine's registry of named data sources and application variables. Source
// names match without regard to case. The manager owns every source it holds.
class IDataSourceManager
{
public:
    virtual ~IDataSourceManager() = default;

    // Throws ReportError when the name is already taken.
    virtual ICallbackDatasource* createCallbackDatasource(const QString& name) = 0;
    // Replaces any source of that name; with owned, the model dies with the source.
    virtual bool addModel(const QString& name, QAbstractItemModel* model, bool owned) = 0;
    virtual bool containsDatasource(const QString& name) = 0;
    // Removes and destroys the source of that name, of whatever kind.
    virtual void removeModel(const QString& name) = 0;
    virtual QStringList dataSourceNames() const = 0;

    virtual void setReportVariable(const QString& name, const QVariant& value) = 0;
    virtual void deleteVariable(const QString& name) = 0;
    virtual bool containsVariable(const QString& name) = 0;
    virtual QVariant variable(const QString& name) = 0;
    virtual void clearUserVariables() = 0;
};

} // namespace LimeReport

#endif // LRIDATASOURCEMANAGER_H
