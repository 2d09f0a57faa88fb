#include "recordcursor.h"

RecordCursor::RecordCursor(const QStringList& columns, const QList<QVariantMap>& records)
    : m_columns(columns), m_records(records)
{
}

void RecordCursor::setRecords(const QVariantList& records)
{
    m_records.clear();
    m_records.reserve(records.size());
    for (const QVariant& record : records)
        m_records.append(record.toMap());
    // A new list starts before its first row: a Next that comes before the band's
    // First then walks the new rows from the start, and no row of the previous
    // master shows through.
    m_position = 0;
    m_current.clear();
}

void RecordCursor::changePos(LimeReport::CallbackInfo::ChangePosType type, bool& result)
{
    if (type == LimeReport::CallbackInfo::First) {
        result = !m_records.isEmpty();
        if (result)
            m_position = 0;
    } else {
        result = m_position < m_records.size();
    }
    if (result) {
        m_current = m_records.at(m_position);
        ++m_position;
    }
}

void RecordCursor::callbackData(const LimeReport::CallbackInfo& info, QVariant& data) const
{
    switch (info.dataType) {
    case LimeReport::CallbackInfo::IsEmpty:
        data = m_records.isEmpty();
        break;
    case LimeReport::CallbackInfo::HasNext:
        data = m_position < m_records.size();
        break;
    case LimeReport::CallbackInfo::ColumnHeaderData:
        if (info.index >= 0 && info.index < m_columns.size())
            data = m_columns.at(info.index);
        break;
    case LimeReport::CallbackInfo::ColumnData:
        data = m_current.value(info.columnName).toString();
        break;
    case LimeReport::CallbackInfo::ColumnCount:
        data = m_columns.size();
        break;
    case LimeReport::CallbackInfo::RowCount:
        break;
    }
}
