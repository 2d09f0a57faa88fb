#ifndef MODELDATASOURCE_H
#define MODELDATASOURCE_H

#include "datasource.h"

#include <QPointer>

class QAbstractItemModel;

namespace LimeReport {

// Walks the rows of an item model; column names come from its horizontal header.
class ModelDataSource : public DataSource
{
public:
    ModelDataSource(QAbstractItemModel* model, bool owned);
    ~ModelDataSource() override;

    void discoverColumns() override;
    QStringList columns() const override { return m_columns; }
    bool first() override;
    bool next() override;
    bool eof() const override { return m_eof; }
    QVariant data(const QString& column) override;

private:
    QPointer<QAbstractItemModel> m_model;
    bool m_owned;
    QStringList m_columns;
    int m_row = 0;
    bool m_eof = true;
};

} // namespace LimeReport

#endif // MODELDATASOURCE_H
