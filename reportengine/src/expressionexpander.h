#ifndef EXPRESSIONEXPANDER_H
#define EXPRESSIONEXPANDER_H

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

namespace LimeReport {

class DataSource;
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

    // A field's token split once into its source and column.
    struct Field
    {
        QString token;
        bool dotted = false; // without a dot the token names no source
        QString source;      // lower case, as sources are named
        QString column;
        // The source as last found, while the sources stay as they were.
        mutable DataSource* found = nullptr;
        mutable int foundGeneration = -1;
        explicit Field(const QString& token = QString());
    };

    // A script body split at its fields: the texts around them, one more than there
    // are fields, and the program that takes the fields' values as arguments.
    struct Script
    {
        QStringList texts;
        QVector<Field> fields;
        QString program;
    };

    // What an item's content holds, found once per content: most contents hold only
    // fields, and are then filled in without searching them on every row; scripts
    // are found once too, and only their fields are fetched on every row.
    struct Plan
    {
        QString content;
        bool plain = false; // no expression at all: most items are labels
        bool variables = false;
        bool scripts = false;
        bool pageCounters = false;
        // Without variables and scripts: the texts around the fields, one more than
        // there are fields, and the fields.
        QStringList texts;
        QVector<Field> fields;
        // Without variables, scripts side by side, none inside another: the text before
        // each script and after the last, and the scripts.
        bool plannedScripts = false;
        QStringList scriptTexts;
        QVector<Script> scriptList;
    };
    // The plan of a content, made when first asked for and kept for the render.
    const Plan& planOf(const QString& content);
    QString expand(const Plan& plan, const Options& options);

private:
    enum class VariableScope
    {
        All,
        AllButPageCounters
    };
    QString substituteVariables(const QString& text, VariableScope scope) const;
    QString expandScripts(const QString& text, const Options& options, bool evaluate);
    QString substituteFields(const QString& text, const Options& options, bool asScriptLiterals);

    QString fieldText(const Field& field, const Options& options, bool asScriptLiteral);
    bool fieldValue(const Field& field, const Options& options, QVariant* value, QString* error);

    static Script scriptOf(const QString& body);
    QString evaluateScript(const Script& script, const Options& options);

    static void planScripts(const QString& content, Plan* plan);
    QString fillFields(const Plan& plan, const Options& options);
    QString runScripts(const Plan& plan, const Options& options);

    // Held apart, so that a plan stays where it is while others are added.
    QHash<QString, std::shared_ptr<const Plan>> m_plans;
    VariableStore& m_variables;
    DataSourceManager& m_data;
    ScriptEngine& m_scripts;
    bool m_suppressErrors;
};

} // namespace LimeReport

#endif // EXPRESSIONEXPANDER_H
