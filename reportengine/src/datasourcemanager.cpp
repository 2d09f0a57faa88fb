#include "datasourcemanager.h"

#include "callbackdatasource.h"
#include "lrreporterror.h"
#include "modeldatasource.h"

namespace LimeReport {

static const char* const tableOfContents = "tableofcontents";

DataSourceManager::DataSourceManager()
{
    createCallbackDatasource(QLatin1String(tableOfContents));
}

DataSourceManager::~DataSourceManager() = default;

ICallbackDatasource* DataSourceManager::createCallbackDatasource(const QString& name)
{
    const QString key = name.toLower();
    if (m_sources.count(key))
        throw ReportError(QStringLiteral("Datasource with name \"%1\" already exists!").arg(name));
    auto* callbacks = new ICallbackDatasource;
    m_sources[key] = std::make_unique<CallbackDataSource>(callbacks);
    ++m_generation;
    return callbacks;
}

bool DataSourceManager::addModel(const QString& name, QAbstractItemModel* model, bool owned)
{
    auto source = std::make_unique<ModelDataSource>(model, owned);
    source->discoverColumns();
    m_sources[name.toLower()] = std::move(source);
    ++m_generation;
    return true;
}

bool DataSourceManager::containsDatasource(const QString& name)
{
    return m_sources.count(name.toLower()) > 0;
}

void DataSourceManager::removeModel(const QString& name)
{
    m_sources.erase(name.toLower());
    ++m_generation;
}

QStringList DataSourceManager::dataSourceNames() const
{
    QStringList names;
    for (const auto& entry : m_sources)
        names << entry.first;
    return names;
}

void DataSourceManager::setReportVariable(const QString& name, const QVariant& value)
{
    m_variables[name] = value;
}

void DataSourceManager::deleteVariable(const QString& name)
{
    m_variables.remove(name);
}

bool DataSourceManager::containsVariable(const QString& name)
{
    return m_variables.contains(name);
}

QVariant DataSourceManager::variable(const QString& name)
{
    return m_variables.value(name);
}

void DataSourceManager::clearUserVariables()
{
    m_variables.clear();
}

DataSource* DataSourceManager::dataSource(const QString& name) const
{
    const auto it = m_sources.find(name.toLower());
    return it == m_sources.end() ? nullptr : it->second.get();
}

void DataSourceManager::startRender()
{
    for (auto& entry : m_sources)
        entry.second->discoverColumns();
    for (auto& entry : m_sources)
        entry.second->first();
}

} // namespace LimeReport
