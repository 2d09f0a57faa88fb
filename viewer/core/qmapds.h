#ifndef QMAPDS_H
#define QMAPDS_H

#include "recordcursor.h"
#include "recordset.h"

#include <lrcallbackinfo.h>

#include <QObject>

// Serves one record set (a header, a debtor list, the facility summary) to the
// report engine.
class QMapDs : public QObject
{
    Q_OBJECT
public:
    explicit QMapDs(const RecordSet& recordSet, QObject* parent = nullptr);

    const RecordCursor& cursor() const { return m_cursor; }

public slots:
    void slotGetCallbackData(const LimeReport::CallbackInfo& info, QVariant& data);
    void slotChangePos(const LimeReport::CallbackInfo::ChangePosType& type, bool& result);

private:
    RecordCursor m_cursor;
};

#endif // QMAPDS_H
