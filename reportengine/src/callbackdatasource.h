#ifndef CALLBACKDATASOURCE_H
#define CALLBACKDATASOURCE_H

#include "datasource.h"
#include "lricallbackdatasource.h"

#include <QPointer>

namespace LimeReport {

// Drives an application's callback source through its two signals.
class CallbackDataSource : public DataSource
{
public:
    explicit CallbackDataSource(ICallbackDatasource* callbacks);
    ~CallbackDataSource() override;

    void discoverColumns() override;
    QStringList columns() const override { return m_columns; }
    bool first() override;
    bool next() override;
    bool eof() const override { return m_eof; }
    QVariant data(const QString& column) override;

private:
    QVariant ask(CallbackInfo::DataType type, int index, const QString& column,
                 const QVariant& preset);
    bool changePos(CallbackInfo::ChangePosType type, bool preset);
    bool hasNext();

    // Owned, but guarded: an application that deletes the object itself
    // leaves an empty source instead of a dangling one.
    QPointer<ICallbackDatasource> m_callbacks;
    QStringList m_columns;
    int m_row = 0;
    int m_rowCount = -1;
    bool m_eof = true;
};

} // namespace LimeReport

#endif // CALLBACKDATASOURCE_H
