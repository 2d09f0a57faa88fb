#include "exportwriter.h"
#include "facilitiesds.h"
#include "reportsample.h"
#include "tavids.h"

#include <rapidjson/document.h>

#include <QtTest>

namespace {

// Exports `document` the way the text export does and returns the file's bytes.
QByteArray exportBytes(const QVariantMap& document)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("out.txt");
    TAVIDs tavids;
    tavids.fillDataSets(document, true);
    QString error;
    if (!tavids.writeExportFile(document, path, &error))
        qFatal("export failed: %s", qPrintable(error));
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// Writes `text` as the export writer writes its files.
bool writeText(const QString& path, const QByteArray& text, QString* error)
{
    return ExportWriter::writeFile(
        path, [&](QIODevice* device) { return device->write(text) == text.size(); }, error);
}

// Takes at most `room` bytes; once full, a write takes nothing and fails.
class ShortDevice : public QIODevice
{
public:
    explicit ShortDevice(qint64 room) : m_room(room) { open(QIODevice::WriteOnly); }
    QByteArray taken;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        const qint64 part = qMin(size, m_room - taken.size());
        if (part <= 0)
            return -1;
        taken.append(data, int(part));
        return part;
    }

private:
    qint64 m_room;
};

// The corporate sample with `count` credits, each a copy of its first.
QVariantMap withCredits(int count)
{
    QVariantMap document = sampleMap("corporate-basic.json");
    QVariantMap subject = document.value("corporate").toMap();
    QVariantMap facility = subject.value("facility").toMap();
    const QVariant first = facility.value("credits").toList().first();
    QVariantList credits;
    for (int i = 0; i < count; ++i)
        credits.append(first);
    facility.insert("credits", credits);
    subject.insert("facility", facility);
    document.insert("corporate", subject);
    return document;
}

// The export of `document` written to a device, with what writeExportFile gets ready.
bool exportToDevice(QIODevice* device, const QVariantMap& document)
{
    TAVIDs tavids;
    tavids.fillDataSets(document, true);
    ExportWriter::FacilityRows rows;
    rows.insert(FacilityRecords::Credits, tavids.creditDs()->facilities().records());
    rows.insert(FacilityRecords::Lcs, tavids.lcDs()->facilities().records());
    rows.insert(FacilityRecords::BankGuarantees, tavids.bankGuaranteeDs()->facilities().records());
    rows.insert(FacilityRecords::Securities, tavids.securityDs()->facilities().records());
    rows.insert(FacilityRecords::Others, tavids.otherDs()->facilities().records());
    return ExportWriter::exportTo(device, document, rows);
}

// The export parsed with member order kept.
struct Parsed
{
    explicit Parsed(const QByteArray& bytes) : text(bytes) { doc.Parse(text.constData()); }
    QByteArray text;
    rapidjson::Document doc;
};

QStringList memberNames(const rapidjson::Value& object)
{
    QStringList names;
    for (auto it = object.MemberBegin(); it != object.MemberEnd(); ++it)
        names << QString::fromUtf8(it->name.GetString(), int(it->name.GetStringLength()));
    return names;
}

QString text(const rapidjson::Value& value)
{
    return QString::fromUtf8(value.GetString(), int(value.GetStringLength()));
}

// True when every value below `value` is a string.
bool onlyStrings(const rapidjson::Value& value)
{
    if (value.IsObject()) {
        for (auto it = value.MemberBegin(); it != value.MemberEnd(); ++it) {
            if (!onlyStrings(it->value))
                return false;
        }
        return true;
    }
    if (value.IsArray()) {
        for (const auto& element : value.GetArray()) {
            if (!onlyStrings(element))
                return false;
        }
        return true;
    }
    return value.IsString();
}

QStringList historyKeys()
{
    QStringList keys;
    for (int i = 1; i <= 24; ++i)
        keys << QString::asprintf("tahunBulan%02d", i) << QString::asprintf("tahunBulan%02dKol", i)
             << QString::asprintf("tahunBulan%02dHt", i);
    return keys;
}

} // namespace

