#include "datasource.h"

namespace LimeReport {

int DataSource::columnIndex(const QString& column) const
{
    const QStringList names = columns();
    for (int i = 0; i < names.size(); ++i) {
        if (names.at(i).compare(column, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

} // namespace LimeReport
