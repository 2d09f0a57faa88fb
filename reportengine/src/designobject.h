#ifndef DESIGNOBJECT_H
#define DESIGNOBJECT_H

#include <QColor>
#include <QFont>
#include <QHash>
#include <QRect>
#include <QVariant>

#include <map>
#include <memory>
#include <vector>

namespace LimeReport {

// One object of a template as the file describes it: its class, its properties
// and its nested objects and collections. Absent properties read as the
// caller's default, so each class keeps its own defaults where it is used.
class DesignObject
{
public:
    using List = std::vector<std::unique_ptr<DesignObject>>;

    explicit DesignObject(const QString& className);

    QString className() const { return m_className; }
    QString name() const { return stringValue(QStringLiteral("objectName")); }

    QVariant value(const QString& property) const { return m_values.value(property); }
    bool contains(const QString& property) const { return m_values.contains(property); }
    void setValue(const QString& property, const QVariant& value)
    {
        m_values.insert(property, value);
    }

    QString stringValue(const QString& property, const QString& fallback = QString()) const;
    int intValue(const QString& property, int fallback = 0) const;
    qreal realValue(const QString& property, qreal fallback = 0) const;
    bool boolValue(const QString& property, bool fallback = false) const;
    QRect rectValue(const QString& property, const QRect& fallback = QRect()) const;
    QColor colorValue(const QString& property, const QColor& fallback) const;

    // A property of Type="Object": the nested object, or null.
    DesignObject* object(const QString& property) const;
    DesignObject* addObject(const QString& property, const QString& className);

    // A property of Type="Collection"; empty when absent.
    const List& collection(const QString& property) const;
    List& addCollection(const QString& property);
    const List& children() const { return collection(QStringLiteral("children")); }

private:
    QString m_className;
    QHash<QString, QVariant> m_values;
    std::map<QString, std::unique_ptr<DesignObject>> m_objects;
    std::map<QString, List> m_collections;
};

} // namespace LimeReport

#endif // DESIGNOBJECT_H
