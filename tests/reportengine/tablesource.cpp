#include "tablesource.h"

TableSource::TableSource(const QStringList& columns, const Rows& rows, QObject* parent)
    : QObject(parent), m_columns(columns), m_rows(rows)
{
}

TableSource::TableSource(const QStringList& columns, const std::function<int()>& rowCount,
                         const Cell& cell, QObject* parent)
    : QObject(parent), m_columns(columns), m_rowCount(rowCount), m_cell(cell)
{
}

void TableSource::connectTo(LimeReport::ICallbackDatasource* source)
{
    connect(source, &LimeReport::ICallbackDatasource::getCallbackData, this,
            &TableSource::getCallbackData);
    connect(source, &LimeReport::ICallbackDatasource::changePos, this, &TableSource::changePos);
}

void TableSource::record(const QString& question)
{
    if (!m_cell)
        log << question;
}

void TableSource::getCallbackData(const LimeReport::CallbackInfo& info, QVariant& data)
{
    using LimeReport::CallbackInfo;
    switch (info.dataType) {
    case CallbackInfo::IsEmpty:
        record(QStringLiteral("IsEmpty"));
        data = rowCount() == 0;
        break;
    case CallbackInfo::HasNext:
        record(QStringLiteral("HasNext"));
        data = m_position < rowCount();
        break;
    case CallbackInfo::ColumnHeaderData:
        data = info.index < m_columns.size() ? QVariant(m_columns.at(info.index)) : QVariant();
        break;
    case CallbackInfo::ColumnData: {
        if (m_cell) {
            data = m_cell(currentRow(), info.columnName);
            break;
        }
        record(QStringLiteral("Data %1 %2").arg(info.index).arg(info.columnName));
        const int column = m_columns.indexOf(info.columnName);
        data = column >= 0 && column < m_current.size() ? m_current.at(column) : QString();
        break;
    }
    case CallbackInfo::ColumnCount:
        data = m_columns.size();
        break;
    case CallbackInfo::RowCount:
        break;
    }
}

void TableSource::changePos(const LimeReport::CallbackInfo::ChangePosType& type, bool& result)
{
    if (type == LimeReport::CallbackInfo::First) {
        if (m_provider)
            m_rows = m_provider();
        if (m_rowCount)
            m_count = m_rowCount();
        m_position = 0;
    }
    result = m_position < rowCount();
    record(QStringLiteral("%1 %2")
               .arg(type == LimeReport::CallbackInfo::First ? "First" : "Next")
               .arg(result));
    if (result) {
        if (!m_cell)
            m_current = m_rows.at(m_position);
        ++m_position;
    }
}
