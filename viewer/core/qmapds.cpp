#include "qmapds.h"

QMapDs::QMapDs(const RecordSet& recordSet, QObject* parent)
    : QObject(parent), m_cursor(recordSet.columns, recordSet.rows)
{
}

void QMapDs::slotGetCallbackData(const LimeReport::CallbackInfo& info, QVariant& data)
{
    m_cursor.callbackData(info, data);
}

void QMapDs::slotChangePos(const LimeReport::CallbackInfo::ChangePosType& type, bool& result)
{
    m_cursor.changePos(type, result);
}
