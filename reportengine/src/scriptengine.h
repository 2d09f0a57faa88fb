#ifndef SCRIPTENGINE_H
#define SCRIPTENGINE_H

#include <QJSEngine>

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
    // Runs a program for its effects; false only when it ends in the value false.
    bool run(const QString& program);

private:
    QJSEngine m_engine;
};

} // namespace LimeReport

#endif // SCRIPTENGINE_H
