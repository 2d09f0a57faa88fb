#include "exportwriter.h"

#include "documentdate.h"
#include "facilityhistory.h"
#include "subjectrecords.h"

#include "writefailure.h"

#include <QSaveFile>

namespace {

// A table written as "jsonKey exportKey jsonKey exportKey ...".
ExportWriter::KeyPairs keyPairs(const char* text)
{
    const QStringList words = QString::fromLatin1(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    ExportWriter::KeyPairs pairs;
    for (int i = 0; i + 1 < words.size(); i += 2)
        pairs.append({words[i], words[i + 1]});
    return pairs;
}

const ExportWriter::KeyPairs headerKeys =
    keyPairs("userReferenceCode kodeReferensiPengguna resultDate tanggalHasil inquiryId "
             "idPermintaan inquiryUserId idPenggunaPermintaan inquiryCreatedBy dibuatOleh "
             "inquiryMemberCode kodeLJKPermintaan inquiryOfficeCode kodeCabangPermintaan "
             "reportRequestPurposeCode kodeTujuanPermintaan inquiryDate tanggalPermintaan "
             "dataSetTotal totalBagian dataSetNumber nomorBagian");

const ExportWriter::KeyPairs individualKeywordKeys =
    keyPairs("identityNumberName namaDebitur gender jenisKelamin genderDesc jenisKelaminKet "
             "identityNumber noIdentitas taxId npwp birthPlace tempatLahir birthDate tanggalLahir");

const ExportWriter::KeyPairs corporateKeywordKeys =
    keyPairs("identityNumberName namaBadanUsaha taxId npwp estPlace tempatPendirian estCertDate "
             "tanggalAktaPendirian estCertNo nomorAktaPendirian");

const ExportWriter::KeyPairs individualDebtorKeys =
    keyPairs("identityNumberName namaDebitur identityNumberType identitas identityNumber "
             "noIdentitas address alamat gender jenisKelamin genderDesc jenisKelaminKet taxId "
             "npwp birthPlace tempatLahir birthDate tanggalLahir member pelapor memberDesc "
             "pelaporKet createdDatetime tanggalDibentuk updatedDatetime tanggalUpdate "
             "subDistrict kelurahan district kecamatan city kabKota cityDesc kabKotaKet "
             "postalCode kodePos country negara countryDesc negaraKet occupation pekerjaan "
             "occupationDesc pekerjaanKet workCompanyName tempatBekerja economicSector "
             "bidangUsaha economicSectorDesc bidangUsahaKet academicDegree kodeGelarDebitur "
             "academicDegreeDesc statusGelarDebitur");

const ExportWriter::KeyPairs corporateDebtorKeys =
    keyPairs("identityNumberName namaDebitur fullName namaLengkap taxId npwp companyType bentukBu "
             "goPublicFlag goPublic companyTypeDesc bentukBuKet estPlace tempatPendirian "
             "estCertNo noAktaPendirian estCertDate tglAktaPendirian member pelapor memberDesc "
             "pelaporKet createdDatetime tanggalDibentuk updatedDatetime tanggalUpdate address "
             "alamat subDistrict kelurahan district kecamatan city kabKota cityDesc kabKotaKet "
             "postalCode kodePos country negara countryDesc negaraKet latestAddCertNo "
             "noAktaTerakhir latestAddCertDate tglAktaTerakhir economicSector sektorEkonomi "
             "economicSectorDesc sektorEkonomiKet ratingAgency pemeringkat ratingAgencyDesc "
             "pemeringkatKet rating peringkat ratingDate tanggalPemeringkatan");

const ExportWriter::KeyPairs summaryKeys =
    keyPairs("currentCreditLimit plafonEfektifKreditPembiayaan currentLcLimit plafonEfektifLc "
             "currentBgLimit plafonEfektifGyd currentSecLimit plafonEfektifSec currentOtherLimit "
             "plafonEfektifLain currentTotalLimit plafonEfektifTotal outstandingPrincipalCredit "
             "bakiDebetKreditPembiayaan outstandingPrincipalLc bakiDebetLc outstandingPrincipalBg "
             "bakiDebetGyd outstandingPrincipalSec bakiDebetSec outstandingPrincipalOther "
             "bakiDebetLain outstandingPrincipalTotal bakiDebetTotal numberOfBank "
             "krediturBankUmum numberOfRuralBank krediturBPR/S numberOfFinancingCompany "
             "krediturLp numberOfOtherCreditor krediturLainnya worstCollectibilityColCode "
             "kualitasTerburuk worstCollectibilityYearMonth kualitasBulanDataTerburuk");

const ExportWriter::KeyPairs securityKeys =
    keyPairs("member ljk memberDesc ljkKet office cabang officeDesc cabangKet amount nominalSb "
             "createdDatetime tanggalDibentuk updatedDatetime tanggalUpdate dataMonth bulan "
             "dataYear tahun accountNo noSuratBerharga securityType jenisSuratBerharga "
             "sovereignRate sovereignRate isListed listing rating peringkatSuratBerharga "
             "securityOwnPurpose tujuanKepemilikan securityOwnPurposeDesc tujuanKepemilikanKet "
             "listingDate tanggalTerbit dueDate tanggalJatuhTempo interestRate sukuBungaImbalan "
             "currencyCode kodeValuta collectibilityType kualitas collectibilityTypeDesc "
             "kualitasKet overdueDays jumlahHariTunggakan oriCurrencyAmount "
             "nilaiDalamMataUangAsal marketValue nilaiPasar buyAmount nilaiPerolehan "
             "overdueAmount tunggakan nonPerformingDate tanggalMacet nonPerformingReason "
             "kodeSebabMacet nonPerformingReasonDesc sebabMacetKet condition kondisi "
             "conditionDesc kondisiKet conditionDate tanggalKondisi description keterangan");

const ExportWriter::KeyPairs creditKeys =
    keyPairs("member ljk memberDesc ljkKet office cabang officeDesc cabangKet "
             "outstandingPrincipal bakiDebet createdDatetime tanggalDibentuk updatedDatetime "
             "tanggalUpdate dataMonth bulan dataYear tahun creditNature sifatKreditPembiayaan "
             "creditNatureDesc sifatKreditPembiayaanKet creditType jenisKreditPembiayaan "
             "creditTypeDesc jenisKreditPembiayaanKet financingScheme akadKreditPembiayaan "
             "financingSchemeDesc akadKreditPembiayaanKet accountNo noRekening isNewFlag "
             "frekPerpjganKreditPembiayaan initialContractNo noAkadAwal initialContractDate "
             "tanggalAkadAwal lastContractNo noAkadAkhir lastContractDate tanggalAkadAkhir "
             "creditStartDate tanggalAwalKredit startDate tanggalMulai dueDate tanggalJatuhTempo "
             "debtorCategory kategoriDebiturKode debtorCategoryDesc kategoriDebiturKet "
             "creditUsage jenisPenggunaan creditUsageDesc jenisPenggunaanKet economicSector "
             "sektorEkonomi economicSectorDesc sektorEkonomiKet governmentProgramFlag "
             "kreditProgramPemerintah governmentProgramFlagDesc kreditProgramPemerintahKet "
             "projectCity lokasiProyek projectCityDesc lokasiProyekKet currencyCode valutaKode "
             "interestRate sukuBungaImbalan interestRateType jenisSukuBungaImbalan "
             "interestRateTypeDesc jenisSukuBungaImbalanKet collectibility kualitas "
             "collectibilityDesc kualitasKet overdueDays jumlahHariTunggakan projectAmount "
             "nilaiProyek originalCreditLimit plafonAwal currentCreditLimit plafon "
             "creditLimitUsage realisasiBulanBerjalan oriCurrencyAmount nilaiDalamMataUangAsal "
             "nonPerformingReason kodeSebabMacet nonPerformingReasonDesc sebabMacetKet "
             "nonPerformingDate tanggalMacet overduePrincipalAmount tunggakanPokok "
             "overdueInterestAmount tunggakanBunga overdueFreq frekuensiTunggakan lateCharges "
             "denda restructureFreq frekuensiRestrukturisasi restructureEndDate "
             "tanggalRestrukturisasiAkhir restructureMethod kodeCaraRestrukturisasi "
             "restructureMethodDesc restrukturisasiKet condition kondisi conditionDesc kondisiKet "
             "conditionDate tanggalKondisi description keterangan");

const ExportWriter::KeyPairs lcKeys =
    keyPairs("member ljk memberDesc ljkKet office cabang officeDesc cabangKet lcAmount nominalLc "
             "createdDatetime tanggalDibentuk updatedDatetime tanggalUpdate dataMonth bulan "
             "dataYear tahun accountNo noLc lcType jenisLc lcTypeDesc jenisLcKet lcIssueDate "
             "tanggalKeluar lcEndDate tanggalJthTempo initialContractNo noAkadAwal "
             "initialContractDate tanggalAkadAwal lastContractNo noAkadAkhir lastContractDate "
             "tanggalAkadAkhir counterPartyBank bankBeneficiary collectibilityType kualitas "
             "collectibilityTypeDesc kualitasKet currencyCode valuta lcLimit plafon lcPurpose "
             "tujuanLc lcPurposeDesc tujuanLcKet lcCollateralAmount setoraJaminan lcDefaultDate "
             "tanggalWanPrestasi condition kondisi conditionDesc kondisiKet conditionDate "
             "tanggalKondisi description keterangan");

const ExportWriter::KeyPairs bankGuaranteeKeys =
    keyPairs("member ljk memberDesc ljkKet office cabang officeDesc cabangKet bgAmount nominalBg "
             "createdDatetime tanggalDibentuk updatedDatetime tanggalUpdate dataMonth bulan "
             "dataYear tahun accountNo noRekening bankGuaranteeType jenisGaransi "
             "bankGuaranteeTypeDesc jenisGaransiKet bgIssueDate tanggalDiterbitkan bgEndDate "
             "tanggalJatuhTempo initialContractNo noAkadAwal initialContractDate tanggalAkadAwal "
             "lastContractNo noAkadAkhir lastContractDate tanggalAkadAkhir guaranteeName "
             "namaYangDijamin collectibilityType kualitas collectibilityTypeDesc kualitasKet "
             "currencyCode kodeValuta bgLimit plafon bankGuaranteePurpose kodeTujuanGaransi "
             "bankGuaranteePurposeDesc tujuanGaransiKet collateralAmount setoranJaminan "
             "bgDefaultDate tanggalWanPrestasi condition kodeKondisi conditionDesc kondisiKet "
             "conditionDate tanggalKondisi description keterangan");

const ExportWriter::KeyPairs otherKeys =
    keyPairs("member ljk memberDesc ljkKet office cabang officeDesc cabangKet facilityAmount "
             "nominalJumlahKwajibanIDR createdDatetime tanggalDibentuk updatedDatetime "
             "tanggalUpdate dataMonth bulan dataYear tahun accountNo noRekening facilityType "
             "kodeJenisFasilitas facilityTypeDesc jenisFasilitasKet facilityStartDate "
             "tanggalMulai facilityEndDate tanggalJatuhTempo currencyCode kodeValuta "
             "oriCurrencyAmount nilaiDalamMataUangAsal interestRate sukuBungaImbalan "
             "collectibilityType kualitas collectibilityTypeDesc kualitasKet overdueDays "
             "jumlahHariTunggakan nonPerformingDate tanggalMacet nonPerformingReason "
             "kodeSebabMacet nonPerformingReasonDesc sebabMacetDesc overdueAmount tunggakan "
             "condition kodeKondisi conditionDesc kondisiKet conditionDate tanggalKondisi "
             "description keterangan");

const ExportWriter::KeyPairs collateralKeys =
    keyPairs("collateralTypeDesc jenisAgunanKet collateralValueMember nilaiAgunanMenurutLJK "
             "sharedCollPercentage prosentaseParipasu updatedDatetime tanggalUpdate "
             "collateralRegNo nomorAgunan contractType jenisPengikatan contractTypeDesc "
             "jenisPengikatanKet contractDate tanggalPengikatan collateralOwnerName "
             "namaPemilikAgunan collateralAddress alamatAgunan collateralCity kabKotaLokasiAgunan "
             "collateralCityDesc kabKotaLokasiAgunanKet memberAppraisalDate tglPenilaianPelapor "
             "collateralRating peringkatAgunan ratingAgency kodeLembagaPemeringkat "
             "ratingAgencyDesc lembagaPemeringkat ownershipDocument buktiKepemilikan "
             "collateralValueTax nilaiAgunanNjop collateralValueAppr nilaiAgunanIndep "
             "collateralAppraiserName namaPenilaiIndep isInsuredFlag asuransi "
             "collateralAppraisalDate tanggalPenilaianPenilaiIndependen description keterangan");

const ExportWriter::KeyPairs guarantorKeys =
    keyPairs("guarantorName namaPenjamin identityNumber nomorIdentitas updatedDatetime "
             "tanggalUpdate createdDatetime tanggalBuat guarantorType kodeJenisPenjamin "
             "guarantorTypeDesc keteranganJenisPenjamin guarantorAddress alamatPenjamin "
             "description keterangan");

const ExportWriter::KeyPairs officerKeys =
    keyPairs("identityNumberName namaSesuaiIdentitas identityNumber nomorIdentitas gender "
             "kodeJenisKelamin genderDesc jenisKelamin jobPosition kodePosisiPekerjaan "
             "jobPositionDesc posisiPekerjaan shareOwnership prosentaseKepemilikan "
             "shareholderStatus kodeStatusPengurusPemilik shareholderStatusDesc "
             "statusPengurusPemilik address alamat subDistrict kelurahan district kecamatan city "
             "kodeKota cityDesc kota");
void writeString(ExportWriter::Writer& writer, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    writer.String(utf8.constData(), static_cast<rapidjson::SizeType>(utf8.size()));
}

// The export names of the history columns, in the order they are written.
const ExportWriter::KeyPairs& historyKeys()
{
    static const ExportWriter::KeyPairs keys = [] {
        ExportWriter::KeyPairs pairs;
        for (int i = 1; i <= FacilityHistory::months; ++i) {
            pairs.append(
                {FacilityHistory::monthYearKey(i), QString::asprintf("tahunBulan%02d", i)});
            pairs.append(
                {FacilityHistory::colCodeKey(i), QString::asprintf("tahunBulan%02dKol", i)});
            pairs.append({FacilityHistory::dayKey(i), QString::asprintf("tahunBulan%02dHt", i)});
        }
        return pairs;
    }();
    return keys;
}

} // namespace

void ExportWriter::writeKeyValue(Writer& writer, const QString& key, const QVariant& value)
{
    writeString(writer, key);
    writeString(writer, value.isNull() ? QString() : value.toString());
}

void ExportWriter::writeMembers(Writer& writer, const KeyPairs& pairs, const QVariantMap& map)
{
    for (const auto& pair : pairs)
        writeKeyValue(writer, pair.second, map.value(pair.first));
}

void ExportWriter::writeObject(Writer& writer, const QString& name, const KeyPairs& pairs,
                               const QVariantMap& map)
{
    writeString(writer, name);
    writer.StartObject();
    writeMembers(writer, pairs, map);
    writer.EndObject();
}

void ExportWriter::writeArray(Writer& writer, const QString& name, const KeyPairs& pairs,
                              const QVariantList& rows)
{
    writeString(writer, name);
    writer.StartArray();
    for (const QVariant& row : rows) {
        writer.StartObject();
        writeMembers(writer, pairs, row.toMap());
        writer.EndObject();
    }
    writer.EndArray();
}

void ExportWriter::writeOfficerGroups(Writer& writer, const QVariantList& groups)
{
    writeString(writer, QStringLiteral("kelompokPengurusPemilik"));
    writer.StartArray();
    for (const QVariant& groupValue : groups) {
        const QVariantMap group = groupValue.toMap();
        writer.StartObject();
        writeKeyValue(writer, QStringLiteral("kodeLJK"), group.value(QStringLiteral("member")));
        writeKeyValue(writer, QStringLiteral("namaLJK"), group.value(QStringLiteral("memberDesc")));
        writeArray(writer, QStringLiteral("pengurusPemilik"), officerKeys,
                   group.value(QStringLiteral("offclsSharehldrs")).toList());
        writer.EndObject();
    }
    writer.EndArray();
}

void ExportWriter::writeFacilities(Writer& writer, const QString& name, FacilityRecords::Type type,
                                   const QList<QVariantMap>& rows)
{
    static const QMap<FacilityRecords::Type, const KeyPairs*> tables = {
        {FacilityRecords::Credits, &creditKeys},
        {FacilityRecords::Lcs, &lcKeys},
        {FacilityRecords::BankGuarantees, &bankGuaranteeKeys},
        {FacilityRecords::Securities, &securityKeys},
        {FacilityRecords::Others, &otherKeys},
    };
    writeString(writer, name);
    writer.StartArray();
    for (const QVariantMap& row : rows) {
        writer.StartObject();
        writeMembers(writer, *tables.value(type), row);
        writeMembers(writer, historyKeys(), row);
        QVariantList collaterals = row.value(QStringLiteral("collaterals")).toList();
        truncateDateKeysInRows(collaterals, {QStringLiteral("contractDate")});
        writeArray(writer, QStringLiteral("agunan"), collateralKeys, collaterals);
        writeArray(writer, QStringLiteral("penjamin"), guarantorKeys,
                   row.value(QStringLiteral("guarantors")).toList());
        writer.EndObject();
    }
    writer.EndArray();
}

ExportWriter::DeviceStream::DeviceStream(QIODevice* device)
    : m_device(device), m_buffer(std::size_t(1) << 16)
{
}

void ExportWriter::DeviceStream::Flush()
{
    // A write that fills the disk is taken in part and fails without a cause; what is
    // left, tried once more, fails with it.
    qint64 done = 0;
    const qint64 size = qint64(m_used);
    while (!m_failed && done < size) {
        const qint64 part = m_device->write(m_buffer.data() + done, size - done);
        m_failed = part <= 0;
        done += qMax<qint64>(part, 0);
    }
    m_used = 0;
}

bool ExportWriter::exportTo(QIODevice* device, const QVariantMap& document,
                            const FacilityRows& facilities)
{
    DeviceStream stream(device);
    Writer writer(stream);
    writer.StartObject();
    writeObject(writer, QStringLiteral("header"), headerKeys,
                document.value(QStringLiteral("header")).toMap());

    const bool isIndividual = SubjectRecords::isIndividual(document);
    const QVariantMap subject = SubjectRecords::subject(document);
    writeString(writer, isIndividual ? QStringLiteral("individual") : QStringLiteral("perusahaan"));
    writer.StartObject();
    writeKeyValue(writer, QStringLiteral("nomorLaporan"),
                  subject.value(QStringLiteral("reportNumber")));
    writeKeyValue(writer, QStringLiteral("posisiDataTerakhir"),
                  subject.value(QStringLiteral("latestDataYearMonth")));
    writeKeyValue(writer, QStringLiteral("tanggalPermintaan"),
                  subject.value(QStringLiteral("requestDate")));

    const QString keywordKey =
        isIndividual ? QStringLiteral("individualKeyword") : QStringLiteral("corporateKeyWord");
    const QString debtorsKey =
        isIndividual ? QStringLiteral("individualDebtors") : QStringLiteral("corporateDebtors");
    const QString dateKey =
        isIndividual ? QStringLiteral("birthDate") : QStringLiteral("estCertDate");
    QVariantMap keyword = subject.value(keywordKey).toMap();
    truncateDateKeys(keyword, {dateKey});
    writeObject(writer, QStringLiteral("parameterPencarian"),
                isIndividual ? individualKeywordKeys : corporateKeywordKeys, keyword);
    QVariantList debtors = subject.value(debtorsKey).toList();
    truncateDateKeysInRows(debtors, {dateKey});
    writeArray(writer, QStringLiteral("dataPokokDebitur"),
               isIndividual ? individualDebtorKeys : corporateDebtorKeys, debtors);
    if (!isIndividual)
        writeOfficerGroups(writer, subject.value(QStringLiteral("offclsSharehldrGroups")).toList());

    writeObject(writer, QStringLiteral("ringkasanFasilitas"), summaryKeys,
                subject.value(QStringLiteral("facilitySummary")).toMap());

    writeString(writer, QStringLiteral("fasilitas"));
    writer.StartObject();
    if (!isIndividual)
        writeFacilities(writer, QStringLiteral("suratBerharga"), FacilityRecords::Securities,
                        facilities.value(FacilityRecords::Securities));
    writeFacilities(writer, QStringLiteral("kreditPembiayan"), FacilityRecords::Credits,
                    facilities.value(FacilityRecords::Credits));
    writeFacilities(writer, QStringLiteral("lc"), FacilityRecords::Lcs,
                    facilities.value(FacilityRecords::Lcs));
    writeFacilities(writer, QStringLiteral("garansiYgDiberikan"), FacilityRecords::BankGuarantees,
                    facilities.value(FacilityRecords::BankGuarantees));
    writeFacilities(writer, QStringLiteral("fasilitasLain"), FacilityRecords::Others,
                    facilities.value(FacilityRecords::Others));
    writer.EndObject();

    writer.EndObject();
    writer.EndObject();
    stream.Flush();
    return !stream.failed();
}

bool ExportWriter::writeFile(const QString& path, const std::function<bool(QIODevice*)>& write,
                             QString* error)
{
    // Written beside the target and put in its place only when whole, so a full disk,
    // a lost folder or a killed program never leaves half a file under the final name
    // nor costs an earlier export of that name.
    QSaveFile file(path);
    const bool written =
        file.open(QIODevice::WriteOnly) && write(&file) && file.flush() && file.commit();
    if (!written && error)
        *error = WriteFailure::reason(path, file);
    return written;
}
