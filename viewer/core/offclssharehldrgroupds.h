#ifndef OFFCLSSHAREHLDRGROUPDS_H
#define OFFCLSSHAREHLDRGROUPDS_H

#include "recordcursor.h"

#include <lrcallbackinfo.h>

#include <QObject>

// Serves a company's officer and shareholder groups, one per reporting member, and
// as detail source the officers of the current group. Groups and officers keep the
// document's order.
class OffclsSharehldrGroupDs : public QObject
{
    Q_OBJECT
public:
    explicit OffclsSharehldrGroupDs(const QVariantList& groups, QObject* parent = nullptr);

    static const QStringList& groupColumns();
    static const QStringList& officerColumns();

    const RecordCursor& groups() const { return m_groups; }
    const RecordCursor& officers() const { return m_officers; }

public slots:
    void slotGetCallbackData(const LimeReport::CallbackInfo& info, QVariant& data);
    void slotChangePos(const LimeReport::CallbackInfo::ChangePosType& type, bool& result);
    void slotGetCallbackDataOsh(const LimeReport::CallbackInfo& info, QVariant& data);
    void slotChangePosOsh(const LimeReport::CallbackInfo::ChangePosType& type, bool& result);

private:
    RecordCursor m_groups;
    RecordCursor m_officers;
};

#endif // OFFCLSSHAREHLDRGROUPDS_H
