#ifndef SCRIPTENGINE_H
#define SCRIPTENGINE_H

#include <QHash>
#include <QJSEngine>

#include <optional>

namespace LimeReport {

class VariableStore;

// One JavaScript engine per render, with the template functions installed.
class ScriptEngine
{
public:
    explicit ScriptEngine(VariableStore& variables);
    ~ScriptEngine();

    // The value of the program's last expression as text; a script error
    // gives the error message instead.
    QString evaluate(const QString& program);
    // The same for a program whose field values are the arguments, named
    // parameterName(0), parameterName(1), ... in its text. The program is compiled
    // once per text; nothing when it is not of a form that can be compiled, and the
    // caller then evaluates it with the values written in.
    std::optional<QString> evaluateWith(const QString& program, const QJSValueList& arguments);
    static QString parameterName(int index);
    // Runs a program for its effects; false only when it ends in the value false.
    bool run(const QString& program);

private:
    QJSEngine m_engine;
    // Compiled functions by program text; an undefined value marks a program that
    // is evaluated as it is.
    QHash<QString, QJSValue> m_compiled;
};

} // namespace LimeReport

#endif // SCRIPTENGINE_H
