#ifndef TEMPLATEXML_H
#define TEMPLATEXML_H

#include <QRect>
#include <QString>
#include <QStringList>

// Writes small templates for engine tests in the engine's XML format.
class TemplateXml
{
public:
    // A property element; the value is escaped for QString properties.
    static QString property(const QString& name, const QString& type, const QString& value);
    static QString boolProperty(const QString& name, bool value);
    static QString intProperty(const QString& name, int value);

    static QString text(const QString& name, const QString& content, const QRect& geometry,
                        const QStringList& properties = {});
    static QString band(const QString& className, const QString& name, int height,
                        const QStringList& children, const QStringList& properties = {});
    // One A4 sheet with 10 mm margins holding the bands.
    static QString report(const QStringList& bands, const QStringList& pageProperties = {});
};

#endif // TEMPLATEXML_H
