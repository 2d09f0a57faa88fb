#ifndef SORTFILTERPROXYMODEL_H
#define SORTFILTERPROXYMODEL_H

#include <QJSValue>
#include <QQmlParserStatus>
#include <QSortFilterProxyModel>

#include "libglobal.h"

// Sorting and filtering by role name, so that QML screens need no numeric roles.
// Role names only resolve once the engine has finished creating the object, because
// QML may assign sortRole before source.
class TAVI_VIEWER_EXPORT SortFilterProxyModel : public QSortFilterProxyModel,
                                                public QQmlParserStatus
{
    Q_OBJECT
    Q_INTERFACES(QQmlParserStatus)

    Q_PROPERTY(int count READ count NOTIFY countChanged)
    Q_PROPERTY(QObject* source READ source WRITE setSource)
    Q_PROPERTY(QByteArray sortRole READ sortRole WRITE setSortRole)
    Q_PROPERTY(Qt::SortOrder sortOrder READ sortOrder WRITE setSortOrder)
    Q_PROPERTY(QByteArray filterRole READ filterRole WRITE setFilterRole)
    Q_PROPERTY(QString filterString READ filterString WRITE setFilterString)
    Q_PROPERTY(FilterSyntax filterSyntax READ filterSyntax WRITE setFilterSyntax)

public:
    enum FilterSyntax
    {
        RegExp = QRegExp::RegExp,
        Wildcard = QRegExp::Wildcard,
        FixedString = QRegExp::FixedString
    };
    Q_ENUM(FilterSyntax)

    explicit SortFilterProxyModel(QObject* parent = nullptr);

    QObject* source() const;
    void setSource(QObject* source);

    QByteArray sortRole() const;
    void setSortRole(const QByteArray& role);

    void setSortOrder(Qt::SortOrder order);

    QByteArray filterRole() const;
    void setFilterRole(const QByteArray& role);

    QString filterString() const;
    void setFilterString(const QString& filter);

    FilterSyntax filterSyntax() const;
    void setFilterSyntax(FilterSyntax syntax);

    int count() const;
    Q_INVOKABLE QJSValue get(int index) const;

    int roleKey(const QByteArray& role) const;
    QHash<int, QByteArray> roleNames() const override;

    void classBegin() override;
    void componentComplete() override;

signals:
    void countChanged();

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    bool m_complete = false;
    QByteArray m_sortRole;
    QByteArray m_filterRole;
};

#endif // SORTFILTERPROXYMODEL_H
