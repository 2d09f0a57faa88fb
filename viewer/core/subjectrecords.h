#ifndef SUBJECTRECORDS_H
#define SUBJECTRECORDS_H

#include "recordset.h"

#include <QVariantList>
#include <QVariantMap>

// Builds the record sets of the report's first pages from a document's "header"
// object and its subject ("individual" or "corporate") object. Absent objects and
// arrays give empty rows and lists; the builders never fail.
class SubjectRecords
{
public:
    // A data set describes an individual debtor when its "individual" object is
    // present and not null; otherwise its subject is the "corporate" object.
    static bool isIndividual(const QVariantMap& document);
    // The member of `document` that holds its subject.
    static QString subjectKey(const QVariantMap& document);
    static QVariantMap subject(const QVariantMap& document);

    static RecordSet individualHeader(const QVariantMap& header, const QVariantMap& subject);
    static RecordSet corporateHeader(const QVariantMap& header, const QVariantMap& subject);
    static RecordSet individualDebtors(const QVariantMap& subject);
    static RecordSet corporateDebtors(const QVariantMap& subject);
    static RecordSet facilitySummary(const QVariantMap& subject);
    // The subject's officer and shareholder groups, in document order.
    static QVariantList officerGroups(const QVariantMap& subject);

    static const QStringList& individualHeaderColumns();
    static const QStringList& corporateHeaderColumns();
    static const QStringList& individualDebtorColumns();
    static const QStringList& corporateDebtorColumns();
    static const QStringList& facilitySummaryColumns();

private:
    static RecordSet header(const QStringList& columns, const QVariantMap& header,
                            const QVariantMap& subject, const QString& keywordKey,
                            const QString& keywordDateKey);
    static RecordSet debtors(const QStringList& columns, const QVariantList& elements,
                             const QStringList& dateKeys);
};

#endif // SUBJECTRECORDS_H
