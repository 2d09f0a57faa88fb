#include "recordset.h"

#include <QDebug>

RecordSet::RecordSet(const QStringList& columns, const QVariantMap& row)
    : columns(columns), rows{row}
{
}

RecordSet::RecordSet(const QStringList& columns, const QVariantList& rows) : columns(columns)
{
    this->rows.reserve(rows.size());
    for (const QVariant& row : rows)
        this->rows.append(row.toMap());
}

QStringList words(const char* spaceSeparated)
{
    return QString::fromLatin1(spaceSeparated).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

void addElementList(QVariantMap& target, const QString& key, const QMap<QString, QString>& renaming,
                    const QVariantList& rows)
{
    if (renaming.isEmpty()) {
        target.insert(key, rows);
        return;
    }
    QVariantList renamed;
    renamed.reserve(rows.size());
    for (const QVariant& rowValue : rows) {
        const QVariantMap row = rowValue.toMap();
        QVariantMap out;
        for (auto it = renaming.cbegin(); it != renaming.cend(); ++it) {
            const QVariant value = row.value(it.key());
            qDebug().noquote() << "XXX addElementList " + it.key() + " " + it.value() + " " +
                                      value.toString();
            out.insert(it.value(), value);
        }
        renamed.append(out);
    }
    target.insert(key, renamed);
}