class TestExportWriter : public QObject
{
    Q_OBJECT

private slots:
    void subjectMember_data();
    void subjectMember();
    void prettyPrinted();
    void headerOrder();
    void searchKeysAndDebtors();
    void corporateParts();
    void officerGroups();
    void summaryOrder();
    void facilityRowLayout_data();
    void facilityRowLayout();
    void facilityDetails();
    void facilityWithoutHistory();
    void valuesAsText_data();
    void valuesAsText();
    void emptyDocument();
    void nonAsciiSurvives();
    void fileIsReplaced();
    void largeExportIsWhole();
    void deviceTakingPart_data();
    void deviceTakingPart();
    void unwritablePath_data();
    void unwritablePath();
};

void TestExportWriter::subjectMember_data()
{
    QTest::addColumn<QString>("sample");
    QTest::addColumn<QString>("member");
    QTest::addColumn<QStringList>("facilities");
    const QStringList common{"kreditPembiayan", "lc", "garansiYgDiberikan", "fasilitasLain"};
    QTest::newRow("individual") << "individual-basic.json"
                                << "individual" << common;
    QTest::newRow("corporate") << "corporate-basic.json"
                               << "perusahaan" << QStringList{"suratBerharga"} + common;
}

void TestExportWriter::subjectMember()
{
    QFETCH(QString, sample);
    QFETCH(QString, member);
    QFETCH(QStringList, facilities);
    Parsed parsed(exportBytes(sampleMap(sample)));
    QVERIFY(!parsed.doc.HasParseError());
    QCOMPARE(memberNames(parsed.doc), QStringList({"header", member}));
    const rapidjson::Value& subject = parsed.doc[member.toUtf8().constData()];
    QStringList expected{"nomorLaporan", "posisiDataTerakhir", "tanggalPermintaan",
                         "parameterPencarian", "dataPokokDebitur"};
    if (member == QLatin1String("perusahaan"))
        expected << "kelompokPengurusPemilik";
    expected << "ringkasanFasilitas"
             << "fasilitas";
    QCOMPARE(memberNames(subject), expected);
    QCOMPARE(memberNames(subject["fasilitas"]), facilities);
    QVERIFY(onlyStrings(parsed.doc));
}

void TestExportWriter::prettyPrinted()
{
    const QByteArray bytes = exportBytes(sampleMap("individual-basic.json"));
    QVERIFY(bytes.startsWith("{\n    \"header\": {\n        \"kodeReferensiPengguna\": "
                             "\"BDG/KPR/2403/00871\",\n"));
    QVERIFY(bytes.endsWith("}"));
}

void TestExportWriter::headerOrder()
{
    Parsed parsed(exportBytes(sampleMap("corporate-basic.json")));
    const rapidjson::Value& header = parsed.doc["header"];
    QCOMPARE(memberNames(header),
             QStringList({"kodeReferensiPengguna", "tanggalHasil", "idPermintaan",
                          "idPenggunaPermintaan", "dibuatOleh", "kodeLJKPermintaan",
                          "kodeCabangPermintaan", "kodeTujuanPermintaan", "tanggalPermintaan",
                          "totalBagian", "nomorBagian"}));
    QCOMPARE(text(header["tanggalHasil"]), QStringLiteral("20240418084533"));
    QCOMPARE(text(header["nomorBagian"]), QStringLiteral("2"));
}

