// vardotool find: the report view's find over every data set of many documents, for
// scripts: one line a match, tab-separated.

#include "openresult.h"
#include "reportpopulation.h"
#include "tavids.h"
#include "toolcommon.h"
#include "tooldocument.h"

#include <LimeReport>
#include <lrtextsearch.h>

#include <QCommandLineParser>
#include <QTextStream>

namespace {

// The lines of the item the match touches, as one line: a value wrapped over two lines
// reads as it was written, and no tab or line end breaks the output's columns.
QString matchedLine(const QString& text, const LimeReport::TextRange& range)
{
    const int from = text.lastIndexOf(QLatin1Char('\n'), range.start - 1) + 1;
    int to = text.indexOf(QLatin1Char('\n'), std::max(range.start, range.end - 1));
    if (to < 0)
        to = text.size();
    QString line = text.mid(from, to - from);
    line.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\t'), QLatin1Char(' '));
    return line;
}

// Prints the matches of one data set; the number printed, or -1 when its report
// could not be laid out.
int findInDataSet(const QString& file, const QString& entry, const QByteArray& data,
                  const LimeReport::TextSearch& search, const QStringList& args)
{
    // One engine per data set, as each report view has its own.
    LimeReport::ReportEngine engine;
    TAVIDs dataSources;
    if (!populateDesignAndData(&engine, data, &dataSources)) {
        ToolCommon::fail(args, file + QLatin1Char(':') + entry + QStringLiteral(": ") +
                                   engine.lastError());
        return -1;
    }
    const LimeReport::ReportPages pages = engine.renderPages();
    QTextStream& out = ToolCommon::out();
    int found = 0;
    for (int page = 0; page < pages.size(); ++page) {
        for (const LimeReport::TextMatch& match : search.find(pages.at(page), page)) {
            const QString& text = pages.at(page).items().at(match.range.item).text;
            // Pages count from 1, as in the exported PDF.
            out << file << '\t' << entry << '\t' << page + 1 << '\t'
                << matchedLine(text, match.range) << '\n';
            ++found;
        }
    }
    out.flush();
    return found;
}

} // namespace

int runFind(const QStringList& args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Finds TEXT in the reports of every data set of the documents, ignoring case and "
        "accents, as the report view's find does. Prints one line a match: file, data set, "
        "page and the line of text, apart by tabs. Exits 0 when something was found, 1 "
        "when nothing was, or with the code of the first document that could not be "
        "opened (as open does)."));
    parser.addPositionalArgument(QStringLiteral("TEXT"), QStringLiteral("What to find."));
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The documents."),
                                 QStringLiteral("FILE.vardo..."));
    QString password;
    const int parsed = ToolCommon::parseWithPassword(parser, args, &password);
    if (parsed != ToolCommon::proceed)
        return parsed;
    const QStringList positional = parser.positionalArguments();
    if (positional.size() < 2)
        return ToolCommon::usageError(args,
                                      QStringLiteral("need TEXT and at least one FILE.vardo"));
    const LimeReport::TextSearch search(positional.first());
    if (search.isEmpty())
        return ToolCommon::usageError(args, QStringLiteral("nothing to find: TEXT is blank"));

    int failure = 0;
    bool found = false;
    for (const QString& path : positional.mid(1)) {
        int code = 0;
        const std::unique_ptr<OpenResult> document =
            ToolDocument::open(args, path, password, &code);
        if (!document) {
            // The other documents are still searched; the first failure is the answer.
            if (failure == 0)
                failure = code;
            continue;
        }
        for (auto it = document->files->cbegin(); it != document->files->cend(); ++it) {
            const int matches = findInDataSet(path, it.key(), it.value(), search, args);
            if (matches < 0 && failure == 0)
                failure = OpenResult::Damaged;
            found = found || matches > 0;
        }
    }
    if (failure != 0)
        return failure;
    return found ? 0 : ToolCommon::exitFailure;
}
