#include "facilityrecords.h"

#include "documentdate.h"
#include "facilityhistory.h"
#include "recordset.h"

namespace {

struct TypeInfo
{
    QString key;
    QString amountColumn;
    bool hasDays;
    QStringList ownColumns;
    QStringList dateFields;
    QString qualityField;
    QString qualityDescription;
};

const TypeInfo& info(FacilityRecords::Type type)
{
    static const TypeInfo types[] = {
        {QStringLiteral("credits"), QStringLiteral("outstandingPrincipal"), true,
         words("creditNatureDesc creditTypeDesc financingSchemeDesc accountNo isNewFlag "
               "interestRate interestRateTypeDesc projectAmount originalCreditLimit "
               "currentCreditLimit initialContractNo initialContractDate lastContractNo "
               "lastContractDate creditStartDate startDate dueDate debtorCategoryDesc "
               "creditUsageDesc economicSectorDesc governmentProgramFlagDesc projectCityDesc "
               "currencyCode creditLimitUsage oriCurrencyAmount nonPerformingReasonDesc "
               "nonPerformingDate overduePrincipalAmount overdueInterestAmount overdueFreq "
               "lateCharges restructureFreq restructureEndDate restructureMethodDesc "
               "conditionDesc conditionDate description collectibility overdueDays"),
         words("conditionDate restructureEndDate nonPerformingDate dueDate startDate "
               "creditStartDate lastContractDate initialContractDate dataYearMonth"),
         QStringLiteral("collectibility"), QStringLiteral("collectibilityDesc")},
        {QStringLiteral("lcs"), QStringLiteral("lcAmount"), false,
         words("accountNo lcTypeDesc lcIssueDate lcEndDate initialContractNo "
               "initialContractDate lastContractNo lastContractDate counterPartyBank "
               "collectibilityType currencyCode lcLimit lcPurposeDesc lcCollateralAmount "
               "lcDefaultDate conditionDesc conditionDate description"),
         words("conditionDate lcDefaultDate lastContractDate initialContractDate lcEndDate "
               "lcIssueDate"),
         QStringLiteral("collectibilityType"), QStringLiteral("collectibilityTypeDesc")},
        {QStringLiteral("bankGuarantees"), QStringLiteral("bgAmount"), false,
         words("accountNo bankGuaranteeTypeDesc bgIssueDate bgEndDate initialContractNo "
               "initialContractDate lastContractNo lastContractDate guaranteeName "
               "collectibilityType currencyCode bgLimit bankGuaranteePurposeDesc "
               "collateralAmount bgDefaultDate conditionDesc conditionDate description"),
         words("conditionDate bgDefaultDate lastContractDate initialContractDate bgEndDate "
               "bgIssueDate"),
         QStringLiteral("collectibilityType"), QStringLiteral("collectibilityTypeDesc")},
        {QStringLiteral("securities"), QStringLiteral("amount"), true,
         words("accountNo securityTypeDesc sovereignRate isListed rating "
               "securityOwnPurposeDesc listingDate dueDate interestRate currencyCode "
               "collectibilityType overdueDays oriCurrencyAmount marketValue buyAmount "
               "overdueAmount nonPerformingDate nonPerformingReasonDesc conditionDesc "
               "conditionDate description"),
         words("conditionDate nonPerformingDate dueDate listingDate"),
         QStringLiteral("collectibilityType"), QStringLiteral("collectibilityTypeDesc")},
        {QStringLiteral("others"), QStringLiteral("facilityAmount"), true,
         words("accountNo facilityTypeDesc facilityStartDate facilityEndDate currencyCode "
               "oriCurrencyAmount interestRate collectibilityType overdueDays "
               "nonPerformingDate nonPerformingReasonDesc overdueAmount conditionDesc "
               "conditionDate description"),
         words("conditionDate nonPerformingDate facilityEndDate facilityStartDate"),
         QStringLiteral("collectibilityType"), QStringLiteral("collectibilityTypeDesc")},
    };
    return types[type];
}

const QString dataYearMonthKey = QStringLiteral("dataYearMonth");

QVariantList withLongDates(const QVariant& list, const QStringList& dateKeys)
{
    QVariantList rows = list.toList();
    formatDateKeysInRows(rows, dateKeys);
    return rows;
}

} // namespace

