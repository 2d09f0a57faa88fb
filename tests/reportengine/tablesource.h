#ifndef TABLESOURCE_H
#define TABLESOURCE_H

#include <LimeReport>

#include <QObject>
#include <QStringList>

#include <functional>

// A callback source for engine tests and benchmarks: it answers the cursor protocol
// the way the application's sources do. A source over stored rows records every
// question in `log`; a generated one makes its cells on demand and keeps no log, so
// that large runs measure the engine rather than the source.
class TableSource : public QObject
{
    Q_OBJECT
public:
    using Rows = QList<QStringList>;
    using Cell = std::function<QVariant(int row, const QString& column)>;

    TableSource(const QStringList& columns, const Rows& rows, QObject* parent = nullptr);
    // `rowCount` is asked afresh on every First.
    TableSource(const QStringList& columns, const std::function<int()>& rowCount, const Cell& cell,
                QObject* parent = nullptr);

    // Rows asked for afresh on every First, e.g. the details of the master's current row.
    void setRowsProvider(const std::function<Rows()>& provider) { m_provider = provider; }
    void connectTo(LimeReport::ICallbackDatasource* source);
    // The stored row the cursor stands on, as the application's own sources keep it.
    QStringList current() const { return m_current; }
    // The index of the row the cursor stands on; -1 before the first.
    int currentRow() const { return m_position - 1; }

    QStringList log;

public slots:
    void getCallbackData(const LimeReport::CallbackInfo& info, QVariant& data);
    void changePos(const LimeReport::CallbackInfo::ChangePosType& type, bool& result);

private:
    void record(const QString& question);
    // A generated source learns its row count on First; stored rows are counted as they stand.
    int rowCount() const { return m_rowCount ? m_count : m_rows.size(); }

    QStringList m_columns;
    Rows m_rows;
    std::function<Rows()> m_provider;
    std::function<int()> m_rowCount;
    Cell m_cell;
    int m_count = 0;
    int m_position = 0;
    QStringList m_current;
};

#endif // TABLESOURCE_H
