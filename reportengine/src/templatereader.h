#ifndef TEMPLATEREADER_H
#define TEMPLATEREADER_H

#include "reporttemplate.h"

#include <QString>

class QXmlStreamAttributes;
class QXmlStreamReader;

namespace LimeReport {

// Turns template XML into a ReportTemplate. Unknown properties are ignored and
// objects of unknown classes dropped with their subtree.
class TemplateReader
{
public:
    // Null on failure, with the reason in error().
    std::unique_ptr<ReportTemplate> read(const QByteArray& xml, bool requireReportRoot);
    std::unique_ptr<ReportTemplate> read(const QString& xml, bool requireReportRoot);
    QString error() const { return m_error; }

    // The class name without the namespace prefix some writers add.
    static QString plainClassName(const QString& className);
    static bool isBandClass(const QString& className);
    static bool isItemClass(const QString& className);

private:
    std::unique_ptr<ReportTemplate> parse(QXmlStreamReader& xml, bool requireReportRoot);
    // Each reads the current element's content up to its end.
    void readObject(QXmlStreamReader& xml, DesignObject* object);
    void readCollection(QXmlStreamReader& xml, const QString& property, DesignObject* owner);
    static QVariant readScalar(QXmlStreamReader& xml, const QXmlStreamAttributes& attributes);

    QString m_error;
};

} // namespace LimeReport

#endif // TEMPLATEREADER_H
