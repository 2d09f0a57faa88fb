#include "sortfilterproxymodel.h"

#include <QQmlEngine>

SortFilterProxyModel::SortFilterProxyModel(QObject* parent) : QSortFilterProxyModel(parent)
{
    connect(this, &QAbstractItemModel::rowsInserted, this, &SortFilterProxyModel::countChanged);
    connect(this, &QAbstractItemModel::rowsRemoved, this, &SortFilterProxyModel::countChanged);
    // A new or removed source resets the proxy without row signals; bindings on
    // count must still hear of it.
    connect(this, &QAbstractItemModel::modelReset, this, &SortFilterProxyModel::countChanged);
}

int SortFilterProxyModel::count() const
{
    return rowCount();
}

QObject* SortFilterProxyModel::source() const
{
    return sourceModel();
}

void SortFilterProxyModel::setSource(QObject* source)
{
    setSourceModel(qobject_cast<QAbstractItemModel*>(source));
}

QByteArray SortFilterProxyModel::sortRole() const
{
    return m_sortRole;
}

void SortFilterProxyModel::setSortRole(const QByteArray& role)
{
    if (m_sortRole == role)
        return;
    m_sortRole = role;
    if (m_complete)
        QSortFilterProxyModel::setSortRole(roleKey(role));
}

void SortFilterProxyModel::setSortOrder(Qt::SortOrder order)
{
    sort(0, order);
}

QByteArray SortFilterProxyModel::filterRole() const
{
    return m_filterRole;
}

void SortFilterProxyModel::setFilterRole(const QByteArray& role)
{
    if (m_filterRole == role)
        return;
    m_filterRole = role;
    if (m_complete)
        QSortFilterProxyModel::setFilterRole(roleKey(role));
}

QString SortFilterProxyModel::filterString() const
{
    return filterRegExp().pattern();
}

void SortFilterProxyModel::setFilterString(const QString& filter)
{
    setFilterRegExp(
        QRegExp(filter, filterCaseSensitivity(), QRegExp::PatternSyntax(filterSyntax())));
}

SortFilterProxyModel::FilterSyntax SortFilterProxyModel::filterSyntax() const
{
    return FilterSyntax(filterRegExp().patternSyntax());
}

void SortFilterProxyModel::setFilterSyntax(FilterSyntax syntax)
{
    setFilterRegExp(
        QRegExp(filterString(), filterCaseSensitivity(), QRegExp::PatternSyntax(syntax)));
}

QJSValue SortFilterProxyModel::get(int index) const
{
    QQmlEngine* engine = qmlEngine(this);
    if (!engine)
        return QJSValue();
    QJSValue row = engine->newObject();
    if (index < 0 || index >= count())
        return row;
    const QModelIndex proxyIndex = this->index(index, 0);
    const QHash<int, QByteArray> roles = roleNames();
    for (auto it = roles.cbegin(); it != roles.cend(); ++it)
        row.setProperty(QString::fromUtf8(it.value()), data(proxyIndex, it.key()).toString());
    return row;
}

int SortFilterProxyModel::roleKey(const QByteArray& role) const
{
    const QHash<int, QByteArray> roles = roleNames();
    for (auto it = roles.cbegin(); it != roles.cend(); ++it) {
        if (it.value() == role)
            return it.key();
    }
    return -1;
}

QHash<int, QByteArray> SortFilterProxyModel::roleNames() const
{
    if (QAbstractItemModel* model = sourceModel())
        return model->roleNames();
    return QHash<int, QByteArray>();
}

void SortFilterProxyModel::classBegin() {}

void SortFilterProxyModel::componentComplete()
{
    m_complete = true;
    if (!m_sortRole.isEmpty())
        QSortFilterProxyModel::setSortRole(roleKey(m_sortRole));
    if (!m_filterRole.isEmpty())
        QSortFilterProxyModel::setFilterRole(roleKey(m_filterRole));
}

bool SortFilterProxyModel::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const
{
    const QRegExp expression = filterRegExp();
    if (expression.isEmpty())
        return true;
    QAbstractItemModel* model = sourceModel();
    const QModelIndex sourceIndex = model->index(sourceRow, 0, sourceParent);
    if (m_filterRole.isEmpty()) {
        const QHash<int, QByteArray> roles = roleNames();
        for (auto it = roles.cbegin(); it != roles.cend(); ++it) {
            if (model->data(sourceIndex, it.key()).toString().contains(expression))
                return true;
        }
        return false;
    }
    if (!sourceIndex.isValid())
        return true;
    return model->data(sourceIndex, roleKey(m_filterRole)).toString().contains(expression);
}
