#include "scriptengine.h"

#include "scriptfunctions.h"
#include "scriptprogram.h"

namespace LimeReport {

// A report has a few dozen distinct scripts; texts that embed a value of their own
// (a row counter, say) would otherwise pile up without bound.
static const int compiledLimit = 4096;

ScriptEngine::ScriptEngine(VariableStore& variables)
{
    // The engine takes ownership of the parentless functions object.
    const QString native = QStringLiteral("__reportFunctions");
    m_engine.globalObject().setProperty(native,
                                        m_engine.newQObject(new ScriptFunctions(variables)));
    m_engine.evaluate(ScriptFunctions::wrappers(native));
}

ScriptEngine::~ScriptEngine() = default;

QString ScriptEngine::evaluate(const QString& program)
{
    return m_engine.evaluate(program).toString();
}

QString ScriptEngine::parameterName(int index)
{
    return QStringLiteral("__reportField%1").arg(index);
}

std::optional<QString> ScriptEngine::evaluateWith(const QString& program,
                                                  const QJSValueList& arguments)
{
    auto it = m_compiled.find(program);
    if (it == m_compiled.end()) {
        if (m_compiled.size() >= compiledLimit)
            m_compiled.clear();
        QJSValue function;
        const QString body = ScriptProgram::functionBody(program);
        if (!body.isNull()) {
            QStringList parameters;
            for (int i = 0; i < arguments.size(); ++i)
                parameters << parameterName(i);
            function = m_engine.evaluate(QStringLiteral("(function(%1) {\n%2\n})")
                                             .arg(parameters.join(QLatin1Char(',')), body));
            if (!function.isCallable())
                function = QJSValue();
        }
        it = m_compiled.insert(program, function);
    }
    if (!it->isCallable())
        return std::nullopt;
    return it->call(arguments).toString();
}

bool ScriptEngine::run(const QString& program)
{
    const QJSValue result = m_engine.evaluate(program);
    return !(result.isBool() && !result.toBool());
}

} // namespace LimeReport
