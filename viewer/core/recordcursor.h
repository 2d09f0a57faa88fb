#ifndef RECORDCURSOR_H
#define RECORDCURSOR_H

#include <lrcallbackinfo.h>

#include <QList>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

// The cursor every data source serves to the report engine: a list of rows with
// fixed columns, moved by First and Next and read column by column. Only First
// resets it, so a band can walk the same rows again.
class RecordCursor
{
public:
    RecordCursor() = default;
    RecordCursor(const QStringList& columns, const QList<QVariantMap>& records);

    // Replaces the rows (a detail list following its master); columns stay.
    void setRecords(const QVariantList& records);

    const QStringList& columns() const { return m_columns; }
    const QList<QVariantMap>& records() const { return m_records; }
    const QVariantMap& current() const { return m_current; }
    int position() const { return m_position; }

    // Moves the cursor; `result` tells whether it now stands on a row.
    void changePos(LimeReport::CallbackInfo::ChangePosType type, bool& result);
    // Answers one question of the engine; RowCount is left unanswered.
    void callbackData(const LimeReport::CallbackInfo& info, QVariant& data) const;

private:
    QStringList m_columns;
    QList<QVariantMap> m_records;
    int m_position = 0;
    QVariantMap m_current;
};

#endif // RECORDCURSOR_H
