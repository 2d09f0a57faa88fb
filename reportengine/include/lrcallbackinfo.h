#ifndef LRCALLBACKINFO_H
#define LRCALLBACKINFO_H

#include <QMetaType>
#include <QString>

namespace LimeReport {

// One question the engine asks a callback data source.
struct CallbackInfo
{
    enum DataType
    {
        IsEmpty,
        HasNext,
        ColumnHeaderData,
        ColumnData,
        ColumnCount,
        RowCount
    };
    enum ChangePosType
    {
        First,
        Next
    };

    DataType dataType = IsEmpty;
    // The row for ColumnData and HasNext, the column for ColumnHeaderData, 0 otherwise.
    int index = 0;
    // For ColumnData: the column as the template spells it.
    QString columnName;
};

} // namespace LimeReport

Q_DECLARE_METATYPE(LimeReport::CallbackInfo)
Q_DECLARE_METATYPE(LimeReport::CallbackInfo::ChangePosType)

#endif // LRCALLBACKINFO_H
