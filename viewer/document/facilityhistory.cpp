#include "facilityhistory.h"

#include "documentdate.h"

#include <array>

namespace {

QString numbered(const char* pattern, int n)
{
    return QString::asprintf(pattern, n);
}

} // namespace

QDate FacilityHistory::referenceDate(const QVariant& requestDate)
{
    return QDate::fromString(requestDate.toString().left(8), QStringLiteral("yyyyMMdd"));
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
        stored[s].colCode = row.value(numbered("month%02dColCode", s)).toString();
        stored[s].day = row.value(numbered("month%02dDay", s)).toString();
    }

    const QString dataMonthKey =
        exportMode ? QStringLiteral("dataYearMonth") : QStringLiteral("orgDataYearMonth");
    const QDate dataMonth =
        QDate::fromString(row.value(dataMonthKey).toString(), QStringLiteral("yyyyMM"));
    const QDate requestMonth =
        referenceDate.isValid() ? QDate(referenceDate.year(), referenceDate.month(), 1) : QDate();

    for (int i = 1; i <= months; ++i) {
        const QDate month =
            requestMonth.isValid() ? requestMonth.addMonths(i - months - 1) : QDate();
        row.insert(numbered("monthYear%02d", i),
                   exportMode ? yearMonthKey(month) : shortMonthYear(month));
        // QDate orders an invalid date before every valid one, so both must be checked.
        const bool reported = month.isValid() && dataMonth.isValid() && month <= dataMonth;
        const Stored& value = reported ? stored[slotOf(month)] : Stored();
        row.insert(numbered("month%02dColCode", i), value.colCode);
        row.insert(numbered("month%02dDay", i), value.day);
    }

    const QString dataYearMonth = row.value(QStringLiteral("dataYearMonth")).toString();
    if (dataYearMonth.size() == 6) {
        row.insert(QStringLiteral("dataYear"), dataYearMonth.left(4));
        row.insert(QStringLiteral("dataMonth"), dataYearMonth.mid(4, 2));
    }
}
