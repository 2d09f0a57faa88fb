// vardotool dump-sources: shows what the report templates get. The first data set of
// a document is filled and registered with a report engine as the report view does,
// and every source is then pulled through its callbacks the way the engine pulls it.

#include "tavids.h"
#include "toolcommon.h"
#include "tooldocument.h"

#include <LimeReport>

#include <QCommandLineParser>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

using LimeReport::CallbackInfo;

namespace {

class SourceDump
{
public:
    SourceDump(const TAVIDs& tavids, QTextStream& out) : m_tavids(tavids), m_out(out) {}

    void dumpAll()
    {
        for (const TAVIDs::RegisteredSource& entry : m_tavids.registeredSources()) {
            if (!isDetail(entry.name))
                dump(entry, 0);
        }
    }

private:
    static bool isDetail(const QString& name)
    {
        return name.endsWith(QLatin1String("_col")) || name.endsWith(QLatin1String("_gua")) ||
               name == QLatin1String("offclsSharehldrs");
    }

    QStringList detailsOf(const QString& name) const
    {
        if (name == QLatin1String("offclsSharehldrGroups"))
            return {QStringLiteral("offclsSharehldrs")};
        QStringList details;
        for (const TAVIDs::RegisteredSource& entry : m_tavids.registeredSources()) {
            if (entry.name == name + QLatin1String("_col") ||
                entry.name == name + QLatin1String("_gua"))
                details << entry.name;
        }
        return details;
    }

    const TAVIDs::RegisteredSource* find(const QString& name) const
    {
        for (const TAVIDs::RegisteredSource& entry : m_tavids.registeredSources()) {
            if (entry.name == name)
                return &entry;
        }
        return nullptr;
    }

    static QVariant ask(LimeReport::ICallbackDatasource* source, CallbackInfo::DataType type,
                        int index = 0, const QString& column = QString(),
                        const QVariant& preset = QVariant())
    {
        CallbackInfo info;
        info.dataType = type;
        info.index = index;
        info.columnName = column;
        QVariant data = preset;
        emit source->getCallbackData(info, data);
        return data;
    }

    static bool move(LimeReport::ICallbackDatasource* source, CallbackInfo::ChangePosType type)
    {
        bool result = type == CallbackInfo::Next;
        emit source->changePos(type, result);
        return result;
    }

    static QStringList columnsOf(LimeReport::ICallbackDatasource* source)
    {
        QStringList columns;
        const int count = ask(source, CallbackInfo::ColumnCount).toInt();
        for (int i = 0; i < count; ++i)
            columns << ask(source, CallbackInfo::ColumnHeaderData, i).toString();
        return columns;
    }

    void dump(const TAVIDs::RegisteredSource& entry, int depth)
    {
        const QString indent(depth * 4, QLatin1Char(' '));
        m_out << indent << entry.name << "\n";
        LimeReport::ICallbackDatasource* source = entry.source;
        if (!source)
            return;
        const QStringList columns = columnsOf(source);
        const QStringList details = detailsOf(entry.name);
        if (!move(source, CallbackInfo::First))
            return;
        for (int row = 0;; ++row) {
            QStringList cells;
            for (const QString& column : columns) {
                const QString value = ask(source, CallbackInfo::ColumnData, row, column).toString();
                cells << column + QLatin1Char('=') + QString(value).replace('\n', "\\n");
            }
            m_out << indent << "  " << cells.join(QLatin1Char('\t')) << "\n";
            for (const QString& detail : details) {
                if (const TAVIDs::RegisteredSource* detailEntry = find(detail))
                    dump(*detailEntry, depth + 1);
            }
            if (!ask(source, CallbackInfo::HasNext, row, QString(), false).toBool() ||
                !move(source, CallbackInfo::Next))
                break;
        }
    }

    const TAVIDs& m_tavids;
    QTextStream& m_out;
};

} // namespace

int runDumpSources(const QStringList& args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Prints every report data source of a document's first data set with its rows, as "
        "the report engine pulls them: the name, then one line per row of column=value "
        "pairs in column order; detail sources follow each row of their master, indented."));
    QString password;
    QString path;
    const int parsed = ToolDocument::parse(parser, args, &password, &path);
    if (parsed != ToolCommon::proceed)
        return parsed;

    int exitCode = 0;
    const std::unique_ptr<OpenResult> document =
        ToolDocument::open(args, path, password, &exitCode);
    if (!document)
        return exitCode;
    if (document->files->isEmpty())
        return ToolCommon::fail(args, QStringLiteral("the document holds no data set"));

    QTextStream& out = ToolCommon::out();
    out << "data set " << document->files->firstKey() << "\n";
    const QByteArray json = document->files->first();
    LimeReport::ReportEngine engine;
    TAVIDs tavids;
    tavids.fillDataSets(QJsonDocument::fromJson(json).object().toVariantMap(), false);
    tavids.registerDataSources(&engine);
    SourceDump(tavids, out).dumpAll();
    out.flush();
    return 0;
}
