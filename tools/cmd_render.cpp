// vardotool render: renders a template that needs no data (the manual, the FAQ)
// to a PDF file, to check a template without the viewer.

#include "reportmetadata.h"
#include "toolcommon.h"

#include <LimeReport>

#include <QCommandLineParser>
#include <QFileInfo>
#include <QTextStream>

int runRender(const QStringList& args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Renders TEMPLATE.lrxml without data sources into a PDF file."));
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("The PDF file to write."),
                                    QStringLiteral("OUT.pdf"));
    parser.addOption(output);
    parser.addPositionalArgument(QStringLiteral("TEMPLATE"),
                                 QStringLiteral("The template to render."),
                                 QStringLiteral("TEMPLATE.lrxml"));
    const int parsed = ToolCommon::parse(parser, args);
    if (parsed != ToolCommon::proceed)
        return parsed;
    if (!parser.isSet(output) || parser.positionalArguments().size() != 1)
        return ToolCommon::fail(args, QStringLiteral("need TEMPLATE.lrxml and -o OUT.pdf"),
                                ToolCommon::exitUsage);

    const QString templateFile = parser.positionalArguments().first();
    if (!QFileInfo(templateFile).isFile())
        return ToolCommon::inputError(
            args, QStringLiteral("cannot read %1: no such file").arg(templateFile));
    LimeReport::ReportEngine engine;
    if (!engine.loadFromFile(templateFile))
        return ToolCommon::fail(
            args, QStringLiteral("cannot read %1: %2").arg(templateFile, engine.lastError()));
    engine.setPdfMetadata(ReportMetadata::forDocument(QString()));
    const LimeReport::ReportPages pages = engine.renderPages();
    if (pages.isEmpty())
        return ToolCommon::fail(args, QStringLiteral("%1 renders no pages").arg(templateFile));
    const QString pdf = parser.value(output);
    if (!engine.printToPDF(pdf))
        return ToolCommon::fail(args,
                                QStringLiteral("cannot write %1: %2").arg(pdf, engine.lastError()));
    ToolCommon::out()
        << QStringLiteral("%1: %2 page(s)\n").arg(QFileInfo(pdf).fileName()).arg(pages.size());
    ToolCommon::out().flush();
    return 0;
}
