#include "expressionexpander.h"

#include "datasourcemanager.h"
#include "scriptengine.h"
#include "variablestore.h"

#include <QRegularExpression>

#include <cmath>
#include <functional>
#include <optional>

namespace LimeReport {

static const QRegularExpression variableToken(QStringLiteral("\\$\\s*[Vv]\\s*\\{([^},]*)[^}]*\\}"));
static const QRegularExpression fieldToken(QStringLiteral("\\$\\s*[Dd]\\s*\\{\\s*([^}]*)\\}"));
static const QRegularExpression scriptStart(QStringLiteral("\\$S\\s*\\{"));
static const QRegularExpression
    pageCounter(QStringLiteral("\\$\\s*[Vv]\\s*\\{\\s*#PAGE(_COUNT)?\\s*[},]"));

ExpressionExpander::ExpressionExpander(VariableStore& variables, DataSourceManager& data,
                                       ScriptEngine& scripts, bool suppressErrors)
    : m_variables(variables), m_data(data), m_scripts(scripts), m_suppressErrors(suppressErrors)
{
}

bool ExpressionExpander::needsSecondPass(const QString& content)
{
    return content.contains(QLatin1Char('$')) && planOf(content).pageCounters;
}

QString ExpressionExpander::expand(const QString& content, const Options& options)
{
    // Most items are plain labels.
    if (!content.contains(QLatin1Char('$')))
        return content;
    return expand(planOf(content), options);
}

QString ExpressionExpander::expand(const Plan& plan, const Options& options)
{
    const QString& content = plan.content;
    if (plan.plain)
        return content;
    if (!plan.variables && !plan.scripts)
        return fillFields(plan, options);
    if (plan.plannedScripts)
        return runScripts(plan, options);
    // A variable's value may itself hold a script or a field: the text is searched again.
    QString text = plan.variables ? substituteVariables(content, VariableScope::All) : content;
    text = expandScripts(text, options, true);
    return substituteFields(text, options, false);
}

const ExpressionExpander::Plan& ExpressionExpander::planOf(const QString& content)
{
    auto it = m_plans.constFind(content);
    if (it != m_plans.constEnd())
        return **it;
    auto made = std::make_shared<Plan>();
    Plan& plan = *made;
    plan.content = content;
    plan.plain = !content.contains(QLatin1Char('$'));
    plan.variables = content.contains(variableToken);
    plan.scripts = content.contains(scriptStart);
    plan.pageCounters = content.contains(pageCounter);
    if (!plan.variables && !plan.scripts) {
        int last = 0;
        auto match = fieldToken.globalMatch(content);
        while (match.hasNext()) {
            const QRegularExpressionMatch field = match.next();
            plan.texts << content.mid(last, field.capturedStart() - last);
            plan.fields << Field(field.captured(1));
            last = field.capturedEnd();
        }
        plan.texts << content.mid(last);
    } else if (!plan.variables) {
        planScripts(content, &plan);
    }
    m_plans.insert(content, made);
    return plan;
}

QString ExpressionExpander::fillFields(const Plan& plan, const Options& options)
{
    // A lone field is handed on as it is, not copied: it may be very long.
    if (plan.fields.size() == 1 && plan.texts.at(0).isEmpty() && plan.texts.at(1).isEmpty())
        return fieldText(plan.fields.at(0), options, false);
    QString result = plan.texts.at(0);
    for (int i = 0; i < plan.fields.size(); ++i) {
        result += fieldText(plan.fields.at(i), options, false);
        result += plan.texts.at(i + 1);
    }
    return result;
}

QString ExpressionExpander::runScripts(const Plan& plan, const Options& options)
{
    QString text = plan.scriptTexts.at(0);
    for (int i = 0; i < plan.scriptList.size(); ++i) {
        text += evaluateScript(plan.scriptList.at(i), options);
        text += plan.scriptTexts.at(i + 1);
    }
    // Fields outside the scripts, and any a script's value spells out, are filled in last.
    return text.contains(QLatin1Char('$')) ? substituteFields(text, options, false) : text;
}

QString ExpressionExpander::prepareSecondPass(const QString& content, const Options& options,
                                              bool deferAllVariables)
{
    QString text = deferAllVariables
                       ? content
                       : substituteVariables(content, VariableScope::AllButPageCounters);
    text = expandScripts(text, options, false);
    return substituteFields(text, options, false);
}

QString ExpressionExpander::expandSecondPass(const QString& prepared)
{
    const QString text = substituteVariables(prepared, VariableScope::All);
    return expandScripts(text, Options(), true);
}

// Rebuilds text with each match of token replaced by what replacement returns;
// no result keeps the match as it was.
static QString replaceTokens(
    const QString& text, const QRegularExpression& token,
    const std::function<std::optional<QString>(const QRegularExpressionMatch&)>& replacement)
{
    QString result;
    int last = 0;
    bool replacedAny = false;
    auto it = token.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        const std::optional<QString> replaced = replacement(match);
        if (!replaced)
            continue;
        const QStringRef before = text.midRef(last, match.capturedStart() - last);
        // A value with nothing before it is shared, not copied: a field may hold
        // hundreds of megabytes, of which the page shows a small part.
        if (result.isEmpty() && before.isEmpty()) {
            result = *replaced;
        } else {
            result += before;
            result += *replaced;
        }
        last = match.capturedEnd();
        replacedAny = true;
    }
    if (!replacedAny)
        return text;
    if (last < text.size())
        result += text.midRef(last);
    return result;
}

