#include "callbackdatasource.h"

namespace LimeReport {

CallbackDataSource::CallbackDataSource(ICallbackDatasource* callbacks) : m_callbacks(callbacks) {}

CallbackDataSource::~CallbackDataSource()
{
    delete m_callbacks.data();
}

QVariant CallbackDataSource::ask(CallbackInfo::DataType type, int index, const QString& column,
                                 const QVariant& preset)
{
    CallbackInfo info;
    info.dataType = type;
    info.index = index;
    info.columnName = column;
    QVariant data = preset;
    if (m_callbacks)
        emit m_callbacks->getCallbackData(info, data);
    return data;
}

bool CallbackDataSource::changePos(CallbackInfo::ChangePosType type, bool preset)
{
    bool result = preset;
    if (m_callbacks)
        emit m_callbacks->changePos(type, result);
    return result;
}

void CallbackDataSource::discoverColumns()
{
    if (!m_columns.isEmpty())
        return;
    const QVariant count = ask(CallbackInfo::ColumnCount, 0, QString(), QVariant());
    if (count.isValid()) {
        const int n = count.toInt();
        for (int i = 0; i < n; ++i)
            m_columns << ask(CallbackInfo::ColumnHeaderData, i, QString(), QVariant()).toString();
        return;
    }
    // Without a count the source is asked column by column until it stops answering.
    for (int i = 0;; ++i) {
        const QVariant header = ask(CallbackInfo::ColumnHeaderData, i, QString(), QVariant());
        if (!header.isValid())
            break;
        m_columns << header.toString();
    }
}

bool CallbackDataSource::first()
{
    m_row = 0;
    m_rowCount = -1;
    const int count = ask(CallbackInfo::RowCount, 0, QString(), 0).toInt();
    if (count > 0) {
        m_rowCount = count;
    } else {
        ask(CallbackInfo::IsEmpty, 0, QString(), true);
        const QVariant second = ask(CallbackInfo::RowCount, 0, QString(), QVariant());
        if (second.isValid())
            m_rowCount = second.toInt();
    }
    const bool result = changePos(CallbackInfo::First, false);
    m_eof = m_rowCount > 0 ? false : !result;
    return !m_eof;
}

bool CallbackDataSource::hasNext()
{
    if (m_rowCount >= 0)
        return m_row < m_rowCount - 1;
    return ask(CallbackInfo::HasNext, m_row, QString(), false).toBool();
}

bool CallbackDataSource::next()
{
    if (m_eof)
        return false;
    if (!hasNext()) {
        m_eof = true;
        return false;
    }
    ++m_row;
    const bool result = changePos(CallbackInfo::Next, true);
    m_eof = m_rowCount >= 0 ? m_row >= m_rowCount : !result;
    return !m_eof;
}

QVariant CallbackDataSource::data(const QString& column)
{
    return ask(CallbackInfo::ColumnData, m_row, column, QVariant());
}

} // namespace LimeReport
