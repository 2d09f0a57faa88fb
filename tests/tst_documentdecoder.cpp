#include "archivereader.h"
#include "bufferaes.h"
#include "documentdecoder.h"
#include "documentencoder.h"
#include "documentformat.h"
#include "invalidpassword.h"

#include <QtTest>

#include <quacrc32.h>
#include <quazip.h>
#include <quazipfile.h>
#include <quazipnewinfo.h>

#include <memory>

using Entries = QList<DocumentEncoder::Entry>;
using Files = QMap<QString, QByteArray>;

Q_DECLARE_METATYPE(Entries)
Q_DECLARE_METATYPE(VersionTriple)

namespace {

const QString password = QStringLiteral("rahasia");

// Text without CR, so that line-end translation leaves it as it is.
QByteArray text(int size, int seed = 0)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = static_cast<char>('a' + (i * 7 + seed + i / 91) % 26);
    return bytes;
}

// An archive entry written raw, so that its declared size and CRC can be anything.
struct RawEntry
{
    QString name;
    qint64 declaredSize;
    quint32 crc;
    QByteArray deflated;
};

QByteArray rawDeflate(const QByteArray& data)
{
    // qCompress is a 4-byte size, a 2-byte zlib header, the deflate stream and Adler-32.
    const QByteArray zlib = qCompress(data, 9);
    return zlib.mid(6, zlib.size() - 10);
}

QByteArray forgedArchive(const QList<RawEntry>& entries)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QuaZip zip(&buffer);
    if (!zip.open(QuaZip::mdCreate))
        return QByteArray();
    for (const RawEntry& entry : entries) {
        QuaZipNewInfo info(entry.name);
        info.uncompressedSize = static_cast<ulong>(entry.declaredSize);
        QuaZipFile file(&zip);
        if (!file.open(QIODevice::WriteOnly, info, nullptr, entry.crc, Z_DEFLATED, 9, true))
            return QByteArray();
        file.write(entry.deflated);
        file.close();
    }
    zip.close();
    return bytes;
}

class DocumentFile
{
public:
    explicit DocumentFile(const QByteArray& bytes, const QString& name = "doc.vardo")
        : path(dir.filePath(name))
    {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    }
    QTemporaryDir dir;
    QString path;
};

std::unique_ptr<OpenResult> open(const QByteArray& document, const QString& pass = password,
                                 VersionTriple viewer = {1, 0, 10})
{
    DocumentFile file(document);
    return std::unique_ptr<OpenResult>(
        openDocument(viewer.major, viewer.minor, viewer.patch, pass, file.path, "./tmp", true));
}

QByteArray documentOf(const Entries& entries, bool marker = true, const QString& metadata = {})
{
    return DocumentEncoder::encode(DocumentEncoder::zipArchive(entries), password, marker,
                                   metadata);
}

const Entries twoEntries = {{"individual.json", text(3000)}, {"corporate.json", text(5000, 3)}};

Files filesOf(const Entries& entries)
{
    Files files;
    for (const DocumentEncoder::Entry& entry : entries)
        files.insert(entry.name, entry.data);
    return files;
}

} // namespace

class TestDocumentDecoder : public QObject
{
    Q_OBJECT

private slots:
    void roundTripSizes_data();
    void roundTripSizes();
    void segmentsStandAlone();
    void independentlyMadeDocument_data();
    void independentlyMadeDocument();
    void versions_data();
    void versions();
    void versionText_data();
    void versionText();
    void passwords_data();
    void passwords();
    void refused_data();
    void refused();
    void entryNames();
    void zipBombs_data();
    void zipBombs();
    void archiveBounds_data();
    void archiveBounds();
    void writesNoFiles();
    void decryptDocumentToFile();
    void invalidPasswordException();
};

