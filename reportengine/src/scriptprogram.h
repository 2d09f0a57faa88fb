#ifndef SCRIPTPROGRAM_H
#define SCRIPTPROGRAM_H

#include <QString>

namespace LimeReport {

// A template script seen as the body of a function, so that it is compiled once
// and then called for every row instead of being parsed again each time. Only a
// plain sequence of statements ending in an expression is rewritten; anything the
// rewrite could change the meaning of (control flow, functions, comments, `this`)
// is left to be evaluated as a program. Regular expression literals are read whole,
// so that what they hold is not taken for statements or brackets.
class ScriptProgram
{
public:
    // The function body that returns the value of the program's last statement,
    // or a null string when the program is not of the simple form.
    static QString functionBody(const QString& program);
};

} // namespace LimeReport

#endif // SCRIPTPROGRAM_H
