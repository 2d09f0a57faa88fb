#include "subjectrecords.h"

#include "documentdate.h"

#include <QDebug>

namespace {

const QStringList inquiryColumns =
    words("userReferenceCode reportNumber inquiryCreatedBy inquiryMemberCode "
          "inquiryOfficeCode reportRequestPurposeCode latestDataYearMonth latestDataDate "
          "requestDate resultDate");

const QString partColumn = QStringLiteral("dataSetNumberOfTotal");

// The "part N of M" line of a document split into several data sets; empty when
// the document is whole.
QString partOfTotal(const QVariantMap& header)
{
    const QVariant total = header.value(QStringLiteral("dataSetTotal"));
    if (!total.isValid() || total.isNull() || total.toString() == QLatin1String("1"))
        return QString();
    const QString text = QStringLiteral("bagian ke ") +
                         header.value(QStringLiteral("dataSetNumber")).toString() +
                         QStringLiteral(" dari ") + total.toString();
    qDebug().noquote() << "dataSetNumberOfTotal " + text;
    return text;
}

} // namespace

bool SubjectRecords::isIndividual(const QVariantMap& document)
{
    const QVariant individual = document.value(QStringLiteral("individual"));
    return individual.isValid() && !individual.isNull();
}

QString SubjectRecords::subjectKey(const QVariantMap& document)
{
    return isIndividual(document) ? QStringLiteral("individual") : QStringLiteral("corporate");
}

QVariantMap SubjectRecords::subject(const QVariantMap& document)
{
    return document.value(subjectKey(document)).toMap();
}

const QStringList& SubjectRecords::individualHeaderColumns()
{
    static const QStringList columns =
        inquiryColumns +
        words("identityNumberName genderDesc identityNumber taxId birthPlace birthDate") +
        QStringList{partColumn};
    return columns;
}

const QStringList& SubjectRecords::corporateHeaderColumns()
{
    static const QStringList columns =
        inquiryColumns + words("identityNumberName taxId estPlace estCertDate recordStatusFlag") +
        QStringList{partColumn};
    return columns;
}

const QStringList& SubjectRecords::individualDebtorColumns()
{
    static const QStringList columns =
        words("fullName identityNumberName identityNumberType identityNumber genderDesc "
              "taxId birthPlace birthDate memberDesc createdDatetime updatedDatetime "
              "address subDistrict district cityDesc postalCode countryDesc "
              "occupationDesc workCompanyName economicSectorDesc academicDegreeDesc");
    return columns;
}

const QStringList& SubjectRecords::corporateDebtorColumns()
{
    static const QStringList columns =
        words("fullName identityNumberName taxId companyTypeDesc estPlace estCertNo "
              "estCertDate memberDesc createdDatetime updatedDatetime address "
              "subDistrict district cityDesc postalCode countryDesc latestAddCertNo "
              "latestAddCertDate economicSectorDesc ratingAgencyDesc rating ratingDate "
              "goPublicFlag");
    return columns;
}

const QStringList& SubjectRecords::facilitySummaryColumns()
{
    static const QStringList columns =
        words("originalCreditLimit originalLcLimit originalBgLimit originalOtherLimit "
              "originalTotalLimit currentCreditLimit currentLcLimit currentBgLimit "
              "currentSecLimit currentOtherLimit currentTotalLimit "
              "outstandingPrincipalCredit outstandingPrincipalLc outstandingPrincipalBg "
              "outstandingPrincipalSec outstandingPrincipalOther "
              "outstandingPrincipalTotal worstCollectibilityColCode "
              "worstCollectibilityYearMonth numberOfBank numberOfRuralBank "
              "numberOfFinancingCompany numberOfOtherCreditor");
    return columns;
}

RecordSet SubjectRecords::individualHeader(const QVariantMap& header, const QVariantMap& subject)
{
    return SubjectRecords::header(individualHeaderColumns(), header, subject,
                                  QStringLiteral("individualKeyword"), QStringLiteral("birthDate"));
}

RecordSet SubjectRecords::corporateHeader(const QVariantMap& header, const QVariantMap& subject)
{
    return SubjectRecords::header(corporateHeaderColumns(), header, subject,
                                  QStringLiteral("corporateKeyWord"),
                                  QStringLiteral("estCertDate"));
}

RecordSet SubjectRecords::header(const QStringList& columns, const QVariantMap& header,
                                 const QVariantMap& subject, const QString& keywordKey,
                                 const QString& keywordDateKey)
{
    QVariantMap row;
    for (const char* key : {"userReferenceCode", "inquiryCreatedBy", "inquiryMemberCode",
                            "inquiryOfficeCode", "reportRequestPurposeCode"})
        row.insert(QLatin1String(key), header.value(QLatin1String(key)));
    row.insert(QStringLiteral("reportNumber"), subject.value(QStringLiteral("reportNumber")));

    const QVariant requestDate = subject.value(QStringLiteral("requestDate"));
    row.insert(QStringLiteral("latestDataYearMonth"),
               longMonthYearOf(subject.value(QStringLiteral("latestDataYearMonth"))));
    row.insert(QStringLiteral("latestDataDate"), longDateShifted(requestDate, -1));
    row.insert(QStringLiteral("requestDate"), longDateTimeOf(requestDate));
    row.insert(QStringLiteral("resultDate"),
               longDateTimeOf(header.value(QStringLiteral("resultDate"))));

    const QString part = partOfTotal(header);
    if (!part.isEmpty())
        row.insert(partColumn, part);

    // The search keys come last and win over an earlier value of the same name.
    QVariantMap keyword = subject.value(keywordKey).toMap();
    formatDateKeys(keyword, {keywordDateKey});
    for (auto it = keyword.cbegin(); it != keyword.cend(); ++it)
        row.insert(it.key(), it.value());

    return RecordSet(columns, row);
}

RecordSet SubjectRecords::individualDebtors(const QVariantMap& subject)
{
    return debtors(individualDebtorColumns(),
                   subject.value(QStringLiteral("individualDebtors")).toList(),
                   {QStringLiteral("birthDate"), QStringLiteral("createdDatetime"),
                    QStringLiteral("updatedDatetime")});
}

RecordSet SubjectRecords::corporateDebtors(const QVariantMap& subject)
{
    return debtors(corporateDebtorColumns(),
                   subject.value(QStringLiteral("corporateDebtors")).toList(),
                   {QStringLiteral("estCertDate"), QStringLiteral("updatedDatetime"),
                    QStringLiteral("createdDatetime"), QStringLiteral("latestAddCertDate"),
                    QStringLiteral("ratingDate")});
}

RecordSet SubjectRecords::debtors(const QStringList& columns, const QVariantList& elements,
                                  const QStringList& dateKeys)
{
    QVariantList rows = elements;
    formatDateKeysInRows(rows, dateKeys);
    return RecordSet(columns, rows);
}

RecordSet SubjectRecords::facilitySummary(const QVariantMap& subject)
{
    QVariantMap row = subject.value(QStringLiteral("facilitySummary")).toMap();
    auto it = row.find(QStringLiteral("worstCollectibilityYearMonth"));
    if (it != row.end())
        *it = longMonthYearOf(*it);
    return RecordSet(facilitySummaryColumns(), row);
}

QVariantList SubjectRecords::officerGroups(const QVariantMap& subject)
{
    return subject.value(QStringLiteral("offclsSharehldrGroups")).toList();
}
