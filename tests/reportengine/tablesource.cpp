#include "tablesource.h"

TableSource::TableSource(const QStringList& columns, const Rows& rows, QObject* parent)
    : QObject(parent), m_columns(columns), m_rows(rows)
{
}

void TableSource::connectTo(LimeReport::ICallbackDatasource* source)
{
    connect(source, &LimeReport::ICallbackDatasource::getCallbackData, this,
            &TableSource::getCallbackData);
    connect(source, &LimeReport::ICallbackDatasource::changePos, this, &TableSource::changePos);
}

void TableSource::getCallbackData(const LimeReport::CallbackInfo& info, QVariant& data)
{
    using LimeReport::CallbackInfo;
    switch (info.dataType) {
    case CallbackInfo::IsEmpty:
        log << QStringLiteral("IsEmpty");
        data = m_rows.isEmpty();
        break;
    case CallbackInfo::HasNext:
        log << QStringLiteral("HasNext");
        data = m_position < m_rows.size();
        break;
    case CallbackInfo::ColumnHeaderData:
        data = info.index < m_columns.size() ? QVariant(m_columns.at(info.index)) : QVariant();
        break;
    case CallbackInfo::ColumnData: {
        log << QStringLiteral("Data %1 %2").arg(info.index).arg(info.columnName);
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
        m_position = 0;
        result = !m_rows.isEmpty();
    } else {
        result = m_position < m_rows.size();
    }
    log << QStringLiteral("%1 %2")
               .arg(type == LimeReport::CallbackInfo::First ? "First" : "Next")
               .arg(result);
    if (result) {
        m_current = m_rows.at(m_position);
        ++m_position;
    }
}
