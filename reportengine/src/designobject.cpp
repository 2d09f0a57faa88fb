#include "designobject.h"

namespace LimeReport {

DesignObject::DesignObject(const QString& className) : m_className(className) {}

QString DesignObject::stringValue(const QString& property, const QString& fallback) const
{
    const auto it = m_values.constFind(property);
    return it == m_values.constEnd() ? fallback : it->toString();
}

int DesignObject::intValue(const QString& property, int fallback) const
{
    const auto it = m_values.constFind(property);
    return it == m_values.constEnd() ? fallback : it->toInt();
}

qreal DesignObject::realValue(const QString& property, qreal fallback) const
{
    const auto it = m_values.constFind(property);
    return it == m_values.constEnd() ? fallback : it->toDouble();
}

bool DesignObject::boolValue(const QString& property, bool fallback) const
{
    const auto it = m_values.constFind(property);
    return it == m_values.constEnd() ? fallback : it->toBool();
}

QRect DesignObject::rectValue(const QString& property, const QRect& fallback) const
{
    const auto it = m_values.constFind(property);
    return it == m_values.constEnd() ? fallback : it->toRect();
}

QColor DesignObject::colorValue(const QString& property, const QColor& fallback) const
{
    const auto it = m_values.constFind(property);
    if (it == m_values.constEnd())
        return fallback;
    const QColor color = it->value<QColor>();
    return color.isValid() ? color : fallback;
}

DesignObject* DesignObject::object(const QString& property) const
{
    const auto it = m_objects.find(property);
    return it == m_objects.end() ? nullptr : it->second.get();
}

DesignObject* DesignObject::addObject(const QString& property, const QString& className)
{
    auto& slot = m_objects[property];
    slot = std::make_unique<DesignObject>(className);
    return slot.get();
}

const DesignObject::List& DesignObject::collection(const QString& property) const
{
    static const List empty;
    const auto it = m_collections.find(property);
    return it == m_collections.end() ? empty : it->second;
}

DesignObject::List& DesignObject::addCollection(const QString& property)
{
    return m_collections[property];
}

} // namespace LimeReport
