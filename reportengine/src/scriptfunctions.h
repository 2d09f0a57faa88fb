#ifndef SCRIPTFUNCTIONS_H
#define SCRIPTFUNCTIONS_H

#include <QJSValue>
#include <QLocale>
#include <QObject>

namespace LimeReport {

class VariableStore;

// The native side of the functions templates call from $S{} scripts. The
// defaults of the optional arguments are filled in by JavaScript wrappers.
class ScriptFunctions : public QObject
{
    Q_OBJECT
public:
    explicit ScriptFunctions(VariableStore& variables, QObject* parent = nullptr);

    // Number in fixed-point (or 'e'/'g') form; a value that is not a number
    // in C syntax counts as 0. A known locale groups thousands.
    Q_INVOKABLE QString numberFormat(const QJSValue& value, const QString& format, int precision,
                                     const QString& locale) const;
    // ISO dates only; anything else gives an empty string.
    Q_INVOKABLE QString dateFormat(const QJSValue& value, const QString& format,
                                   const QString& locale) const;
    Q_INVOKABLE QString dateTimeFormat(const QJSValue& value, const QString& format,
                                       const QString& locale) const;
    Q_INVOKABLE QString timeFormat(const QJSValue& value, const QString& format) const;
    Q_INVOKABLE QString currencyFormat(const QJSValue& value, const QString& locale) const;

    Q_INVOKABLE QVariant getVariable(const QString& name) const;
    Q_INVOKABLE void setVariable(const QString& name, const QVariant& value);
    Q_INVOKABLE QVariant line(const QString& bandName) const;

    // The JavaScript that declares the wrappers over an object named `native`.
    static QString wrappers(const QString& native);

private:
    static double toNumber(const QJSValue& value);
    static QLocale toLocale(const QString& name);

    VariableStore& m_variables;
};

} // namespace LimeReport

#endif // SCRIPTFUNCTIONS_H
