#ifndef DATASOURCEMANAGER_H
#define DATASOURCEMANAGER_H

#include "datasource.h"
#include "lridatasourcemanager.h"

#include <QMap>

#include <map>
#include <memory>

namespace LimeReport {

class DataSourceManager : public IDataSourceManager
{
public:
    DataSourceManager();
    ~DataSourceManager() override;

    ICallbackDatasource* createCallbackDatasource(const QString& name) override;
    bool addModel(const QString& name, QAbstractItemModel* model, bool owned) override;
    bool containsDatasource(const QString& name) override;
    void removeModel(const QString& name) override;
    QStringList dataSourceNames() const override;

    void setReportVariable(const QString& name, const QVariant& value) override;
    void deleteVariable(const QString& name) override;
    bool containsVariable(const QString& name) override;
    QVariant variable(const QString& name) override;
    void clearUserVariables() override;

    // Null when no source has that name.
    DataSource* dataSource(const QString& name) const;
    // Changes whenever a source is added or removed: a source found before stays the
    // one of its name as long as this has not changed.
    int generation() const { return m_generation; }
    // What every render does first: learn missing columns, then First on every source.
    void startRender();

private:
    std::map<QString, std::unique_ptr<DataSource>> m_sources; // keyed by lower-case name
    QMap<QString, QVariant> m_variables;
    int m_generation = 0;
};

} // namespace LimeReport

#endif // DATASOURCEMANAGER_H
