#ifndef EXPRESSIONEXPANDER_H
#define EXPRESSIONEXPANDER_H

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace LimeReport {

class DataSourceManager;
class ScriptEngine;
class VariableStore;

// Expands $V{variable}, $S{script} and $D{source.field} in an item's content,
// in that order. Page counters are known only after all pages exist, so
// content that mentions them is expanded twice: prepareSecondPass() fixes the
// row values now, expandSecondPass() finishes the text on its page.
class ExpressionExpander
{
public:
    ExpressionExpander(VariableStore& variables, DataSourceManager& data, ScriptEngine& scripts,
                       bool suppressErrors);

    struct Options
    {
        QString itemName;
        bool escapeFieldHtml = false; // values from sources go into rich text
    };

    QString expand(const QString& content, const Options& options);
    // Substitutes the fields (and, unless deferAllVariables, the variables
    // other than the page counters), leaving scripts to the second pass.
    QString prepareSecondPass(const QString& content, const Options& options,
                              bool deferAllVariables);
    QString expandSecondPass(const QString& prepared);

    // Whether the content shows a page counter, and so is finished on its page.
    bool needsSecondPass(const QString& content);

private:
    enum class VariableScope
    {
        All,
        AllButPageCounters
    };
    QString substituteVariables(const QString& text, VariableScope scope) const;
    QString expandScripts(const QString& text, const Options& options, bool evaluate);
    QString evaluateScript(const QString& body, const Options& options);
    QString substituteFields(const QString& text, const Options& options, bool asScriptLiterals);
    QString fieldText(const QString& token, const Options& options, bool asScriptLiteral);
    bool fieldValue(const QString& token, const Options& options, QVariant* value, QString* error);

    // What an item's content holds, found once per content: most contents hold only
    // fields, and are then filled in without searching them on every row.
    struct Plan
    {
        bool variables = false;
        bool scripts = false;
        bool pageCounters = false;
        // Without variables and scripts: the texts around the fields, one more than
        // there are fields, and the fields' tokens.
        QStringList texts;
        QStringList fields;
    };
    const Plan& planOf(const QString& content);
    QString fillFields(const Plan& plan, const Options& options);

    QHash<QString, Plan> m_plans;
    VariableStore& m_variables;
    DataSourceManager& m_data;
    ScriptEngine& m_scripts;
    bool m_suppressErrors;
};

} // namespace LimeReport

#endif // EXPRESSIONEXPANDER_H
