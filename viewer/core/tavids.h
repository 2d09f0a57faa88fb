#ifndef TAVIDS_H
#define TAVIDS_H

#include "facilityrecords.h"

#include <QDate>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariantMap>

class FacilitiesDs;
class OffclsSharehldrGroupDs;
class QMapDs;

namespace LimeReport {
class ICallbackDatasource;
class ReportEngine;
} // namespace LimeReport

// Owns every data source of one opened document: fills them from the document's
// JSON (on screen, or for the text export), registers them with a report engine
// under their fixed names, and writes the text export.
class TAVIDs : public QObject
{
    Q_OBJECT
public:
    struct RegisteredSource
    {
        QString name;
        // Owned by the engine's data manager; null once it has destroyed the source.
        QPointer<LimeReport::ICallbackDatasource> source;
    };

    explicit TAVIDs(QObject* parent = nullptr);
    ~TAVIDs() override;

    // Every name registerDataSources may use, in the order a report view removes them.
    static const QStringList& dataSourceNames();

    // A caller that hands the document over (std::move) lets the facility rows be
    // prepared in place; one that keeps it has them copied.
    void fillDataSets(QVariantMap document, bool exportMode);
    void registerDataSources(LimeReport::ReportEngine* engine);
    // Writes the text export of `document` (filled beforehand in export mode) to `path`;
    // false with the reason when the file cannot be written.
    bool writeExportFile(const QVariantMap& document, const QString& path,
                         QString* error = nullptr) const;

    bool exportMode() const { return m_exportMode; }
    // "I" (individualType) for an individual debtor; anything else is corporate.
    static const QString individualType;
    QString debtorType() const { return m_debtorType; }
    const QList<RegisteredSource>& registeredSources() const { return m_registeredSources; }

    QMapDs* individualHeaderDs() const { return m_individualHeaderDs; }
    QMapDs* individualDebtorDs() const { return m_individualDebtorDs; }
    QMapDs* corporateHeaderDs() const { return m_corporateHeaderDs; }
    QMapDs* corporateDebtorDs() const { return m_corporateDebtorDs; }
    OffclsSharehldrGroupDs* offclsSharehldrGroupDs() const { return m_offclsSharehldrGroupDs; }
    QMapDs* facilitySummaryDs() const { return m_facilitySummaryDs; }
    FacilitiesDs* creditDs() const { return m_creditDs; }
    FacilitiesDs* lcDs() const { return m_lcDs; }
    FacilitiesDs* bankGuaranteeDs() const { return m_bankGuaranteeDs; }
    FacilitiesDs* securityDs() const { return m_securityDs; }
    FacilitiesDs* otherDs() const { return m_otherDs; }

private:
    void buildIndividualHeader(const QVariantMap& header, const QVariantMap& subject);
    void buildIndividualDebtors(const QVariantMap& subject);
    void buildCorporateHeader(const QVariantMap& header, const QVariantMap& subject);
    void buildCorporateDebtors(const QVariantMap& subject);
    void buildOfficerGroups(const QVariantMap& subject);
    void buildFacilitySummary(const QVariantMap& subject);
    void buildFacilities(FacilitiesDs*& field, FacilityRecords::Type type, QVariantMap& lists,
                         const QDate& referenceDate);

    template <class Receiver>
    LimeReport::ICallbackDatasource* createCallbackSource(LimeReport::ReportEngine* engine,
                                                          Receiver* receiver, const QString& name);
    template <class Receiver, class DataSlot, class PosSlot>
    LimeReport::ICallbackDatasource* createCallbackSource(LimeReport::ReportEngine* engine,
                                                          Receiver* receiver, const QString& name,
                                                          DataSlot dataSlot, PosSlot posSlot);
    void registerFacilitySources(LimeReport::ReportEngine* engine, FacilitiesDs* facilities,
                                 const QString& name);
    void registerGroupSources(LimeReport::ReportEngine* engine);

    bool m_exportMode = false;
    QString m_debtorType;
    QList<RegisteredSource> m_registeredSources;
    QMapDs* m_individualHeaderDs = nullptr;
    QMapDs* m_individualDebtorDs = nullptr;
    QMapDs* m_corporateHeaderDs = nullptr;
    QMapDs* m_corporateDebtorDs = nullptr;
    OffclsSharehldrGroupDs* m_offclsSharehldrGroupDs = nullptr;
    QMapDs* m_facilitySummaryDs = nullptr;
    FacilitiesDs* m_creditDs = nullptr;
    FacilitiesDs* m_lcDs = nullptr;
    FacilitiesDs* m_bankGuaranteeDs = nullptr;
    FacilitiesDs* m_securityDs = nullptr;
    FacilitiesDs* m_otherDs = nullptr;
};

#endif // TAVIDS_H