QString ExpressionExpander::substituteVariables(const QString& text, VariableScope scope) const
{
    return replaceTokens(
        text, variableToken, [&](const QRegularExpressionMatch& match) -> std::optional<QString> {
            const QString name = match.captured(1).trimmed();
            if (scope == VariableScope::AllButPageCounters &&
                name.startsWith(QLatin1String("#PAGE")))
                return std::nullopt;
            if (m_variables.contains(name))
                return m_variables.value(name).toString();
            return m_suppressErrors ? QStringLiteral("Variable %1 not found").arg(name) : QString();
        });
}

// The index just past the brace that closes the script body starting at `from`,
// or -1. Field and variable tokens inside are skipped whole.
static int scriptEnd(const QString& text, int from)
{
    int depth = 1;
    for (int i = from; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('$')) {
            for (const QRegularExpression* token : {&fieldToken, &variableToken}) {
                const QRegularExpressionMatch match =
                    token->match(text, i, QRegularExpression::NormalMatch,
                                 QRegularExpression::AnchoredMatchOption);
                if (match.hasMatch()) {
                    i = match.capturedEnd() - 1;
                    break;
                }
            }
        } else if (text.at(i) == QLatin1Char('{')) {
            ++depth;
        } else if (text.at(i) == QLatin1Char('}') && --depth == 0) {
            return i + 1;
        }
    }
    return -1;
}

// The texts around each script of text, outer scripts only, and the scripts'
// bodies: one text more than bodies. A script left open is text.
static void splitScripts(const QString& text, QStringList* texts, QStringList* bodies)
{
    int last = 0;
    QRegularExpressionMatch start = scriptStart.match(text);
    while (start.hasMatch()) {
        const int bodyStart = start.capturedEnd();
        const int end = scriptEnd(text, bodyStart);
        if (end < 0)
            break;
        *texts << text.mid(last, start.capturedStart() - last);
        *bodies << text.mid(bodyStart, end - 1 - bodyStart);
        last = end;
        start = scriptStart.match(text, end);
    }
    *texts << text.mid(last);
}

QString ExpressionExpander::expandScripts(const QString& text, const Options& options,
                                          bool evaluate)
{
    QStringList texts;
    QStringList bodies;
    splitScripts(text, &texts, &bodies);
    QString result = texts.at(0);
    for (int i = 0; i < bodies.size(); ++i) {
        const QString body = expandScripts(bodies.at(i), options, evaluate);
        result += evaluate ? evaluateScript(scriptOf(body), options)
                           : QStringLiteral("$S{") + substituteFields(body, options, true) +
                                 QLatin1Char('}');
        result += texts.at(i + 1);
    }
    return result;
}

