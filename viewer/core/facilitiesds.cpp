#include "facilitiesds.h"

#include "facilityhistory.h"
#include "facilityrecords.h"
#include "stringpool.h"

#include <utility>

namespace {

QList<QVariantMap> laidOut(QVariantList rows, const QDate& referenceDate, bool exportMode)
{
    QList<QVariantMap> records;
    records.reserve(rows.size());
    // The texts the layout and the date forms make anew for every row (month labels,
    // long dates) mostly repeat from row to row.
    StringPool pool;
    for (QVariant& rowValue : rows) {
        QVariantMap row = rowValue.toMap();
        // Dropping the list's reference first lets the layout change the row in place
        // instead of copying it.
        rowValue.clear();
        FacilityHistory::layOut(row, referenceDate, exportMode);
        pool.shareValues(row);
        records.append(row);
    }
    return records;
}

} // namespace

FacilitiesDs::FacilitiesDs(const QStringList& columns, QVariantList rows,
                           const QDate& referenceDate, bool exportMode, QObject* parent)
    : QObject(parent), m_exportMode(exportMode),
      m_facilities(columns, laidOut(std::move(rows), referenceDate, exportMode)),
      m_collaterals(FacilityRecords::collateralColumns(), {}),
      m_guarantors(FacilityRecords::guarantorColumns(), {})
{
}

void FacilitiesDs::slotGetCallbackData(const LimeReport::CallbackInfo& info, QVariant& data)
{
    m_facilities.callbackData(info, data);
}

void FacilitiesDs::slotChangePos(const LimeReport::CallbackInfo::ChangePosType& type, bool& result)
{
    m_facilities.changePos(type, result);
    if (!result)
        return;
    m_collaterals.setRecords(FacilityRecords::displayCollaterals(m_facilities.current()));
    m_guarantors.setRecords(FacilityRecords::displayGuarantors(m_facilities.current()));
}

void FacilitiesDs::slotGetCallbackDataCol(const LimeReport::CallbackInfo& info, QVariant& data)
{
    m_collaterals.callbackData(info, data);
}

void FacilitiesDs::slotChangePosCol(const LimeReport::CallbackInfo::ChangePosType& type,
                                    bool& result)
{
    m_collaterals.changePos(type, result);
}

void FacilitiesDs::slotGetCallbackDataGua(const LimeReport::CallbackInfo& info, QVariant& data)
{
    m_guarantors.callbackData(info, data);
}

void FacilitiesDs::slotChangePosGua(const LimeReport::CallbackInfo::ChangePosType& type,
                                    bool& result)
{
    m_guarantors.changePos(type, result);
}