// Sizes are of the document file; one stored entry is sized to make each exact.
void TestDocumentDecoder::roundTripSizes_data()
{
    QTest::addColumn<int>("fileSize");
    QTest::addColumn<bool>("marker");

    QTest::newRow("one full segment") << 524304 << true;
    QTest::newRow("one full segment, no marker") << 524304 << false;
    QTest::newRow("second segment of one block") << 524320 << true;
    QTest::newRow("about a million") << 1000000 << true;
    QTest::newRow("three segments") << 1200000 << false;
    QTest::newRow("small") << 4096 << true;
}

void TestDocumentDecoder::roundTripSizes()
{
    QFETCH(int, fileSize);
    QFETCH(bool, marker);
    const QString metadata = QStringLiteral("minVer=1.0.0");
    const int header = 10 + (marker ? 9 + metadata.size() : 0);
    const int overhead = DocumentEncoder::zipArchive({{"data.json", {}}}, 0).size();
    const int full = fileSize / DocumentFormat::segmentSize;
    const int rest = fileSize % DocumentFormat::segmentSize;
    const int plainSize = full * DocumentFormat::segmentPlainSize + (rest ? rest - 1 : 0);
    const QByteArray data = text(plainSize - header - overhead);
    const QByteArray archive = DocumentEncoder::zipArchive({{"data.json", data}}, 0);
    QCOMPARE(archive.size(), overhead + data.size());

    const QByteArray document = DocumentEncoder::encode(archive, password, marker, metadata);
    QCOMPARE(document.size(), fileSize);
    DocumentFile file(document, "laporan.vardo");
    std::unique_ptr<OpenResult> result(openDocument(1, 0, 10, password, file.path, "./tmp", true));
    QCOMPARE(result->code, 0);
    QCOMPARE(result->message, QString());
    QCOMPARE(result->fileName, QStringLiteral("laporan.vardo"));
    QVERIFY(result->files);
    QCOMPARE(result->files->keys(), QStringList{"data.json"});
    QVERIFY(result->files->value("data.json") == data);
    QVERIFY(!result->extra);
}

// Every segment is its own CBC buffer that restarts from the default IV.
void TestDocumentDecoder::segmentsStandAlone()
{
    const QByteArray payload = text(3 * DocumentFormat::segmentPlainSize);
    const QByteArray document = DocumentEncoder::encode(payload, password, false);
    const QByteArray plain = DocumentFormat::checkValue() + payload;
    const QByteArray key = DocumentFormat::keyFromPassword(password);
    QCOMPARE(document.size(), 3 * DocumentFormat::segmentSize + 16);
    for (int segment = 0; segment < 4; ++segment) {
        const QByteArray cipher =
            document.mid(segment * DocumentFormat::segmentSize, DocumentFormat::segmentSize);
        const QByteArray expected =
            plain.mid(segment * DocumentFormat::segmentPlainSize, DocumentFormat::segmentPlainSize);
        QVERIFY2(BufferAES::decrypt(cipher, key) == expected, qPrintable(QString::number(segment)));
    }
}

// Made with zip and openssl alone (make-openssl-fixture.sh): the format, not our encoder.
void TestDocumentDecoder::independentlyMadeDocument_data()
{
    QTest::addColumn<VersionTriple>("viewer");
    QTest::addColumn<int>("code");

    QTest::newRow("newer viewer") << VersionTriple{1, 0, 10} << 0;
    QTest::newRow("same viewer") << VersionTriple{1, 0, 5} << 0;
    QTest::newRow("older viewer") << VersionTriple{1, 0, 4} << 2;
}

void TestDocumentDecoder::independentlyMadeDocument()
{
    QFETCH(VersionTriple, viewer);
    QFETCH(int, code);
    const QString fixtures = QStringLiteral(TEST_FIXTURES "/document/");
    std::unique_ptr<OpenResult> result(openDocument(viewer.major, viewer.minor, viewer.patch,
                                                    password, fixtures + "openssl-made.vardo",
                                                    "./tmp", true));
    QCOMPARE(result->code, code);
    if (code != 0) {
        QVERIFY(!result->files);
        return;
    }
    QFile first(fixtures + "first.json");
    QFile second(fixtures + "second.json");
    QVERIFY(first.open(QIODevice::ReadOnly) && second.open(QIODevice::ReadOnly));
    const QByteArray firstBytes = first.readAll();
    QVERIFY(firstBytes.contains("\r\n"));
    QCOMPARE(result->files->keys(), (QStringList{"first.json", "second.json"}));
    QCOMPARE(result->files->value("first.json"), QByteArray(firstBytes).replace("\r\n", "\n"));
    QCOMPARE(result->files->value("second.json"), second.readAll());
}

