#include "templatereader.h"

#include <QDomDocument>
#include <QFont>
#include <QImage>

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

// Both QByteArray (encoding from the declaration) and QString (already decoded) input.
template <typename Text>
static bool parseDocument(const Text& xml, QDomDocument* document, QString* error)
{
    QString message;
    int line = 0;
    int column = 0;
    if (document->setContent(xml, &message, &line, &column))
        return true;
    *error = QStringLiteral("Wrong file format: %1 at line %2, column %3")
                 .arg(message)
                 .arg(line)
                 .arg(column);
    return false;
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
    QDomDocument document;
    if (!parseDocument(bytes, &document, &m_error))
        return nullptr;
    return build(document.documentElement(), requireReportRoot);
}

std::unique_ptr<ReportTemplate> TemplateReader::read(const QString& xml, bool requireReportRoot)
{
    m_error.clear();
    if (xml.trimmed().isEmpty()) {
        m_error = QStringLiteral("Wrong file format: the template is empty");
        return nullptr;
    }
    QDomDocument document;
    if (!parseDocument(xml, &document, &m_error))
        return nullptr;
    return build(document.documentElement(), requireReportRoot);
}

std::unique_ptr<ReportTemplate> TemplateReader::build(const QDomElement& documentElement,
                                                      bool requireReportRoot)
{
    if (requireReportRoot && documentElement.tagName() != QLatin1String("Report")) {
        m_error = QStringLiteral("Wrong file format: the root element is not Report");
        return nullptr;
    }
    QDomElement rootElement = documentElement;
    if (!rootElement.hasAttributes())
        rootElement = rootElement.firstChildElement();
    auto root = std::make_unique<DesignObject>(rootElement.attribute(QStringLiteral("ClassName")));
    readObject(rootElement, root.get());
    if (root->collection(QStringLiteral("pages")).empty()) {
        m_error = QStringLiteral("Wrong file format: the template has no pages");
        return nullptr;
    }
    return std::make_unique<ReportTemplate>(std::move(root));
}

void TemplateReader::readObject(const QDomElement& element, DesignObject* object)
{
    for (QDomElement child = element.firstChildElement(); !child.isNull();
         child = child.nextSiblingElement()) {
        const QString type = child.attribute(QStringLiteral("Type"));
        if (type == QLatin1String("Object")) {
            readObject(child, object->addObject(child.tagName(),
                                                child.attribute(QStringLiteral("ClassName"))));
        } else if (type == QLatin1String("Collection")) {
            readCollection(child, child.tagName(), object);
        } else {
            const QVariant value = readScalar(child);
            if (value.isValid())
                object->setValue(child.tagName(), value);
        }
    }
}

void TemplateReader::readCollection(const QDomElement& element, const QString& property,
                                    DesignObject* owner)
{
    DesignObject::List& list = owner->addCollection(property);
    const bool children = property == QLatin1String("children");
    const bool pages = property == QLatin1String("pages");
    for (QDomElement item = element.firstChildElement(); !item.isNull();
         item = item.nextSiblingElement()) {
        const QString className = plainClassName(item.attribute(QStringLiteral("ClassName")));
        if (children && !isBandClass(className) && !isItemClass(className))
            continue;
        if (pages && className != QLatin1String("PageDesignIntf"))
            continue;
        auto object = std::make_unique<DesignObject>(className);
        readObject(item, object.get());
        list.push_back(std::move(object));
    }
}

static QFont readFont(const QDomElement& element)
{
    QFont font(element.attribute(QStringLiteral("family")));
    bool ok = false;
    const double size = element.attribute(QStringLiteral("pointSize")).toDouble(&ok);
    if (ok && size > 0)
        font.setPointSizeF(size);
    int weight = element.attribute(QStringLiteral("weight")).toInt();
    if (weight > 99) // written on the 100-900 scale
        weight = weight >= 600 ? QFont::Bold : QFont::Normal;
    if (weight > 0)
        font.setWeight(weight);
    if (element.hasAttribute(QStringLiteral("bold")))
        font.setBold(element.attribute(QStringLiteral("bold")).toInt() != 0);
    font.setItalic(element.attribute(QStringLiteral("italic")).toInt() != 0);
    font.setUnderline(element.attribute(QStringLiteral("underline")).toInt() != 0);
    return font;
}

QVariant TemplateReader::readScalar(const QDomElement& element)
{
    const QString type = element.attribute(QStringLiteral("Type"));
    const QString value = element.attribute(QStringLiteral("Value"));
    if (type == QLatin1String("QString"))
        return element.text();
    if (type == QLatin1String("int") || type == QLatin1String("enumAndFlags"))
        return value.toInt();
    if (type == QLatin1String("bool"))
        return value.toInt() != 0;
    if (type == QLatin1String("qreal") || type == QLatin1String("double"))
        return value.toDouble();
    if (type == QLatin1String("QRect") || type == QLatin1String("QRectF")) {
        return QRect(element.attribute(QStringLiteral("x")).toInt(),
                     element.attribute(QStringLiteral("y")).toInt(),
                     element.attribute(QStringLiteral("width")).toInt(),
                     element.attribute(QStringLiteral("height")).toInt());
    }
    if (type == QLatin1String("QFont"))
        return readFont(element);
    if (type == QLatin1String("QColor")) {
        const QColor color(value);
        return color.isValid() ? QVariant(color) : QVariant();
    }
    if (type == QLatin1String("QImage")) {
        const QImage image = QImage::fromData(QByteArray::fromHex(element.text().toLatin1()));
        return image.isNull() ? QVariant() : QVariant(image);
    }
    if (type == QLatin1String("QByteArray") || type == QLatin1String("QVariant"))
        return QByteArray::fromBase64(value.toLatin1());
    return QVariant();
}

} // namespace LimeReport
