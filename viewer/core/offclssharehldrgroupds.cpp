#include "offclssharehldrgroupds.h"

#include "documentdate.h"

namespace {

QList<QVariantMap> withReportDates(const QVariantList& groups)
{
    QList<QVariantMap> records;
    records.reserve(groups.size());
    for (const QVariant& groupValue : groups) {
        QVariantMap group = groupValue.toMap();
        // Also set when absent, so that the group line shows an empty date.
        group.insert(QStringLiteral("updatedDatetime"),
                     longDateOf(group.value(QStringLiteral("updatedDatetime"))));
        records.append(group);
    }
    return records;
}

} // namespace

OffclsSharehldrGroupDs::OffclsSharehldrGroupDs(const QVariantList& groups, QObject* parent)
    : QObject(parent), m_groups(groupColumns(), withReportDates(groups)),
      m_officers(officerColumns(), {})
{
}

const QStringList& OffclsSharehldrGroupDs::groupColumns()
{
    static const QStringList columns = {QStringLiteral("member"), QStringLiteral("memberDesc"),
                                        QStringLiteral("updatedDatetime")};
    return columns;
}

const QStringList& OffclsSharehldrGroupDs::officerColumns()
{
    static const QStringList columns = {
        QStringLiteral("identityNumberName"),
        QStringLiteral("identityNumber"),
        QStringLiteral("genderDesc"),
        QStringLiteral("jobPositionDesc"),
        QStringLiteral("shareholderStatusDesc"),
        QStringLiteral("shareOwnership"),
        QStringLiteral("address"),
        QStringLiteral("subDistrict"),
        QStringLiteral("district"),
        QStringLiteral("cityDesc"),
    };
    return columns;
}

void OffclsSharehldrGroupDs::slotGetCallbackData(const LimeReport::CallbackInfo& info,
                                                 QVariant& data)
{
    m_groups.callbackData(info, data);
}

void OffclsSharehldrGroupDs::slotChangePos(const LimeReport::CallbackInfo::ChangePosType& type,
                                           bool& result)
{
    m_groups.changePos(type, result);
    if (result)
        m_officers.setRecords(
            m_groups.current().value(QStringLiteral("offclsSharehldrs")).toList());
}

void OffclsSharehldrGroupDs::slotGetCallbackDataOsh(const LimeReport::CallbackInfo& info,
                                                    QVariant& data)
{
    m_officers.callbackData(info, data);
}

void OffclsSharehldrGroupDs::slotChangePosOsh(const LimeReport::CallbackInfo::ChangePosType& type,
                                              bool& result)
{
    m_officers.changePos(type, result);
}
