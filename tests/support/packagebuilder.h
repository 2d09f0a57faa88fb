#ifndef PACKAGEBUILDER_H
#define PACKAGEBUILDER_H

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

// Builds update packages (and the inner library archive) in memory, entries in the
// order they are added, so that tests can try every arrangement of a package.
class PackageBuilder
{
public:
    PackageBuilder& add(const QString& name, const QByteArray& content);
    QByteArray zip() const;
    bool writeTo(const QString& path) const;

    // A version header listing `versions` (component key, new version) in order.
    static QByteArray header(const QList<QPair<QString, QString>>& versions);

private:
    QList<QPair<QString, QByteArray>> m_entries;
};

#endif // PACKAGEBUILDER_H