void TestExportWriter::searchKeysAndDebtors()
{
    Parsed parsed(exportBytes(sampleMap("individual-basic.json")));
    const rapidjson::Value& subject = parsed.doc["individual"];
    QCOMPARE(text(subject["nomorLaporan"]), QStringLiteral("24031800004578120001"));
    QCOMPARE(text(subject["posisiDataTerakhir"]), QStringLiteral("202402"));
    QCOMPARE(text(subject["tanggalPermintaan"]), QStringLiteral("20240318101530"));
    QCOMPARE(memberNames(subject["parameterPencarian"]),
             QStringList({"namaDebitur", "jenisKelamin", "jenisKelaminKet", "noIdentitas", "npwp",
                          "tempatLahir", "tanggalLahir"}));
    const rapidjson::Value& debtors = subject["dataPokokDebitur"];
    QCOMPARE(int(debtors.Size()), 2);
    const QStringList debtorKeys = memberNames(debtors[0]);
    QCOMPARE(debtorKeys.size(), 27);
    QCOMPARE(debtorKeys.first(), QStringLiteral("namaDebitur"));
    QCOMPARE(debtorKeys.at(3), QStringLiteral("alamat"));
    QCOMPARE(debtorKeys.last(), QStringLiteral("statusGelarDebitur"));
    // Dates other than the cut ones stay as the document has them.
    QCOMPARE(text(debtors[0]["tanggalDibentuk"]), QStringLiteral("20160415103012"));
    QCOMPARE(text(debtors[1]["npwp"]), QString());
}

void TestExportWriter::corporateParts()
{
    Parsed parsed(exportBytes(sampleMap("corporate-basic.json")));
    const rapidjson::Value& subject = parsed.doc["perusahaan"];
    QCOMPARE(memberNames(subject["parameterPencarian"]),
             QStringList({"namaBadanUsaha", "npwp", "tempatPendirian", "tanggalAktaPendirian",
                          "nomorAktaPendirian"}));
    QCOMPARE(text(subject["parameterPencarian"]["tanggalAktaPendirian"]),
             QStringLiteral("20050314"));
    const rapidjson::Value& debtor = subject["dataPokokDebitur"][0];
    const QStringList keys = memberNames(debtor);
    QCOMPARE(keys.size(), 29);
    QCOMPARE(keys.mid(0, 3), QStringList({"namaDebitur", "namaLengkap", "npwp"}));
    QCOMPARE(keys.last(), QStringLiteral("tanggalPemeringkatan"));
    QCOMPARE(text(debtor["goPublic"]), QStringLiteral("T"));
    QCOMPARE(text(debtor["peringkat"]), QStringLiteral("idA-"));
}

void TestExportWriter::officerGroups()
{
    Parsed parsed(exportBytes(sampleMap("corporate-basic.json")));
    const rapidjson::Value& groups = parsed.doc["perusahaan"]["kelompokPengurusPemilik"];
    QCOMPARE(int(groups.Size()), 2);
    QCOMPARE(memberNames(groups[0]), QStringList({"kodeLJK", "namaLJK", "pengurusPemilik"}));
    QCOMPARE(text(groups[0]["kodeLJK"]), QStringLiteral("611"));
    QCOMPARE(text(groups[1]["kodeLJK"]), QStringLiteral("523"));
    const rapidjson::Value& officers = groups[0]["pengurusPemilik"];
    QCOMPARE(int(officers.Size()), 3);
    QCOMPARE(int(groups[1]["pengurusPemilik"].Size()), 2);
    QCOMPARE(
        memberNames(officers[0]),
        QStringList({"namaSesuaiIdentitas", "nomorIdentitas", "kodeJenisKelamin", "jenisKelamin",
                     "kodePosisiPekerjaan", "posisiPekerjaan", "prosentaseKepemilikan",
                     "kodeStatusPengurusPemilik", "statusPengurusPemilik", "alamat", "kelurahan",
                     "kecamatan", "kodeKota", "kota"}));
    QCOMPARE(text(officers[1]["prosentaseKepemilikan"]), QStringLiteral("25.5"));
    QCOMPARE(text(officers[2]["jenisKelamin"]), QString());
}

void TestExportWriter::summaryOrder()
{
    Parsed parsed(exportBytes(sampleMap("corporate-basic.json")));
    const rapidjson::Value& summary = parsed.doc["perusahaan"]["ringkasanFasilitas"];
    const QStringList keys = memberNames(summary);
    QCOMPARE(keys.size(), 18);
    QCOMPARE(keys.first(), QStringLiteral("plafonEfektifKreditPembiayaan"));
    QCOMPARE(keys.at(13), QStringLiteral("krediturBPR/S"));
    QCOMPARE(keys.last(), QStringLiteral("kualitasBulanDataTerburuk"));
    QCOMPARE(text(summary["kualitasBulanDataTerburuk"]), QStringLiteral("202207"));
    QCOMPARE(text(summary["bakiDebetTotal"]), QStringLiteral("26469043210.55"));
    QCOMPARE(text(summary["krediturBankUmum"]), QStringLiteral("3"));
}

