#ifndef DATASOURCE_H
#define DATASOURCE_H

#include <QHash>
#include <QStringList>
#include <QVariant>

namespace LimeReport {

// The engine's cursor over one named source. After the last row it keeps
// answering for the last row, so footers see last-row values.
class DataSource
{
public:
    virtual ~DataSource() = default;

    // Learns the column names if they are not known yet.
    virtual void discoverColumns() = 0;
    virtual QStringList columns() const = 0;
    // False when the source is empty.
    virtual bool first() = 0;
    // False when no row follows; the cursor then stays on the last row.
    virtual bool next() = 0;
    virtual bool eof() const = 0;
    // The value of a column of the current row, the column spelled as the template does.
    virtual QVariant data(const QString& column) = 0;

    // Columns match without regard to case; -1 when there is no such column.
    int columnIndex(const QString& column) const;
    bool hasColumn(const QString& column) const { return columnIndex(column) >= 0; }

private:
    // Each spelling a template uses is looked up once per list of columns: fields are
    // asked for on every row, among some hundred columns.
    mutable QStringList m_indexedColumns;
    mutable QHash<QString, int> m_columnIndexes;
};

} // namespace LimeReport

#endif // DATASOURCE_H
