#include "datasource.h"

namespace LimeReport {

int DataSource::columnIndex(const QString& column) const
{
    const QStringList names = columns();
    // A list that is still the one indexed compares by its shared data alone.
    if (names != m_indexedColumns) {
        m_indexedColumns = names;
        m_columnIndexes.clear();
    }
    const auto known = m_columnIndexes.constFind(column);
    if (known != m_columnIndexes.constEnd())
        return *known;
    int index = -1;
    for (int i = 0; i < names.size() && index < 0; ++i) {
        if (names.at(i).compare(column, Qt::CaseInsensitive) == 0)
            index = i;
    }
    m_columnIndexes.insert(column, index);
    return index;
}

} // namespace LimeReport
