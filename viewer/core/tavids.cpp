#include "tavids.h"

#include "exportwriter.h"
#include "facilitiesds.h"
#include "facilityhistory.h"
#include "offclssharehldrgroupds.h"
#include "qmapds.h"
#include "subjectrecords.h"

#include <LimeReport>

#include <QDebug>
#include <QStringListModel>

#include <algorithm>
#include <exception>

namespace {

// Replaces an owned data source, so that filling twice leaks nothing.
template <class T> void replace(T*& field, T* value)
{
    delete field;
    field = value;
}

template <class T> void release(int step, const char* name, T*& field)
{
    if (!field)
        return;
    qDebug().noquote() << QStringLiteral("TAVIDs::~TAVIDs() %1a %2").arg(step).arg(name);
    delete field;
    field = nullptr;
    qDebug().noquote() << QStringLiteral("TAVIDs::~TAVIDs() %1b %2").arg(step).arg(name);
}

} // namespace

TAVIDs::TAVIDs(QObject* parent) : QObject(parent) {}

TAVIDs::~TAVIDs()
{
    // The engine's data manager owns the engine-side sources and destroys them when
    // their names are removed or the engine goes; deleting them here as well would
    // destroy them twice. Deleting the receivers below disconnects them.
    qDebug().noquote() << "TAVIDs::~TAVIDs() 1a registeredSources";
    m_registeredSources.clear();
    qDebug().noquote() << "TAVIDs::~TAVIDs() 1b registeredSources";
    release(2, "individualHeaderDs", m_individualHeaderDs);
    release(3, "individualDebtorDs", m_individualDebtorDs);
    release(4, "corporateHeaderDs", m_corporateHeaderDs);
    release(4, "corporateDebtorDs", m_corporateDebtorDs);
    release(5, "facilitySummaryDs", m_facilitySummaryDs);
    release(6, "creditDs", m_creditDs);
    release(7, "lcDs", m_lcDs);
    release(8, "bankGuaranteeDs", m_bankGuaranteeDs);
    release(9, "securityDs", m_securityDs);
    release(9, "otherDs", m_otherDs);
    release(10, "offclsSharehldrGroupDs", m_offclsSharehldrGroupDs);
}

const QStringList& TAVIDs::dataSourceNames()
{
    static const QStringList names = {
        QStringLiteral("header"),
        QStringLiteral("individualDebtors"),
        QStringLiteral("offclsSharehldrGroups"),
        QStringLiteral("corporateDebtors"),
        QStringLiteral("offclsSharehldrs"),
        QStringLiteral("securities"),
        QStringLiteral("securities_col"),
        QStringLiteral("securities_gua"),
        QStringLiteral("facilitySummary"),
        QStringLiteral("credits"),
        QStringLiteral("credits_col"),
        QStringLiteral("credits_gua"),
        QStringLiteral("lcs"),
        QStringLiteral("lcs_col"),
        QStringLiteral("lcs_gua"),
        QStringLiteral("bankGuarantees"),
        QStringLiteral("bankGuarantees_col"),
        QStringLiteral("bankGuarantees_gua"),
        QStringLiteral("others"),
        QStringLiteral("others_col"),
        QStringLiteral("others_gua"),
        QStringLiteral("dummy"),
    };
    return names;
}

const QString TAVIDs::individualType = QStringLiteral("I");

void TAVIDs::fillDataSets(QVariantMap document, bool exportMode)
{
    m_exportMode = exportMode;
    const QVariantMap header = document.value(QStringLiteral("header")).toMap();
    const bool individual = SubjectRecords::isIndividual(document);
    // Taken out, not copied: where this call holds the document alone, the facility
    // lists then have no other holder, and their rows are prepared in place.
    QVariantMap subject = document.take(SubjectRecords::subjectKey(document)).toMap();
    QVariantMap facilityLists = subject.take(QStringLiteral("facility")).toMap();
    const QDate referenceDate =
        FacilityHistory::referenceDate(subject.value(QStringLiteral("requestDate")));
    if (individual) {
        m_debtorType = individualType;
        if (!exportMode) {
            buildIndividualHeader(header, subject);
            buildIndividualDebtors(subject);
        }
    } else {
        m_debtorType = QStringLiteral("C");
        if (!exportMode) {
            buildCorporateHeader(header, subject);
            buildCorporateDebtors(subject);
            buildOfficerGroups(subject);
        }
        buildFacilities(m_securityDs, FacilityRecords::Securities, facilityLists, referenceDate);
    }
    buildFacilitySummary(subject);
    buildFacilities(m_creditDs, FacilityRecords::Credits, facilityLists, referenceDate);
    buildFacilities(m_lcDs, FacilityRecords::Lcs, facilityLists, referenceDate);
    buildFacilities(m_bankGuaranteeDs, FacilityRecords::BankGuarantees, facilityLists,
                    referenceDate);
    buildFacilities(m_otherDs, FacilityRecords::Others, facilityLists, referenceDate);
}

void TAVIDs::buildIndividualHeader(const QVariantMap& header, const QVariantMap& subject)
{
    replace(m_individualHeaderDs, new QMapDs(SubjectRecords::individualHeader(header, subject)));
}

void TAVIDs::buildIndividualDebtors(const QVariantMap& subject)
{
    replace(m_individualDebtorDs, new QMapDs(SubjectRecords::individualDebtors(subject)));
}

void TAVIDs::buildCorporateHeader(const QVariantMap& header, const QVariantMap& subject)
{
    replace(m_corporateHeaderDs, new QMapDs(SubjectRecords::corporateHeader(header, subject)));
}

void TAVIDs::buildCorporateDebtors(const QVariantMap& subject)
{
    replace(m_corporateDebtorDs, new QMapDs(SubjectRecords::corporateDebtors(subject)));
}

