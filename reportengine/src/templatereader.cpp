#include "templatereader.h"

#include <QFont>
#include <QImage>
#include <QXmlStreamReader>

namespace LimeReport {

static const QStringList bandClasses = {
    QStringLiteral("PageHeader"),   QStringLiteral("ReportHeader"),
    QStringLiteral("DataHeader"),   QStringLiteral("GroupHeader"),
    QStringLiteral("Data"),         QStringLiteral("SubDetailHeader"),
    QStringLiteral("SubDetail"),    QStringLiteral("SubDetailFooter"),
    QStringLiteral("GroupFooter"),  QStringLiteral("DataFooter"),
    QStringLiteral("ReportFooter"), QStringLiteral("TearOffBand"),
    QStringLiteral("PageFooter"),
};

static const QStringList itemClasses = {
    QStringLiteral("TextItem"), QStringLiteral("ImageItem"), QStringLiteral("ShapeItem"),
    QStringLiteral("HLayout"),  QStringLiteral("VLayout"),
};

QString TemplateReader::plainClassName(const QString& className)
{
    const int colon = className.lastIndexOf(QLatin1String("::"));
    return colon < 0 ? className : className.mid(colon + 2);
}

bool TemplateReader::isBandClass(const QString& className)
{
    return bandClasses.contains(plainClassName(className));
}

bool TemplateReader::isItemClass(const QString& className)
{
    return itemClasses.contains(plainClassName(className));
}

std::unique_ptr<ReportTemplate> TemplateReader::read(const QByteArray& xml, bool requireReportRoot)
{
    m_error.clear();
    if (xml.trimmed().isEmpty()) {
        m_error = QStringLiteral("Wrong file format: the template is empty");
        return nullptr;
    }
    // The writer declares encoding="UTF8", which XML parsers do not all know.
    QByteArray bytes = xml;
    const int declarationEnd = bytes.indexOf("?>");
    if (bytes.startsWith("<?xml") && declarationEnd > 0) {
        QByteArray declaration = bytes.left(declarationEnd);
        declaration.replace("\"UTF8\"", "\"UTF-8\"");
        bytes.replace(0, declarationEnd, declaration);
    }
    QXmlStreamReader reader(bytes);
    return parse(reader, requireReportRoot);
}

std::unique_ptr<ReportTemplate> TemplateReader::read(const QString& xml, bool requireReportRoot)
{
    m_error.clear();
    if (xml.trimmed().isEmpty()) {
        m_error = QStringLiteral("Wrong file format: the template is empty");
        return nullptr;
    }
    QXmlStreamReader reader(xml);
    return parse(reader, requireReportRoot);
}

// Read in one pass as the text streams by, without a document tree: a template of
// half a megabyte is read in a fraction of the time, the first time most of all.
std::unique_ptr<ReportTemplate> TemplateReader::parse(QXmlStreamReader& xml, bool requireReportRoot)
{
    std::unique_ptr<DesignObject> root;
    bool rootIsReport = false;
    if (xml.readNextStartElement()) {
        rootIsReport = xml.name() == QLatin1String("Report");
        if (!requireReportRoot || rootIsReport) {
            // A root with attributes is the report object itself; otherwise its
            // first element is.
            if (xml.attributes().isEmpty() && !xml.readNextStartElement()) {
                root = std::make_unique<DesignObject>(QString());
            } else {
                root = std::make_unique<DesignObject>(
                    xml.attributes().value(QLatin1String("ClassName")).toString());
                readObject(xml, root.get());
            }
        }
    }
    // Nothing is taken from a document that is not well-formed to its end.
    while (!xml.atEnd())
        xml.readNext();
    if (xml.hasError()) {
        m_error = QStringLiteral("Wrong file format: %1 at line %2, column %3")
                      .arg(xml.errorString())
                      .arg(xml.lineNumber())
                      .arg(xml.columnNumber());
        return nullptr;
    }
    if (requireReportRoot && !rootIsReport) {
        m_error = QStringLiteral("Wrong file format: the root element is not Report");
        return nullptr;
    }
    if (!root || root->collection(QStringLiteral("pages")).empty()) {
        m_error = QStringLiteral("Wrong file format: the template has no pages");
        return nullptr;
    }
    return std::make_unique<ReportTemplate>(std::move(root));
}

void TemplateReader::readObject(QXmlStreamReader& xml, DesignObject* object)
{
    while (xml.readNextStartElement()) {
        const QString tag = xml.name().toString();
        const QXmlStreamAttributes attributes = xml.attributes();
        const QStringRef type = attributes.value(QLatin1String("Type"));
        if (type == QLatin1String("Object")) {
            readObject(xml, object->addObject(
                                tag, attributes.value(QLatin1String("ClassName")).toString()));
        } else if (type == QLatin1String("Collection")) {
            readCollection(xml, tag, object);
        } else {
            const QVariant value = readScalar(xml, attributes);
            if (value.isValid())
                object->setValue(tag, value);
        }
    }
}

void TemplateReader::readCollection(QXmlStreamReader& xml, const QString& property,
                                    DesignObject* owner)
{
    DesignObject::List& list = owner->addCollection(property);
    const bool children = property == QLatin1String("children");
    const bool pages = property == QLatin1String("pages");
    while (xml.readNextStartElement()) {
        const QString className =
            plainClassName(xml.attributes().value(QLatin1String("ClassName")).toString());
        if ((children && !isBandClass(className) && !isItemClass(className)) ||
            (pages && className != QLatin1String("PageDesignIntf"))) {
            xml.skipCurrentElement();
            continue;
        }
        auto object = std::make_unique<DesignObject>(className);
        readObject(xml, object.get());
        list.push_back(std::move(object));
    }
}

// The text inside the current element and all it holds, up to its end; text that is
// only blanks between elements counts for nothing.
static QString elementText(QXmlStreamReader& xml)
{
    QString text;
    for (int depth = 1; depth > 0 && !xml.atEnd();) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement:
            ++depth;
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        case QXmlStreamReader::Characters:
            if (!xml.isWhitespace())
                text += xml.text();
            break;
        default:
            break;
        }
    }
    return text;
}