void TestExportWriter::facilityRowLayout_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("ownKeys");
    QTest::addColumn<QString>("firstOwn");
    QTest::addColumn<QString>("lastOwn");
    QTest::newRow("securities") << "suratBerharga" << 34 << "ljk"
                                << "keterangan";
    QTest::newRow("credits") << "kreditPembiayan" << 61 << "ljk"
                             << "keterangan";
    QTest::newRow("lcs") << "lc" << 31 << "ljk"
                         << "keterangan";
    QTest::newRow("bank guarantees") << "garansiYgDiberikan" << 31 << "ljk"
                                     << "keterangan";
    QTest::newRow("others") << "fasilitasLain" << 28 << "ljk"
                            << "keterangan";
}

void TestExportWriter::facilityRowLayout()
{
    QFETCH(QString, list);
    QFETCH(int, ownKeys);
    QFETCH(QString, firstOwn);
    QFETCH(QString, lastOwn);
    Parsed parsed(exportBytes(sampleMap("corporate-basic.json")));
    const rapidjson::Value& rows = parsed.doc["perusahaan"]["fasilitas"][list.toUtf8().constData()];
    QVERIFY(rows.Size() > 0);
    const QStringList keys = memberNames(rows[0]);
    QCOMPARE(keys.size(), ownKeys + 72 + 2);
    QCOMPARE(keys.first(), firstOwn);
    QCOMPARE(keys.at(ownKeys - 1), lastOwn);
    QCOMPARE(keys.mid(ownKeys, 72), historyKeys());
    QCOMPARE(keys.mid(ownKeys + 72), QStringList({"agunan", "penjamin"}));
    QCOMPARE(text(rows[0]["tahunBulan01"]), QStringLiteral("202204"));
    QCOMPARE(text(rows[0]["tahunBulan24"]), QStringLiteral("202403"));
    QCOMPARE(text(rows[0]["bulan"]).size(), 2);
    QCOMPARE(text(rows[0]["tahun"]).size(), 4);
}

void TestExportWriter::facilityDetails()
{
    const QVariantMap doc = documentMap(R"({"individual": {"requestDate": "20210315",
        "facility": {"credits": [{"dataYearMonth": "202102", "dueDate": "20300101000000",
            "collectibility": "2", "collectibilityDesc": "Dalam Perhatian Khusus",
            "month02ColCode": "2", "month02Day": "31",
            "collaterals": [{"contractDate": "20190415103012", "updatedDatetime": "20240305101010",
                              "collateralType": "X", "collateralTypeDesc": "Tanah"}],
            "guarantors": [{"guarantorName": "Budi", "createdDatetime": "20200131"}]}]}}})");
    Parsed parsed(exportBytes(doc));
    const rapidjson::Value& row = parsed.doc["individual"]["fasilitas"]["kreditPembiayan"][0];
    QCOMPARE(text(row["tanggalJatuhTempo"]), QStringLiteral("20300101"));
    QCOMPARE(text(row["kualitas"]), QStringLiteral("2"));
    QCOMPARE(text(row["tahunBulan24"]), QStringLiteral("202102"));
    QCOMPARE(text(row["tahunBulan24Kol"]), QStringLiteral("2"));
    QCOMPARE(text(row["tahunBulan24Ht"]), QStringLiteral("31"));
    QCOMPARE(text(row["tahun"]), QStringLiteral("2021"));
    QCOMPARE(text(row["bulan"]), QStringLiteral("02"));

    const rapidjson::Value& collateral = row["agunan"][0];
    const QStringList collateralKeys = memberNames(collateral);
    QCOMPARE(collateralKeys.size(), 23);
    QCOMPARE(collateralKeys.first(), QStringLiteral("jenisAgunanKet"));
    QCOMPARE(collateralKeys.last(), QStringLiteral("keterangan"));
    QCOMPARE(text(collateral["tanggalPengikatan"]), QStringLiteral("20190415"));
    QCOMPARE(text(collateral["tanggalUpdate"]), QStringLiteral("20240305101010"));
    QCOMPARE(text(collateral["jenisAgunanKet"]), QStringLiteral("Tanah"));

    const rapidjson::Value& guarantor = row["penjamin"][0];
    QCOMPARE(memberNames(guarantor),
             QStringList({"namaPenjamin", "nomorIdentitas", "tanggalUpdate", "tanggalBuat",
                          "kodeJenisPenjamin", "keteranganJenisPenjamin", "alamatPenjamin",
                          "keterangan"}));
    QCOMPARE(text(guarantor["tanggalBuat"]), QStringLiteral("20200131"));
}