QString FacilityRecords::key(Type type)
{
    return info(type).key;
}

QStringList FacilityRecords::columns(Type type)
{
    const TypeInfo& t = info(type);
    QStringList columns = {QStringLiteral("member"),
                           QStringLiteral("memberDesc"),
                           QStringLiteral("officeDesc"),
                           t.amountColumn,
                           QStringLiteral("createdDatetime"),
                           QStringLiteral("updatedDatetime"),
                           dataYearMonthKey};
    for (int i = 1; i <= FacilityHistory::months; ++i) {
        columns << FacilityHistory::monthYearKey(i) << FacilityHistory::colCodeKey(i);
        if (t.hasDays)
            columns << FacilityHistory::dayKey(i);
    }
    return columns + t.ownColumns;
}

QVariantList FacilityRecords::prepareRows(QVariantList rows, Type type, bool exportMode)
{
    const TypeInfo& t = info(type);
    for (QVariant& rowValue : rows) {
        QVariantMap row = rowValue.toMap();
        // Dropping the list's reference first lets the row change in place instead of
        // being copied.
        rowValue.clear();
        if (exportMode) {
            truncateDateKeys(row, t.dateFields);
        } else {
            // The data month is kept raw for the history and shown as a long date.
            // It is rewritten once, from the raw value, even where it is also listed
            // among the type's date fields.
            auto month = row.find(dataYearMonthKey);
            if (month != row.end()) {
                row.insert(QStringLiteral("orgDataYearMonth"), *month);
                *month = longDateOf(*month);
            }
            QStringList dateKeys = t.dateFields;
            dateKeys.removeAll(dataYearMonthKey);
            dateKeys << QStringLiteral("createdDatetime") << QStringLiteral("updatedDatetime");
            formatDateKeys(row, dateKeys);

            if (row.contains(t.qualityDescription))
                row.insert(t.qualityField, row.value(t.qualityField).toString() +
                                               QStringLiteral(" - ") +
                                               row.value(t.qualityDescription).toString());
        }
        rowValue = row;
    }
    return rows;
}

const QStringList& FacilityRecords::collateralColumns()
{
    static const QStringList columns =
        words("collateralType collateralTypeDesc collateralValueMember sharedCollPercentage "
              "createdDatetime updatedDatetime collateralRegNo contractType contractTypeDesc "
              "contractDate collateralOwnerName collateralAddress collateralCity "
              "collateralCityDesc memberAppraisalDate collateralRating ratingAgency "
              "ratingAgencyDesc ownershipDocument collateralValueTax collateralValueAppr "
              "collateralAppraiserName isInsuredFlag collateralAppraisalDate description");
    return columns;
}

const QStringList& FacilityRecords::guarantorColumns()
{
    static const QStringList columns =
        words("guarantorName identityNumber createdDatetime updatedDatetime guarantorType "
              "guarantorTypeDesc guarantorAddress description");
    return columns;
}

QVariantList FacilityRecords::displayCollaterals(const QVariantMap& facility)
{
    static const QStringList dates = words("createdDatetime updatedDatetime contractDate "
                                           "memberAppraisalDate collateralAppraisalDate");
    return withLongDates(facility.value(QStringLiteral("collaterals")), dates);
}

QVariantList FacilityRecords::displayGuarantors(const QVariantMap& facility)
{
    static const QStringList dates = words("createdDatetime updatedDatetime");
    return withLongDates(facility.value(QStringLiteral("guarantors")), dates);
}
