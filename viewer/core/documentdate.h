#ifndef DOCUMENTDATE_H
#define DOCUMENTDATE_H

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTime>
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>

// The date vocabulary of the report. Documents carry dates as digit texts of 6
// (yyyyMM), 8 (yyyyMMdd) or 14 (yyyyMMddHHmmss) characters; the report shows them
// with Indonesian month names, the text export keeps the first 8 characters.

// Month names keyed by month number 1 to 12; any other number gives "".
QString shortMonthName(int month);
QString longMonthName(int month);

// A text of exactly 6 (yyyyMM) or 8 (yyyyMMdd) digits as a date, day 1 for yyyyMM; null
// for any other text and for a date the calendar does not have.
QDate dateOfDigits(const QString& text);

// 6, 8 or 14 characters as a date (day 1 for yyyyMM); any other length is today.
QDate parseDocumentDate(const QVariant& value);

QString yearMonthKey(const QDate& date);         // 202103
QString shortMonthYear(const QDate& date);       // Mar 21
QString longMonthYear(const QDate& date);        // Maret 2021
QString longDate(const QDate& date);             // 05 Maret 2021
QString longDateTime(const QDateTime& dateTime); // 05 Maret 2021 14:07:00

// The document text formatted; a length other than 6, 8 or 14, or a text that is
// no valid date, gives "".
QString longMonthYearOf(const QVariant& value);
QString longDateOf(const QVariant& value);
QString longDateTimeOf(const QVariant& value);

// parseDocumentDate shifted by `days`, as a long date.
QString longDateShifted(const QVariant& value, int days);

// The export date form: the first 8 characters of the text.
QString exportDateOf(const QVariant& value);

// In-place rewriting of the entries of `map` whose key is listed; absent keys stay absent.
void truncateDateKeys(QVariantMap& map, const QStringList& keys);
void truncateDateKeysInRows(QVariantList& rows, const QStringList& keys);
void formatDateKeys(QVariantMap& map, const QStringList& keys);
void formatDateKeysInRows(QVariantList& rows, const QStringList& keys);

#endif // DOCUMENTDATE_H
