#include "scriptfunctions.h"

#include "variablestore.h"

#include <QDateTime>

namespace LimeReport {

ScriptFunctions::ScriptFunctions(VariableStore& variables, QObject* parent)
    : QObject(parent), m_variables(variables)
{
}

double ScriptFunctions::toNumber(const QJSValue& value)
{
    if (value.isNumber())
        return value.toNumber();
    if (value.isNull() || value.isUndefined())
        return 0;
    bool ok = false;
    const double number = value.toString().trimmed().toDouble(&ok);
    return ok ? number : 0;
}

QLocale ScriptFunctions::toLocale(const QString& name)
{
    return name.isEmpty() ? QLocale() : QLocale(name);
}

QString ScriptFunctions::numberFormat(const QJSValue& value, const QString& format, int precision,
                                      const QString& locale) const
{
    const double number = toNumber(value);
    char letter = format.isEmpty() ? 'f' : format.at(0).toLatin1();
    if (!QByteArray("eEfgG").contains(letter))
        letter = 'f';
    if (locale.isEmpty())
        return QString::number(number, letter, precision < 0 ? 6 : precision);
    return QLocale(locale).toString(number, letter, precision < 0 ? 6 : precision);
}

static QDateTime parseIso(const QJSValue& value)
{
    if (value.isDate())
        return value.toDateTime();
    const QString text = value.toString().trimmed();
    QDateTime dateTime = QDateTime::fromString(text, Qt::ISODate);
    if (!dateTime.isValid()) {
        const QDate date = QDate::fromString(text, Qt::ISODate);
        if (date.isValid())
            dateTime = QDateTime(date, QTime(0, 0));
    }
    return dateTime;
}

QString ScriptFunctions::dateFormat(const QJSValue& value, const QString& format,
                                    const QString& locale) const
{
    const QDateTime dateTime = parseIso(value);
    return dateTime.isValid() ? toLocale(locale).toString(dateTime.date(), format) : QString();
}

QString ScriptFunctions::dateTimeFormat(const QJSValue& value, const QString& format,
                                        const QString& locale) const
{
    const QDateTime dateTime = parseIso(value);
    return dateTime.isValid() ? toLocale(locale).toString(dateTime, format) : QString();
}

QString ScriptFunctions::timeFormat(const QJSValue& value, const QString& format) const
{
    QTime time = QTime::fromString(value.toString().trimmed(), Qt::ISODate);
    if (!time.isValid())
        time = parseIso(value).time();
    return time.isValid() ? time.toString(format) : QString();
}

QString ScriptFunctions::currencyFormat(const QJSValue& value, const QString& locale) const
{
    return toLocale(locale).toCurrencyString(toNumber(value));
}

QVariant ScriptFunctions::getVariable(const QString& name) const
{
    return m_variables.value(name);
}

void ScriptFunctions::setVariable(const QString& name, const QVariant& value)
{
    m_variables.setValue(name, value);
}

QVariant ScriptFunctions::line(const QString& bandName) const
{
    const QString name = QStringLiteral("line_") + bandName.toLower();
    if (!m_variables.contains(name))
        return QStringLiteral("Variable line for band %1 not found").arg(bandName);
    return m_variables.value(name);
}

QString ScriptFunctions::wrappers(const QString& native)
{
    return QStringLiteral(
               "function numberFormat(v, f, p, l) { return %1.numberFormat(v, f === undefined ? "
               "'f' : String(f),"
               " p === undefined ? 2 : p, l === undefined ? '' : String(l)); }\n"
               "function dateFormat(v, f, l) { return %1.dateFormat(v, f === undefined ? "
               "'dd.MM.yyyy' : String(f),"
               " l === undefined ? '' : String(l)); }\n"
               "function dateTimeFormat(v, f, l) { return %1.dateTimeFormat(v, f === undefined ?"
               " 'dd.MM.yyyy hh:mm' : String(f), l === undefined ? '' : String(l)); }\n"
               "function timeFormat(v, f) { return %1.timeFormat(v, f === undefined ? 'hh:mm' : "
               "String(f)); }\n"
               "function currencyFormat(v, l) { return %1.currencyFormat(v, l === undefined ? '' : "
               "String(l)); }\n"
               "function getVariable(n) { return %1.getVariable(String(n)); }\n"
               "function setVariable(n, v) { %1.setVariable(String(n), v); }\n"
               "function line(b) { return %1.line(String(b)); }\n"
               "function date() { return new Date(); }\n"
               "function now() { return new Date(); }\n")
        .arg(native);
}

} // namespace LimeReport