void TAVIDs::buildOfficerGroups(const QVariantMap& subject)
{
    replace(m_offclsSharehldrGroupDs,
            new OffclsSharehldrGroupDs(SubjectRecords::officerGroups(subject)));
}

void TAVIDs::buildFacilitySummary(const QVariantMap& subject)
{
    replace(m_facilitySummaryDs, new QMapDs(SubjectRecords::facilitySummary(subject)));
}

void TAVIDs::buildFacilities(FacilitiesDs*& field, FacilityRecords::Type type, QVariantMap& lists,
                             const QDate& referenceDate)
{
    // The old data source goes first, so that two copies of a large list never coexist.
    replace<FacilitiesDs>(field, nullptr);
    field =
        new FacilitiesDs(FacilityRecords::columns(type),
                         FacilityRecords::prepareRows(
                             lists.take(FacilityRecords::key(type)).toList(), type, m_exportMode),
                         referenceDate, m_exportMode);
}

template <class Receiver>
LimeReport::ICallbackDatasource* TAVIDs::createCallbackSource(LimeReport::ReportEngine* engine,
                                                              Receiver* receiver,
                                                              const QString& name)
{
    return createCallbackSource(engine, receiver, name, &Receiver::slotGetCallbackData,
                                &Receiver::slotChangePos);
}

template <class Receiver, class DataSlot, class PosSlot>
LimeReport::ICallbackDatasource*
TAVIDs::createCallbackSource(LimeReport::ReportEngine* engine, Receiver* receiver,
                             const QString& name, DataSlot dataSlot, PosSlot posSlot)
{
    LimeReport::ICallbackDatasource* source = nullptr;
    try {
        source = engine->dataManager()->createCallbackDatasource(name);
    } catch (const std::exception& e) {
        qDebug().noquote() << "ERRORRRRR" << e.what();
        return nullptr;
    }
    // A data set the document lacks keeps its name registered, so the template finds
    // it, but nothing answers: the engine sees an empty source.
    if (receiver) {
        connect(source, &LimeReport::ICallbackDatasource::getCallbackData, receiver, dataSlot);
        connect(source, &LimeReport::ICallbackDatasource::changePos, receiver, posSlot);
    }
    m_registeredSources.append({name, source});
    return source;
}

void TAVIDs::registerFacilitySources(LimeReport::ReportEngine* engine, FacilitiesDs* facilities,
                                     const QString& name)
{
    createCallbackSource(engine, facilities, name);
    createCallbackSource(engine, facilities, name + QStringLiteral("_col"),
                         &FacilitiesDs::slotGetCallbackDataCol, &FacilitiesDs::slotChangePosCol);
    createCallbackSource(engine, facilities, name + QStringLiteral("_gua"),
                         &FacilitiesDs::slotGetCallbackDataGua, &FacilitiesDs::slotChangePosGua);
}

void TAVIDs::registerGroupSources(LimeReport::ReportEngine* engine)
{
    createCallbackSource(engine, m_offclsSharehldrGroupDs, QStringLiteral("offclsSharehldrGroups"));
    createCallbackSource(engine, m_offclsSharehldrGroupDs, QStringLiteral("offclsSharehldrs"),
                         &OffclsSharehldrGroupDs::slotGetCallbackDataOsh,
                         &OffclsSharehldrGroupDs::slotChangePosOsh);
}

void TAVIDs::registerDataSources(LimeReport::ReportEngine* engine)
{
    // Sources of an earlier registration that the engine has removed since.
    m_registeredSources.erase(
        std::remove_if(m_registeredSources.begin(), m_registeredSources.end(),
                       [](const RegisteredSource& entry) { return entry.source.isNull(); }),
        m_registeredSources.end());
    if (m_debtorType == individualType) {
        createCallbackSource(engine, m_individualHeaderDs, QStringLiteral("header"));
        createCallbackSource(engine, m_individualDebtorDs, QStringLiteral("individualDebtors"));
    } else {
        createCallbackSource(engine, m_corporateHeaderDs, QStringLiteral("header"));
        createCallbackSource(engine, m_corporateDebtorDs, QStringLiteral("corporateDebtors"));
        registerGroupSources(engine);
        registerFacilitySources(engine, m_securityDs, QStringLiteral("securities"));
    }
    createCallbackSource(engine, m_facilitySummaryDs, QStringLiteral("facilitySummary"));
    registerFacilitySources(engine, m_creditDs, QStringLiteral("credits"));
    registerFacilitySources(engine, m_lcDs, QStringLiteral("lcs"));
    registerFacilitySources(engine, m_bankGuaranteeDs, QStringLiteral("bankGuarantees"));
    registerFacilitySources(engine, m_otherDs, QStringLiteral("others"));
    engine->dataManager()->addModel(QStringLiteral("dummy"),
                                    new QStringListModel({QStringLiteral("dummy")}), true);
}

bool TAVIDs::writeExportFile(const QVariantMap& document, const QString& path, QString* error) const
{
    ExportWriter::FacilityRows facilities;
    const QList<QPair<FacilityRecords::Type, FacilitiesDs*>> sources = {
        {FacilityRecords::Credits, m_creditDs},
        {FacilityRecords::Lcs, m_lcDs},
        {FacilityRecords::BankGuarantees, m_bankGuaranteeDs},
        {FacilityRecords::Securities, m_securityDs},
        {FacilityRecords::Others, m_otherDs},
    };
    for (const auto& source : sources) {
        if (source.second)
            facilities.insert(source.first, source.second->facilities().records());
    }
    return ExportWriter::writeFile(
        path,
        [&](QIODevice* device) { return ExportWriter::exportTo(device, document, facilities); },
        error);
}
