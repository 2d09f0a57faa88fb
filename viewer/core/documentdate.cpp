#include "documentdate.h"

#include <QMap>

namespace {

const QMap<int, QString> shortMonths = {
    {1, QStringLiteral("Jan")},  {2, QStringLiteral("Feb")},  {3, QStringLiteral("Mar")},
    {4, QStringLiteral("Apr")},  {5, QStringLiteral("Mei")},  {6, QStringLiteral("Jun")},
    {7, QStringLiteral("Jul")},  {8, QStringLiteral("Agt")},  {9, QStringLiteral("Sep")},
    {10, QStringLiteral("Okt")}, {11, QStringLiteral("Nov")}, {12, QStringLiteral("Des")},
};

const QMap<int, QString> longMonths = {
    {1, QStringLiteral("Januari")},   {2, QStringLiteral("Februari")},
    {3, QStringLiteral("Maret")},     {4, QStringLiteral("April")},
    {5, QStringLiteral("Mei")},       {6, QStringLiteral("Juni")},
    {7, QStringLiteral("Juli")},      {8, QStringLiteral("Agustus")},
    {9, QStringLiteral("September")}, {10, QStringLiteral("Oktober")},
    {11, QStringLiteral("November")}, {12, QStringLiteral("Desember")},
};

// The number written by count ASCII digits from position at, or -1 when any is no digit.
int digitsAt(const QString& text, int at, int count)
{
    int number = 0;
    for (int i = at; i < at + count; ++i) {
        const QChar c = text.at(i);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
        number = number * 10 + (c.unicode() - '0');
    }
    return number;
}

// A document date text of a known length as a date; null for any other length.
QDate dateOfKnownLength(const QString& text)
{
    switch (text.size()) {
    case 6:
    case 8:
        return dateOfDigits(text);
    case 14:
        return dateOfDigits(text.left(8));
    default:
        return QDate();
    }
}

// The number zero-padded to width digits, as the date formats write it. Written here
// because the formatter of dates reads its pattern for every date of a data set.
QString padded(int number, int width)
{
    return QString::number(number).rightJustified(width, QLatin1Char('0'));
}

using Rewrite = QString (*)(const QVariant&);

void rewriteKeys(QVariantMap& map, const QStringList& keys, Rewrite rewrite)
{
    for (const QString& key : keys) {
        auto it = map.find(key);
        if (it != map.end())
            *it = rewrite(*it);
    }
}

void rewriteKeysInRows(QVariantList& rows, const QStringList& keys, Rewrite rewrite)
{
    for (QVariant& rowValue : rows) {
        QVariantMap row = rowValue.toMap();
        rewriteKeys(row, keys, rewrite);
        rowValue = row;
    }
}

} // namespace

// Read digit by digit: every date of a large data set goes through here, and the
// general date parser looks up the local time zone on each call.
QDate dateOfDigits(const QString& text)
{
    if (text.size() != 6 && text.size() != 8)
        return QDate();
    const int year = digitsAt(text, 0, 4);
    const int month = digitsAt(text, 4, 2);
    const int day = text.size() == 6 ? 1 : digitsAt(text, 6, 2);
    if (year < 0 || month < 0 || day < 0)
        return QDate();
    // Invalid for a month or day the calendar does not have, and for year 0.
    return QDate(year, month, day);
}

QString shortMonthName(int month)
{
    return shortMonths.value(month);
}

QString longMonthName(int month)
{
    return longMonths.value(month);
}

QDate parseDocumentDate(const QVariant& value)
{
    const QString text = value.toString();
    if (text.size() != 6 && text.size() != 8 && text.size() != 14)
        return QDate::currentDate();
    return dateOfKnownLength(text);
}

QString yearMonthKey(const QDate& date)
{
    if (!date.isValid())
        return QString();
    return padded(date.year(), 4) + padded(date.month(), 2);
}

QString shortMonthYear(const QDate& date)
{
    if (!date.isValid())
        return QString();
    return shortMonthName(date.month()) + QLatin1Char(' ') + padded(date.year() % 100, 2);
}

QString longMonthYear(const QDate& date)
{
    if (!date.isValid())
        return QString();
    return longMonthName(date.month()) + QLatin1Char(' ') + padded(date.year(), 4);
}

QString longDate(const QDate& date)
{
    if (!date.isValid())
        return QString();
    return padded(date.day(), 2) + QLatin1Char(' ') + longMonthYear(date);
}

QString longDateTime(const QDateTime& dateTime)
{
    if (!dateTime.isValid())
        return QString();
    return longDate(dateTime.date()) + QLatin1Char(' ') +
           dateTime.time().toString(QStringLiteral("HH:mm:ss"));
}

QString longMonthYearOf(const QVariant& value)
{
    return longMonthYear(dateOfKnownLength(value.toString()));
}

QString longDateOf(const QVariant& value)
{
    return longDate(dateOfKnownLength(value.toString()));
}

QString longDateTimeOf(const QVariant& value)
{
    // Date and time are read apart and joined without a time zone, so that a
    // clock time that local daylight saving skips still shows as written.
    const QString text = value.toString();
    QTime time(0, 0);
    if (text.size() == 14)
        time = QTime::fromString(text.mid(8), QStringLiteral("HHmmss"));
    const QDate date = dateOfKnownLength(text);
    if (!date.isValid() || !time.isValid())
        return QString();
    return longDateTime(QDateTime(date, time, Qt::UTC));
}

QString longDateShifted(const QVariant& value, int days)
{
    return longDate(parseDocumentDate(value).addDays(days));
}

QString exportDateOf(const QVariant& value)
{
    return value.toString().left(8);
}

void truncateDateKeys(QVariantMap& map, const QStringList& keys)
{
    rewriteKeys(map, keys, exportDateOf);
}

void truncateDateKeysInRows(QVariantList& rows, const QStringList& keys)
{
    rewriteKeysInRows(rows, keys, exportDateOf);
}

void formatDateKeys(QVariantMap& map, const QStringList& keys)
{
    rewriteKeys(map, keys, longDateOf);
}

void formatDateKeysInRows(QVariantList& rows, const QStringList& keys)
{
    rewriteKeysInRows(rows, keys, longDateOf);
}