void TestDocumentDecoder::versions_data()
{
    QTest::addColumn<bool>("marker");
    QTest::addColumn<QString>("metadata");
    QTest::addColumn<VersionTriple>("viewer");
    QTest::addColumn<int>("code");

    QTest::newRow("equal") << true << "minVer=1.2.0" << VersionTriple{1, 2, 0} << 0;
    QTest::newRow("older patch") << true << "minVer=1.2.0" << VersionTriple{1, 1, 9} << 2;
    QTest::newRow("newer major") << true << "minVer=1.2.0" << VersionTriple{2, 0, 0} << 0;
    QTest::newRow("1.10.0 needs more than 1.9.0")
        << true << "minVer=1.10.0" << VersionTriple{1, 9, 0} << 2;
    QTest::newRow("1.10.0 opens 1.9.0") << true << "minVer=1.9.0" << VersionTriple{1, 10, 0} << 0;
    QTest::newRow("two parts, missing reads 0")
        << true << "minVer=1.2" << VersionTriple{1, 2, 0} << 0;
    QTest::newRow("one part") << true << "minVer=2" << VersionTriple{1, 9, 9} << 2;
    QTest::newRow("no marker, no check") << false << "" << VersionTriple{0, 0, 0} << 0;
    QTest::newRow("empty metadata") << true << "" << VersionTriple{0, 0, 0} << 0;
    QTest::newRow("metadata without =") << true << "minVer 9.9.9" << VersionTriple{1, 0, 0} << 0;
    QTest::newRow("other key") << true << "maxVer=9.9.9" << VersionTriple{1, 0, 0} << 0;
    QTest::newRow("longest metadata")
        << true << "minVer=1.0.0;" + QString(986, 'x') << VersionTriple{1, 0, 0} << 0;
    // Read as 0 these would open on every viewer.
    QTest::newRow("major beyond an int")
        << true << "minVer=99999999999.0.0" << VersionTriple{1, 0, 0} << 2;
    QTest::newRow("patch beyond an int")
        << true << "minVer=1.0.99999999999999999999999" << VersionTriple{1, 0, 2147483647} << 2;
    QTest::newRow("major beyond an int, newest viewer")
        << true << "minVer=2147483648.0.0" << VersionTriple{2147483647, 0, 0} << 2;
}

void TestDocumentDecoder::versions()
{
    QFETCH(bool, marker);
    QFETCH(QString, metadata);
    QFETCH(VersionTriple, viewer);
    QFETCH(int, code);

    std::unique_ptr<OpenResult> result =
        open(documentOf(twoEntries, marker, metadata), password, viewer);
    QCOMPARE(result->code, code);
    if (code == 2) {
        const QString minVer = metadata.section('=', 1);
        QCOMPARE(result->message, "Versi Vardo Viewer tidak valid! Minimum versi " + minVer +
                                      ". Silahkan download versi baru!");
        QVERIFY(!result->files);
    } else {
        QCOMPARE(*result->files, filesOf(twoEntries));
    }
}

void TestDocumentDecoder::versionText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("patch");

    QTest::newRow("three") << "1.2.3" << 1 << 2 << 3;
    QTest::newRow("extra parts ignored") << "1.2.3.4" << 1 << 2 << 3;
    QTest::newRow("empty") << "" << 0 << 0 << 0;
    QTest::newRow("no numbers") << "a.b.c" << 0 << 0 << 0;
    QTest::newRow("empty part kept") << "1..7" << 1 << 0 << 7;
    QTest::newRow("negative") << "-1.0.0" << -1 << 0 << 0;
    QTest::newRow("beyond an int") << "99999999999.2147483648.7" << 2147483647 << 2147483647 << 7;
    QTest::newRow("other digits are no number") << QString::fromUtf8("\u0663.1.0") << 0 << 1 << 0;
}

