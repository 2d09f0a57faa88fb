#include "facilityhistory.h"

#include "documentdate.h"

#include <array>

namespace {

// The history keys of slot or column 1 to 24, built once: the layout runs for every
// facility row of a document.
struct HistoryKeys
{
    HistoryKeys()
    {
        for (int i = 1; i <= FacilityHistory::months; ++i) {
            monthYear[i] = QString::asprintf("monthYear%02d", i);
            colCode[i] = QString::asprintf("month%02dColCode", i);
            day[i] = QString::asprintf("month%02dDay", i);
        }
    }
    std::array<QString, FacilityHistory::months + 1> monthYear;
    std::array<QString, FacilityHistory::months + 1> colCode;
    std::array<QString, FacilityHistory::months + 1> day;
};

const HistoryKeys& historyKeys()
{
    static const HistoryKeys keys;
    return keys;
}

} // namespace

const QString& FacilityHistory::monthYearKey(int column)
{
    return historyKeys().monthYear.at(column);
}

const QString& FacilityHistory::colCodeKey(int column)
{
    return historyKeys().colCode.at(column);
}

const QString& FacilityHistory::dayKey(int column)
{
    return historyKeys().day.at(column);
}

QDate FacilityHistory::referenceDate(const QVariant& requestDate)
{
    const QString digits = requestDate.toString().left(8);
    return digits.size() == 8 ? dateOfDigits(digits) : QDate();
}

int FacilityHistory::slotOf(const QDate& month)
{
    return month.month() + (month.year() % 2 == 0 ? 12 : 0);
}

void FacilityHistory::layOut(QVariantMap& row, const QDate& referenceDate, bool exportMode)
{
    struct Stored
    {
        QString colCode;
        QString day;
    };
    std::array<Stored, months + 1> stored;
    for (int s = 1; s <= months; ++s) {
        stored[s].colCode = row.value(colCodeKey(s)).toString();
        stored[s].day = row.value(dayKey(s)).toString();
    }

    const QString dataMonthKey =
        exportMode ? QStringLiteral("dataYearMonth") : QStringLiteral("orgDataYearMonth");
    const QString dataMonthText = row.value(dataMonthKey).toString();
    const QDate dataMonth = dataMonthText.size() == 6 ? dateOfDigits(dataMonthText) : QDate();
    const QDate requestMonth =
        referenceDate.isValid() ? QDate(referenceDate.year(), referenceDate.month(), 1) : QDate();

    for (int i = 1; i <= months; ++i) {
        const QDate month =
            requestMonth.isValid() ? requestMonth.addMonths(i - months - 1) : QDate();
        row.insert(monthYearKey(i), exportMode ? yearMonthKey(month) : shortMonthYear(month));
        // QDate orders an invalid date before every valid one, so both must be checked.
        const bool reported = month.isValid() && dataMonth.isValid() && month <= dataMonth;
        const Stored& value = reported ? stored[slotOf(month)] : Stored();
        row.insert(colCodeKey(i), value.colCode);
        row.insert(dayKey(i), value.day);
    }

    const QString dataYearMonth = row.value(QStringLiteral("dataYearMonth")).toString();
    if (dataYearMonth.size() == 6) {
        row.insert(QStringLiteral("dataYear"), dataYearMonth.left(4));
        row.insert(QStringLiteral("dataMonth"), dataYearMonth.mid(4, 2));
    }
}