static QFont readFont(const QXmlStreamAttributes& attributes)
{
    QFont font(attributes.value(QLatin1String("family")).toString());
    bool ok = false;
    const double size = attributes.value(QLatin1String("pointSize")).toDouble(&ok);
    if (ok && size > 0)
        font.setPointSizeF(size);
    int weight = attributes.value(QLatin1String("weight")).toInt();
    if (weight > 99) // written on the 100-900 scale
        weight = weight >= 600 ? QFont::Bold : QFont::Normal;
    if (weight > 0)
        font.setWeight(weight);
    if (attributes.hasAttribute(QLatin1String("bold")))
        font.setBold(attributes.value(QLatin1String("bold")).toInt() != 0);
    font.setItalic(attributes.value(QLatin1String("italic")).toInt() != 0);
    font.setUnderline(attributes.value(QLatin1String("underline")).toInt() != 0);
    return font;
}

QVariant TemplateReader::readScalar(QXmlStreamReader& xml, const QXmlStreamAttributes& attributes)
{
    const QStringRef type = attributes.value(QLatin1String("Type"));
    if (type == QLatin1String("QString"))
        return elementText(xml);
    if (type == QLatin1String("QImage")) {
        const QImage image = QImage::fromData(QByteArray::fromHex(elementText(xml).toLatin1()));
        return image.isNull() ? QVariant() : QVariant(image);
    }
    xml.skipCurrentElement();
    const QStringRef value = attributes.value(QLatin1String("Value"));
    if (type == QLatin1String("int") || type == QLatin1String("enumAndFlags"))
        return value.toInt();
    if (type == QLatin1String("bool"))
        return value.toInt() != 0;
    if (type == QLatin1String("qreal") || type == QLatin1String("double"))
        return value.toDouble();
    if (type == QLatin1String("QRect") || type == QLatin1String("QRectF")) {
        return QRect(attributes.value(QLatin1String("x")).toInt(),
                     attributes.value(QLatin1String("y")).toInt(),
                     attributes.value(QLatin1String("width")).toInt(),
                     attributes.value(QLatin1String("height")).toInt());
    }
    if (type == QLatin1String("QFont"))
        return readFont(attributes);
    if (type == QLatin1String("QColor")) {
        const QColor color(value.toString());
        return color.isValid() ? QVariant(color) : QVariant();
    }
    if (type == QLatin1String("QByteArray") || type == QLatin1String("QVariant"))
        return QByteArray::fromBase64(value.toLatin1());
    return QVariant();
}

} // namespace LimeReport