void TestDocumentDecoder::versionText()
{
    QFETCH(QString, text);
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(int, patch);
    const VersionTriple version = DocumentFormat::versionFromText(text);
    QCOMPARE(version.major, major);
    QCOMPARE(version.minor, minor);
    QCOMPARE(version.patch, patch);
}

void TestDocumentDecoder::passwords_data()
{
    QTest::addColumn<QString>("packedWith");
    QTest::addColumn<QString>("openedWith");
    QTest::addColumn<int>("code");

    const QString twenty = QStringLiteral("abcdefghijklmnop1234");
    QTest::newRow("three characters") << "abc"
                                      << "abc" << 0;
    QTest::newRow("three characters are padded with z") << "abc"
                                                        << "abczzzzzzzzzzzzz" << 0;
    QTest::newRow("twenty characters") << twenty << twenty << 0;
    QTest::newRow("characters after 16 are ignored") << twenty << "abcdefghijklmnopWXYZ" << 0;
    QTest::newRow("wrong password") << twenty << "abcdefghijklmnoq" << 3;
    QTest::newRow("case matters") << "Rahasia"
                                  << "rahasia" << 3;
    // Eight two-byte characters and eight ASCII ones make a 24-byte key: AES-192.
    QTest::newRow("non-ASCII, 24-byte key")
        << QString::fromUtf8("éééééééékatasandi") << QString::fromUtf8("éééééééékatasand") << 0;
    QTest::newRow("non-ASCII, wrong")
        << QString::fromUtf8("éééééééékatasandi") << QString::fromUtf8("ééééééééKATASAND") << 3;
}

void TestDocumentDecoder::passwords()
{
    QFETCH(QString, packedWith);
    QFETCH(QString, openedWith);
    QFETCH(int, code);

    const QByteArray document =
        DocumentEncoder::encode(DocumentEncoder::zipArchive(twoEntries), packedWith, true);
    QVERIFY(!document.isEmpty());
    std::unique_ptr<OpenResult> result = open(document, openedWith);
    QCOMPARE(result->code, code);
    if (code == 3) {
        QCOMPARE(result->message, QStringLiteral("Invalid Password"));
        QVERIFY(!result->files);
    } else {
        QCOMPARE(*result->files, filesOf(twoEntries));
    }
}

