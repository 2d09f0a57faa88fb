#include "templatexml.h"

QString TemplateXml::property(const QString& name, const QString& type, const QString& value)
{
    if (type == QLatin1String("QString"))
        return QStringLiteral("<%1 Type=\"QString\">%2</%1>").arg(name, value.toHtmlEscaped());
    return QStringLiteral("<%1 Type=\"%2\" Value=\"%3\"/>").arg(name, type, value);
}

QString TemplateXml::boolProperty(const QString& name, bool value)
{
    return property(name, QStringLiteral("bool"),
                    value ? QStringLiteral("1") : QStringLiteral("0"));
}

QString TemplateXml::intProperty(const QString& name, int value)
{
    return property(name, QStringLiteral("int"), QString::number(value));
}

static QString geometry(const QRect& rect)
{
    return QStringLiteral("<geometry Type=\"QRect\" x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\"/>")
        .arg(rect.x())
        .arg(rect.y())
        .arg(rect.width())
        .arg(rect.height());
}

QString TemplateXml::text(const QString& name, const QString& content, const QRect& rect,
                          const QStringList& properties)
{
    return QStringLiteral("<item Type=\"Object\" ClassName=\"TextItem\">%1%2%3%4</item>")
        .arg(property(QStringLiteral("objectName"), QStringLiteral("QString"), name),
             geometry(rect),
             property(QStringLiteral("content"), QStringLiteral("QString"), content),
             properties.join(QString()));
}

QString TemplateXml::band(const QString& className, const QString& name, int height,
                          const QStringList& children, const QStringList& properties)
{
    return QStringLiteral("<item Type=\"Object\" ClassName=\"%1\">%2%3%4<children "
                          "Type=\"Collection\">%5</children></item>")
        .arg(className, property(QStringLiteral("objectName"), QStringLiteral("QString"), name),
             geometry(QRect(0, 0, 1900, height)), properties.join(QString()),
             children.join(QString()));
}

QString TemplateXml::report(const QStringList& bands, const QStringList& pageProperties)
{
    return QStringLiteral(
               "<?xml version=\"1.0\" encoding=\"UTF8\"?><Report><object Type=\"Object\" "
               "ClassName=\"LimeReport::ReportEnginePrivate\"><pages Type=\"Collection\"><item "
               "Type=\"Object\" "
               "ClassName=\"LimeReport::PageDesignIntf\"><pageItem Type=\"Object\" "
               "ClassName=\"PageItem\">"
               "<geometry Type=\"QRect\" x=\"0\" y=\"0\" width=\"2100\" height=\"2970\"/>"
               "<topMargin Type=\"int\" Value=\"10\"/><bottomMargin Type=\"int\" Value=\"10\"/>"
               "<leftMargin Type=\"int\" Value=\"10\"/><rightMargin Type=\"int\" Value=\"10\"/>%1"
               "<children "
               "Type=\"Collection\">%2</children></pageItem></item></pages></object></Report>")
        .arg(pageProperties.join(QString()), bands.join(QString()));
}
