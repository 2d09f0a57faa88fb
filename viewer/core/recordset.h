#ifndef RECORDSET_H
#define RECORDSET_H

#include <QMap>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

// One data set of the report as a data source serves it: the field keys the report
// may ask for, in their fixed order, and the rows. A row may lack a column or hold
// keys that are no column; how that is answered is the data source's business.
struct RecordSet
{
    RecordSet() = default;
    RecordSet(const QStringList& columns, const QVariantMap& row);
    RecordSet(const QStringList& columns, const QVariantList& rows);

    QStringList columns;
    QList<QVariantMap> rows;
};

// The column tables are written as one string of space-separated keys; this splits it.
QStringList words(const char* spaceSeparated);

// Stores `rows` under `key` in `target`. With a renaming map (source key to target
// key) every row is rebuilt to hold exactly the renamed keys, absent ones as invalid
// values; an empty map stores the rows unchanged.
void addElementList(QVariantMap& target, const QString& key, const QMap<QString, QString>& renaming,
                    const QVariantList& rows);

#endif // RECORDSET_H
