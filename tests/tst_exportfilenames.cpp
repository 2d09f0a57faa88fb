#include "exportfilenames.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

QString nul()
{
    return QString(QChar(0));
}

} // namespace

// Entry names are chosen by whoever made the document; the files made from them must
// be ones every file system takes, that show what they are, and one per data set.
class TestExportFileNames : public QObject
{
    Q_OBJECT

private slots:
    void safeName_data();
    void safeName();
    void everyEntryItsOwnFile_data();
    void everyEntryItsOwnFile();
    void namesAreWritable();
};

void TestExportFileNames::safeName_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("pdf");

    QTest::newRow("plain") << "a.json"
                           << "a.json.txt"
                           << "a.json.pdf";
    QTest::newRow("NUL in the middle") << "aaaa" + nul() + "bbbb.json"
                                       << "aaaa_bbbb.json.txt"
                                       << "aaaa_bbbb.json.pdf";
    QTest::newRow("NUL before a fake extension") << "laporan.bat" + nul() + ".json"
                                                 << "laporan.bat_.json.txt"
                                                 << "laporan.bat_.json.pdf";
    QTest::newRow("control characters")
        << QString("a\tb\nc\rd\x1b[31m.json") << "a_b_c_d_[31m.json.txt"
        << "a_b_c_d_[31m.json.pdf";
    QTest::newRow("right-to-left override")
        << QString::fromUtf8("DEWI\u202Efdp.exe") << "DEWI_fdp.exe.txt"
        << "DEWI_fdp.exe.pdf";
    QTest::newRow("other bidi controls")
        << QString::fromUtf8("a\u200Fb\u2066c\u2069d\u061Ce\u2028f") << "a_b_c_d_e_f.txt"
        << "a_b_c_d_e_f.pdf";
    QTest::newRow("characters Windows forbids") << "a<b>c:d\"e|f?g*h.json"
                                                << "a_b_c_d_e_f_g_h.json.txt"
                                                << "a_b_c_d_e_f_g_h.json.pdf";
    QTest::newRow("lone surrogate") << QString("x") + QChar(0xD800) + "y"
                                    << "x_y.txt"
                                    << "x_y.pdf";
    QTest::newRow("non-Latin kept")
        << QString::fromUtf8("Nguyễn Văn 😀.json") << QString::fromUtf8("Nguyễn Văn 😀.json.txt")
        << QString::fromUtf8("Nguyễn Văn 😀.json.pdf");
    QTest::newRow("reserved device name") << "CON"
                                          << "_CON.txt"
                                          << "_CON.pdf";
    QTest::newRow("reserved name with extension, any case") << "nul.json"
                                                            << "_nul.json.txt"
                                                            << "_nul.json.pdf";
    QTest::newRow("reserved COM port") << "com1.txt"
                                       << "_com1.txt"
                                       << "_com1.txt.pdf";
    QTest::newRow("reserved name with trailing space") << "LPT9 .json"
                                                       << "_LPT9 .json.txt"
                                                       << "_LPT9 .json.pdf";
    QTest::newRow("not reserved: longer") << "CONSOLE"
                                          << "CONSOLE.txt"
                                          << "CONSOLE.pdf";
    QTest::newRow("trailing dots and spaces") << "laporan. . "
                                              << "laporan.txt"
                                              << "laporan.pdf";
    QTest::newRow("only dots") << "..."
                               << "data.txt"
                               << "data.pdf";
    QTest::newRow("empty") << ""
                           << "data.txt"
                           << "data.pdf";
    QTest::newRow("path parts dropped") << "../..\\x/y.json"
                                        << "y.json.txt"
                                        << "y.json.pdf";
    QTest::newRow("ends in txt") << "b.json.txt"
                                 << "b.json.txt"
                                 << "b.json.txt.pdf";
}

void TestExportFileNames::safeName()
{
    QFETCH(QString, entry);
    QFETCH(QString, text);
    QFETCH(QString, pdf);
    QCOMPARE(ExportFileNames::safeName(entry, ExportFileNames::text()), text);
    QCOMPARE(ExportFileNames::safeName(entry, ExportFileNames::pdf()), pdf);
}

void TestExportFileNames::everyEntryItsOwnFile_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QStringList>("names");

    // In the document's (the map's) order.
    QTest::newRow("NUL hides a name")
        << QStringList{"b.json", "b.json.txt", "b.json.txt" + nul() + "x"}
        << QStringList{"b.json.txt", "b.json (2).txt", "b.json.txt_x.txt"};
    QTest::newRow("same after cleaning")
        << QStringList{"a" + nul() + ".json", "a\x01.json", "a?.json"}
        << QStringList{"a_.json.txt", "a_.json (2).txt", "a_.json (3).txt"};
    QTest::newRow("differ only in case")
        << QStringList{"A.json", "a.json"} << QStringList{"A.json.txt", "a.json (2).txt"};
    QTest::newRow("empty names") << QStringList{"", ".", ".."}
                                 << QStringList{"data.txt", "data (2).txt", "data (3).txt"};
    QTest::newRow("numbered name already taken")
        << QStringList{"x", "x (2).txt", "x.txt"} << QStringList{"x.txt", "x (2).txt", "x (3).txt"};
}

void TestExportFileNames::everyEntryItsOwnFile()
{
    QFETCH(QStringList, entries);
    QFETCH(QStringList, names);
    const QMap<QString, QString> made =
        ExportFileNames::forEntries(entries, ExportFileNames::text());
    QCOMPARE(made.size(), entries.size());
    QStringList inOrder;
    for (const QString& entry : entries)
        inOrder << made.value(entry);
    QCOMPARE(inOrder, names);
    for (const QString& name : names)
        QVERIFY2(name.endsWith(QLatin1String(".txt")), qPrintable(name));
}

// Over-long names are cut to what file systems take, with room for the temporary
// name they are first written under, and keep their extension; every name made here
// can be created as a file of its own.
void TestExportFileNames::namesAreWritable()
{
    const QString longAscii(1000, QLatin1Char('A'));
    const QString longWide = QString::fromUtf8("ệ").repeated(300) + QStringLiteral(".json");
    const QStringList entries{longAscii,
                              longAscii + QStringLiteral("B"),
                              longWide,
                              QString(QChar(0x1F600)).repeated(200),
                              QStringLiteral("CON"),
                              QStringLiteral("a") + nul() + QStringLiteral("b"),
                              QString::fromUtf8("DEWI\u202Efdp.exe")};
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    for (const ExportFileNames::Extension& extension :
         {ExportFileNames::text(), ExportFileNames::pdf(), ExportFileNames::entryOwn()}) {
        const QMap<QString, QString> made = ExportFileNames::forEntries(entries, extension);
        QSet<QString> distinct;
        for (const QString& entry : entries) {
            const QString name = made.value(entry);
            QVERIFY2(name.toUtf8().size() <= ExportFileNames::maxNameBytes + 8, qPrintable(name));
            if (!extension.extension.isEmpty())
                QVERIFY2(name.endsWith(QLatin1Char('.') + extension.extension), qPrintable(name));
            distinct.insert(name.toLower());
            QFile file(dir.filePath(name + QStringLiteral(".XXXXXX")));
            QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(file.errorString()));
        }
        QCOMPARE(distinct.size(), entries.size());
    }
    QCOMPARE(ExportFileNames::safeName(longWide, ExportFileNames::entryOwn()).right(5),
             QStringLiteral(".json"));
}

QTEST_GUILESS_MAIN(TestExportFileNames)
#include "tst_exportfilenames.moc"