// A key of 17 bytes fits no AES size: nothing can be packed with it, and every open
// with it is a wrong password.
void TestDocumentDecoder::refused_data()
{
    QTest::addColumn<QByteArray>("document");
    QTest::addColumn<QString>("openedWith");
    QTest::addColumn<int>("code");

    QVERIFY(DocumentEncoder::encode("x", QString::fromUtf8("kataé"), false).isEmpty());
    const QByteArray good = documentOf(twoEntries);
    const Entries big = {{"big.json", text(700000)}};
    const QByteArray twoSegments =
        DocumentEncoder::encode(DocumentEncoder::zipArchive(big, 0), password, true);
    QByteArray lastSegmentFlipped = twoSegments;
    lastSegmentFlipped[twoSegments.size() - 1000] =
        static_cast<char>(lastSegmentFlipped[twoSegments.size() - 1000] ^ 0x01);
    QByteArray archive = DocumentEncoder::zipArchive(big, 0);
    const int dataAt = archive.indexOf(text(64));
    archive[dataAt + 5000] = 'A';

    QTest::newRow("empty file") << QByteArray() << password << 3;
    QTest::newRow("ten bytes") << good.left(10) << password << 3;
    QTest::newRow("one block") << good.left(16) << password << 3;
    QTest::newRow("wrong password") << good << "rahasib" << 3;
    QTest::newRow("non-ASCII key of 17 bytes") << good << QString::fromUtf8("kataé") << 3;
    QTest::newRow("96 bytes, not a zip")
        << DocumentEncoder::encode(text(85), password, false) << password << 4;
    QTest::newRow("96 bytes, wrong password")
        << DocumentEncoder::encode(text(85), password, false) << "salah" << 3;
    QTest::newRow("truncated to a block boundary") << good.chopped(32) << password << 4;
    QTest::newRow("truncated mid-block") << good.chopped(7) << password << 4;
    QTest::newRow("size not a multiple of 16") << good + "12345" << password << 4;
    QTest::newRow("small, size not a multiple of 16") << good.left(100) << password << 4;
    QTest::newRow("small, size not a multiple of 16, wrong password")
        << good.left(100) << "salah" << 3;
    QTest::newRow("last segment corrupted") << lastSegmentFlipped << password << 4;
    QTest::newRow("last segment cut off")
        << twoSegments.left(DocumentFormat::segmentSize) << password << 4;
    QTest::newRow("payload not a zip")
        << DocumentEncoder::encode(text(5000), password, true) << password << 4;
    QTest::newRow("entry fails its CRC")
        << DocumentEncoder::encode(archive, password, true) << password << 4;
    QTest::newRow("archive without entries") << documentOf({}) << password << 4;
    QTest::newRow("archive of a directory only") << documentOf({{"data/", {}}}) << password << 4;
    QTest::newRow("negative metadata length")
        << BufferAES::encrypt("1234567890qRvOk" + QByteArray("-5").toBase64() +
                                  DocumentEncoder::zipArchive(twoEntries),
                              DocumentFormat::keyFromPassword(password))
        << password << 4;
}

void TestDocumentDecoder::refused()
{
    QFETCH(QByteArray, document);
    QFETCH(QString, openedWith);
    QFETCH(int, code);

    std::unique_ptr<OpenResult> result = open(document, openedWith);
    QCOMPARE(result->code, code);
    QVERIFY(!result->files);
    QCOMPARE(result->message, code == 3 ? QStringLiteral("Invalid Password")
                                        : QStringLiteral("File Vardo rusak atau tidak valid."));
}

// Entries are keyed by file name only; the last of two with the same name wins.
void TestDocumentDecoder::entryNames()
{
    const Entries entries = {{"a/x.json", "first"},       {"b/x.json", "second"},
                             {"../../escape.json", "up"}, {"dir/", {}},
                             {"win\\style.json", "back"}, {"crlf.json", "a\r\nb\rc\n\r\n"}};
    std::unique_ptr<OpenResult> result = open(documentOf(entries));
    QCOMPARE(result->code, 0);
    const Files expected = {{"x.json", "second"},
                            {"escape.json", "up"},
                            {"style.json", "back"},
                            {"crlf.json", "a\nb\rc\n\n"}};
    QCOMPARE(*result->files, expected);
}

void TestDocumentDecoder::zipBombs_data()
{
    QTest::addColumn<QByteArray>("archive");

    // Deflate packs zeros about 1028:1.
    QTest::newRow("8 MiB of zeros")
        << DocumentEncoder::zipArchive({{"zeros.json", QByteArray(8 << 20, '\0')}}, 9);

    // Declared sizes well past 1 GiB in total, at a ratio that alone would pass. The
    // bytes are never inflated, so they need not be a deflate stream.
    QByteArray filler(700000, Qt::Uninitialized);
    QRandomGenerator generator(7);
    generator.fillRange(reinterpret_cast<quint32*>(filler.data()), filler.size() / 4);
    QList<RawEntry> huge;
    for (int i = 0; i < 3; ++i)
        huge.append({QString("part%1.json").arg(i), qint64(500) << 20, 0, filler});
    QTest::newRow("declared 1.5 GiB") << forgedArchive(huge);

    // A header that lies about the size is caught by the size and CRC checks.
    const QByteArray data = text(100000);
    const quint32 crc = QuaCrc32().calculate(data);
    QTest::newRow("declared smaller than it is")
        << forgedArchive({{"liar.json", 50000, crc, rawDeflate(data)}});
    QTest::newRow("declared larger than it is")
        << forgedArchive({{"liar.json", 200000, crc, rawDeflate(data)}});
}

