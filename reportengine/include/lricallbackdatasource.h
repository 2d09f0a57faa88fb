#ifndef LRICALLBACKDATASOURCE_H
#define LRICALLBACKDATASOURCE_H

#include "lrcallbackinfo.h"

#include <QObject>
#include <QVariant>

namespace LimeReport {

// A data source whose rows come from the application. The engine emits these
// signals while it renders; the application's slots, connected directly on the
// same thread, answer through the reference arguments.
class ICallbackDatasource : public QObject
{
    Q_OBJECT
public:
    explicit ICallbackDatasource(QObject* parent = nullptr) : QObject(parent) {}

signals:
    void getCallbackData(const LimeReport::CallbackInfo& info, QVariant& data);
    void changePos(const LimeReport::CallbackInfo::ChangePosType& type, bool& result);
};

} // namespace LimeReport

#endif // LRICALLBACKDATASOURCE_H
