#include "modeldatasource.h"

#include <QAbstractItemModel>

namespace LimeReport {

ModelDataSource::ModelDataSource(QAbstractItemModel* model, bool owned)
    : m_model(model), m_owned(owned)
{
}

ModelDataSource::~ModelDataSource()
{
    if (m_owned)
        delete m_model.data();
}

void ModelDataSource::discoverColumns()
{
    m_columns.clear();
    if (!m_model)
        return;
    for (int c = 0; c < m_model->columnCount(); ++c) {
        QVariant header = m_model->headerData(c, Qt::Horizontal, Qt::UserRole);
        if (!header.isValid())
            header = m_model->headerData(c, Qt::Horizontal, Qt::DisplayRole);
        m_columns << header.toString();
    }
}

bool ModelDataSource::first()
{
    m_row = 0;
    m_eof = !m_model || m_model->rowCount() == 0;
    return !m_eof;
}

bool ModelDataSource::next()
{
    if (m_eof || m_row + 1 >= m_model->rowCount()) {
        m_eof = true;
        return false;
    }
    ++m_row;
    return true;
}

QVariant ModelDataSource::data(const QString& column)
{
    const int c = columnIndex(column);
    if (!m_model || c < 0 || m_row >= m_model->rowCount())
        return QVariant();
    return m_model->index(m_row, c).data(Qt::DisplayRole);
}

} // namespace LimeReport