static QString scriptLiteral(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return QStringLiteral("\"\"");
    switch (value.userType()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Bool:
        return value.toString();
    default:
        break;
    }
    QString text = value.userType() == QMetaType::QStringList
                       ? value.toStringList().join(QLatin1Char(','))
                       : value.toString();
    text.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    text.replace(QLatin1Char('"'), QLatin1String("\\\""));
    text.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    text.replace(QLatin1Char('\r'), QLatin1String("\\r"));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// The value a field has in a compiled script: the same as its literal in the
// script's text would give. Nothing for the values whose literal is not plain
// (an error text, a number JavaScript would not read back the same way).
static std::optional<QJSValue> scriptArgument(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return QJSValue(QString());
    switch (value.userType()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float: {
        // A negative literal after an operator reads differently from a value.
        const double number = value.toDouble();
        if (!std::isfinite(number) || number < 0 || std::signbit(number))
            return std::nullopt;
        return QJSValue(value.toString().toDouble());
    }
    case QMetaType::Bool:
        return QJSValue(value.toBool());
    default:
        break;
    }
    const QString text = value.userType() == QMetaType::QStringList
                             ? value.toStringList().join(QLatin1Char(','))
                             : value.toString();
    // Line and paragraph separators end a string literal early.
    if (text.contains(QChar(0x2028)) || text.contains(QChar(0x2029)))
        return std::nullopt;
    return QJSValue(text);
}

ExpressionExpander::Field::Field(const QString& token) : token(token)
{
    const int dot = token.indexOf(QLatin1Char('.'));
    dotted = dot >= 0;
    if (dotted)
        source = token.left(dot).toLower();
    column = token.mid(dot + 1);
}

ExpressionExpander::Script ExpressionExpander::scriptOf(const QString& body)
{
    Script script;
    int last = 0;
    auto it = fieldToken.globalMatch(body);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        script.texts << body.mid(last, match.capturedStart() - last);
        script.fields << Field(match.captured(1));
        last = match.capturedEnd();
    }
    script.texts << body.mid(last);
    script.program = script.texts.at(0);
    for (int i = 0; i < script.fields.size(); ++i)
        script.program += ScriptEngine::parameterName(i) + script.texts.at(i + 1);
    return script;
}

void ExpressionExpander::planScripts(const QString& content, Plan* plan)
{
    QStringList texts;
    QStringList bodies;
    splitScripts(content, &texts, &bodies);
    QVector<Script> scripts;
    for (const QString& body : qAsConst(bodies)) {
        // A script inside another is expanded before the outer one is seen whole.
        if (body.contains(scriptStart))
            return;
        scripts << scriptOf(body);
    }
    plan->scriptTexts = texts;
    plan->scriptList = scripts;
    plan->plannedScripts = true;
}

QString ExpressionExpander::evaluateScript(const Script& script, const Options& options)
{
    // Each field is fetched once, for both forms of the program.
    const int count = script.fields.size();
    QVector<QVariant> values(count);
    // A field not found is written into the program as its error text.
    QVector<std::optional<QString>> errors(count);
    QJSValueList arguments;
    bool compilable = true;
    for (int i = 0; i < count; ++i) {
        QString error;
        if (!fieldValue(script.fields.at(i), options, &values[i], &error)) {
            errors[i] = error;
            compilable = false;
        }
        if (!compilable)
            continue;
        const std::optional<QJSValue> argument = scriptArgument(values.at(i));
        compilable = compilable && argument;
        if (compilable)
            arguments << *argument;
    }
    const std::optional<QString> value =
        compilable ? m_scripts.evaluateWith(script.program, arguments) : std::nullopt;
    if (value)
        return *value;
    QString literalProgram = script.texts.at(0);
    for (int i = 0; i < count; ++i) {
        literalProgram += errors.at(i) ? *errors.at(i) : scriptLiteral(values.at(i));
        literalProgram += script.texts.at(i + 1);
    }
    return m_scripts.evaluate(literalProgram);
}

QString ExpressionExpander::substituteFields(const QString& text, const Options& options,
                                             bool asScriptLiterals)
{
    return replaceTokens(text, fieldToken,
                         [&](const QRegularExpressionMatch& match) -> std::optional<QString> {
                             return fieldText(Field(match.captured(1)), options, asScriptLiterals);
                         });
}

bool ExpressionExpander::fieldValue(const Field& field, const Options& options, QVariant* value,
                                    QString* error)
{
    if (field.foundGeneration != m_data.generation()) {
        field.found = field.dotted ? m_data.dataSource(field.source) : nullptr;
        field.foundGeneration = m_data.generation();
    }
    DataSource* source = field.found;
    if (!source || !source->hasColumn(field.column)) {
        *error =
            m_suppressErrors
                ? QString()
                : QStringLiteral("Field %1 not found in %2!").arg(field.token, options.itemName);
        return false;
    }
    *value = source->data(field.column);
    return true;
}

QString ExpressionExpander::fieldText(const Field& field, const Options& options,
                                      bool asScriptLiteral)
{
    QVariant value;
    QString error;
    if (!fieldValue(field, options, &value, &error))
        return error;
    if (asScriptLiteral)
        return scriptLiteral(value);
    const QString plain = value.toString();
    return options.escapeFieldHtml ? plain.toHtmlEscaped() : plain;
}

} // namespace LimeReport
