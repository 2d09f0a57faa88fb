#ifndef FACILITYRECORDS_H
#define FACILITYRECORDS_H

#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

// Prepares the five facility lists of a subject's "facility" object for the report
// (long dates, joined quality texts) or for the text export (export date forms, raw
// values). The 24-month history is laid out later, by FacilityHistory.
class FacilityRecords
{
public:
    enum Type
    {
        Credits,
        Lcs,
        BankGuarantees,
        Securities,
        Others
    };

    // The list's key under "facility", which is also its data-source name.
    static QString key(Type type);
    static QStringList columns(Type type);
    // Prepares the rows of one list, each in place where the list is their only holder.
    static QVariantList prepareRows(QVariantList rows, Type type, bool exportMode);

    static const QStringList& collateralColumns();
    static const QStringList& guarantorColumns();
    // The facility's detail lists with their dates in the long form.
    static QVariantList displayCollaterals(const QVariantMap& facility);
    static QVariantList displayGuarantors(const QVariantMap& facility);
};

#endif // FACILITYRECORDS_H