void TestExportWriter::facilityWithoutHistory()
{
    const QVariantMap doc = documentMap(
        R"({"individual": {"requestDate": "20210315", "facility": {"lcs": [{"accountNo": "1"}]}}})");
    Parsed parsed(exportBytes(doc));
    const rapidjson::Value& row = parsed.doc["individual"]["fasilitas"]["lc"][0];
    QCOMPARE(text(row["tahunBulan01"]), QStringLiteral("201903"));
    QCOMPARE(text(row["tahunBulan24"]), QStringLiteral("202102"));
    for (int i = 1; i <= 24; ++i)
        QCOMPARE(text(row[QString::asprintf("tahunBulan%02dKol", i).toUtf8().constData()]),
                 QString());
    QCOMPARE(int(row["agunan"].Size()), 0);
    QCOMPARE(int(row["penjamin"].Size()), 0);
}

void TestExportWriter::valuesAsText_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("integer number") << QByteArray("150000") << "150000";
    QTest::newRow("decimal number") << QByteArray("3876543210.55") << "3876543210.55";
    QTest::newRow("string") << QByteArray("\"0012\"") << "0012";
    QTest::newRow("null") << QByteArray("null") << "";
    QTest::newRow("true") << QByteArray("true") << "true";
    QTest::newRow("long date kept") << QByteArray("\"19800105120000\"") << "19800105120000";
}

void TestExportWriter::valuesAsText()
{
    QFETCH(QByteArray, value);
    QFETCH(QString, expected);
    const QVariantMap doc =
        documentMap("{\"header\": {\"inquiryId\": " + value + "}, \"individual\": {}}");
    Parsed parsed(exportBytes(doc));
    QCOMPARE(text(parsed.doc["header"]["idPermintaan"]), expected);
    QCOMPARE(text(parsed.doc["header"]["dibuatOleh"]), QString());
}

void TestExportWriter::emptyDocument()
{
    Parsed parsed(exportBytes(sampleMap("individual-empty.json")));
    const rapidjson::Value& subject = parsed.doc["individual"];
    QCOMPARE(int(subject["dataPokokDebitur"].Size()), 0);
    const rapidjson::Value& summary = subject["ringkasanFasilitas"];
    QCOMPARE(int(summary.MemberCount()), 18);
    for (auto it = summary.MemberBegin(); it != summary.MemberEnd(); ++it)
        QCOMPARE(text(it->value), QString());
    for (const char* list : {"kreditPembiayan", "lc", "garansiYgDiberikan", "fasilitasLain"})
        QCOMPARE(int(subject["fasilitas"][list].Size()), 0);
    QCOMPARE(text(subject["parameterPencarian"]["tanggalLahir"]), QStringLiteral("19950919"));

    // Nothing at all still gives the whole layout, as a company.
    Parsed nothing(exportBytes({}));
    QCOMPARE(memberNames(nothing.doc), QStringList({"header", "perusahaan"}));
    QCOMPARE(memberNames(nothing.doc["header"]).size(), 11);
    QCOMPARE(int(nothing.doc["perusahaan"]["kelompokPengurusPemilik"].Size()), 0);
}

