#include "scriptengine.h"

#include "scriptfunctions.h"

namespace LimeReport {

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

bool ScriptEngine::run(const QString& program)
{
    const QJSValue result = m_engine.evaluate(program);
    return !(result.isBool() && !result.toBool());
}

} // namespace LimeReport
