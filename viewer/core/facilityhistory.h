#ifndef FACILITYHISTORY_H
#define FACILITYHISTORY_H

#include <QDate>
#include <QVariant>
#include <QVariantMap>

// Lays out a facility's 24-month quality history relative to the request month.
// Documents store the history in calendar slots (month m of an odd year in slot m,
// of an even year in slot m + 12); the report shows it in display columns, column 1
// being 24 months before the request month and column 24 the month before it.
class FacilityHistory
{
public:
    static constexpr int months = 24;

    // The history keys of display column, or stored slot, 1 to 24.
    static const QString& monthYearKey(int column);
    static const QString& colCodeKey(int column);
    static const QString& dayKey(int column);

    // The document's reference date: the first 8 characters of its request date.
    static QDate referenceDate(const QVariant& requestDate);
    // The calendar slot (1 to 24) in which a document stores `month`.
    static int slotOf(const QDate& month);
    // Rewrites the history columns of `row` in display order and, where the data
    // month is a raw yyyyMM text, adds "dataYear" and "dataMonth".
    static void layOut(QVariantMap& row, const QDate& referenceDate, bool exportMode);
};

#endif // FACILITYHISTORY_H