void TestExportWriter::nonAsciiSurvives()
{
    const QString name = QString::fromUtf8("SITI NURHALIZA Ñoño Ærø – “Ďurček” 日本");
    const QByteArray json = R"({"individual": {"birthDate": "19800105120000",
        "individualKeyword": {"identityNumberName": ")" +
                            name.toUtf8() + R"(", "birthDate": "19800105120000"},
        "individualDebtors": [{"identityNumberName": ")" +
                            name.toUtf8() + R"(", "birthDate": "19800105120000"}]}})";
    const QByteArray bytes = exportBytes(documentMap(json));
    QVERIFY(bytes.contains("\"namaDebitur\": \"" + name.toUtf8() + "\""));
    Parsed parsed(bytes);
    const rapidjson::Value& subject = parsed.doc["individual"];
    QCOMPARE(text(subject["parameterPencarian"]["namaDebitur"]), name);
    QCOMPARE(text(subject["parameterPencarian"]["tanggalLahir"]), QStringLiteral("19800105"));
    QCOMPARE(text(subject["dataPokokDebitur"][0]["tanggalLahir"]), QStringLiteral("19800105"));
}

void TestExportWriter::fileIsReplaced()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("A.txt");
    QString error;
    QVERIFY(writeText(path, QByteArray(5000, 'x'), &error));
    QVERIFY(writeText(path, "{}", &error));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("{}"));
}

// An export far larger than the pieces it is written in arrives whole and in order.
void TestExportWriter::largeExportIsWhole()
{
    const QByteArray bytes = exportBytes(withCredits(400));
    QVERIFY(bytes.size() > 1000000);
    Parsed parsed(bytes);
    QVERIFY(!parsed.doc.HasParseError());
    const rapidjson::Value& credits = parsed.doc["perusahaan"]["fasilitas"]["kreditPembiayan"];
    QCOMPARE(int(credits.Size()), 400);
    QCOMPARE(text(credits[399]["noRekening"]), text(credits[0]["noRekening"]));

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(exportToDevice(&buffer, withCredits(400)));
    QCOMPARE(buffer.data(), bytes);
}

void TestExportWriter::deviceTakingPart_data()
{
    QTest::addColumn<qint64>("missing");
    QTest::newRow("all") << qint64(0);
    QTest::newRow("all but the last byte") << qint64(1);
    QTest::newRow("only the first piece") << qint64(-65536);
    QTest::newRow("nothing") << qint64(-1);
}

// The writer says so when a device takes only part of the text.
void TestExportWriter::deviceTakingPart()
{
    QFETCH(qint64, missing);
    const QVariantMap document = withCredits(100);
    const QByteArray whole = exportBytes(document);
    const qint64 room = missing >= 0 ? whole.size() - missing : qMax<qint64>(0, -missing - 1);
    ShortDevice device(room);
    QCOMPARE(exportToDevice(&device, document), missing == 0);
    QCOMPARE(device.taken, whole.left(int(room)));
}

void TestExportWriter::unwritablePath_data()
{
    QTest::addColumn<QString>("relative");
    QTest::newRow("under a regular file") << "plain.txt/out.txt";
    QTest::newRow("missing parent") << "missing/out.txt";
    QTest::newRow("a directory") << "folder";
}

void TestExportWriter::unwritablePath()
{
    QFETCH(QString, relative);
    QTemporaryDir dir;
    QFile plain(dir.filePath("plain.txt"));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    QVERIFY(QDir(dir.path()).mkdir("folder"));
    QString error;
    QVERIFY(!writeText(dir.filePath(relative), "{}", &error));
    QVERIFY(!error.isEmpty());

    TAVIDs tavids;
    tavids.fillDataSets({}, true);
    QVERIFY(!tavids.writeExportFile({}, dir.filePath(relative)));
}

QTEST_GUILESS_MAIN(TestExportWriter)
#include "tst_exportwriter.moc"