void TestDocumentDecoder::zipBombs()
{
    QFETCH(QByteArray, archive);
    QVERIFY(!archive.isEmpty());
    std::unique_ptr<OpenResult> result = open(DocumentEncoder::encode(archive, password, true));
    QCOMPARE(result->code, 4);
    QVERIFY(!result->files);
}

void TestDocumentDecoder::archiveBounds_data()
{
    QTest::addColumn<Entries>("entries");
    QTest::addColumn<int>("level");
    QTest::addColumn<bool>("accepted");

    const Entries twoHalves = {{"a.json", text(600000)}, {"b.json", text(600000, 1)}};
    const Entries compressible = {{"z.json", QByteArray(3 << 19, ' ')}};
    QTest::newRow("total within bound") << twoHalves << 0 << true;
    QTest::newRow("total past bound")
        << (twoHalves + Entries{{"c.json", text(900000)}}) << 0 << false;
    QTest::newRow("ratio past bound") << compressible << 9 << false;
    QTest::newRow("small entry never judged by ratio")
        << Entries{{"s.json", QByteArray(1 << 20, ' ')}} << 9 << true;
}

// A reader bounded to 2 MiB in total and 100:1, so real archives reach the bounds.
void TestDocumentDecoder::archiveBounds()
{
    QFETCH(Entries, entries);
    QFETCH(int, level);
    QFETCH(bool, accepted);
    Files files;
    QCOMPARE(ArchiveReader(2 << 20, 100).read(DocumentEncoder::zipArchive(entries, level), &files),
             accepted);
    QCOMPARE(files, accepted ? filesOf(entries) : Files());
}

// Neither the working directory nor the given temporary directory gains anything.
void TestDocumentDecoder::writesNoFiles()
{
    QTemporaryDir workDir;
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(workDir.path()));
    DocumentFile file(documentOf(twoEntries));
    const QString tempDir = workDir.filePath("tmp");
    std::unique_ptr<OpenResult> relative(
        openDocument(1, 0, 10, password, file.path, "./tmp", true));
    std::unique_ptr<OpenResult> absolute(
        openDocument(1, 0, 10, password, file.path, tempDir, false));
    QDir::setCurrent(previous);

    QCOMPARE(relative->code, 0);
    QCOMPARE(absolute->code, 0);
    QCOMPARE(QDir(workDir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList());
    QCOMPARE(QDir(file.dir.path()).entryList(QDir::Files), QStringList{"doc.vardo"});
}

void TestDocumentDecoder::decryptDocumentToFile()
{
    const QByteArray archive = DocumentEncoder::zipArchive(twoEntries);
    DocumentFile file(DocumentEncoder::encode(archive, password, true, "minVer=1.2.0"));
    const QString target = file.dir.filePath("payload.zip");

    OpenResult tooOld = decryptDocument(1, 1, 0, password, file.path, target);
    QCOMPARE(tooOld.code, 2);
    OpenResult wrong = decryptDocument(1, 2, 0, "salah", file.path, target);
    QCOMPARE(wrong.code, 3);
    QVERIFY(!QFile::exists(target));

    OpenResult ok = decryptDocument(1, 2, 0, password, file.path, target);
    QCOMPARE(ok.code, 0);
    QCOMPARE(ok.message, QStringLiteral("Sukses"));
    QFile written(target);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QVERIFY(written.readAll() == archive);
}

void TestDocumentDecoder::invalidPasswordException()
{
    const InvalidPassword original;
    std::unique_ptr<QException> copy(original.clone());
    QVERIFY(dynamic_cast<InvalidPassword*>(copy.get()));
    QVERIFY_EXCEPTION_THROWN(copy->raise(), InvalidPassword);
}

QTEST_GUILESS_MAIN(TestDocumentDecoder)
#include "tst_documentdecoder.moc"
