#ifndef FACILITIESDS_H
#define FACILITIESDS_H

#include "recordcursor.h"

#include <lrcallbackinfo.h>

#include <QDate>
#include <QObject>

// Serves one facility list to the report engine: the facilities, and as detail
// sources the collaterals ("_col") and guarantors ("_gua") of the current facility.
// Each row's 24-month history is laid out once, here, relative to the request date.
class FacilitiesDs : public QObject
{
    Q_OBJECT
public:
    FacilitiesDs(const QStringList& columns, QVariantList rows, const QDate& referenceDate,
                 bool exportMode, QObject* parent = nullptr);

    bool exportMode() const { return m_exportMode; }
    const RecordCursor& facilities() const { return m_facilities; }
    const RecordCursor& collaterals() const { return m_collaterals; }
    const RecordCursor& guarantors() const { return m_guarantors; }

public slots:
    void slotGetCallbackData(const LimeReport::CallbackInfo& info, QVariant& data);
    void slotChangePos(const LimeReport::CallbackInfo::ChangePosType& type, bool& result);
    void slotGetCallbackDataCol(const LimeReport::CallbackInfo& info, QVariant& data);
    void slotChangePosCol(const LimeReport::CallbackInfo::ChangePosType& type, bool& result);
    void slotGetCallbackDataGua(const LimeReport::CallbackInfo& info, QVariant& data);
    void slotChangePosGua(const LimeReport::CallbackInfo::ChangePosType& type, bool& result);

private:
    bool m_exportMode;
    RecordCursor m_facilities;
    RecordCursor m_collaterals;
    RecordCursor m_guarantors;
};

#endif // FACILITIESDS_H
