#ifndef TABLESOURCE_H
#define TABLESOURCE_H

#include <LimeReport>

#include <QObject>
#include <QStringList>

#include <functional>

// A callback source for engine tests: it answers the cursor protocol the way
// the application's sources do and records every question in `log`.
class TableSource : public QObject
{
    Q_OBJECT
public:
    using Rows = QList<QStringList>;

    TableSource(const QStringList& columns, const Rows& rows, QObject* parent = nullptr);

    // Rows asked for afresh on every First, e.g. the details of the master's current row.
    void setRowsProvider(const std::function<Rows()>& provider) { m_provider = provider; }
    void connectTo(LimeReport::ICallbackDatasource* source);
    // The row the cursor stands on, as the application's own sources keep it.
    QStringList current() const { return m_current; }

    QStringList log;

public slots:
    void getCallbackData(const LimeReport::CallbackInfo& info, QVariant& data);
    void changePos(const LimeReport::CallbackInfo::ChangePosType& type, bool& result);

private:
    QStringList m_columns;
    Rows m_rows;
    std::function<Rows()> m_provider;
    int m_position = 0;
    QStringList m_current;
};

#endif // TABLESOURCE_H
