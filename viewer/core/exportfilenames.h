#ifndef EXPORTFILENAMES_H
#define EXPORTFILENAMES_H

#include <QMap>
#include <QString>
#include <QStringList>

// Names the files that a document's data sets are exported to. Entry names come
// from the document, so whoever made it chooses them: each is turned into a name
// that every supported file system accepts, shows as it is stored, keeps the export's
// extension, and differs from the name of every other data set of the same export.
class ExportFileNames
{
public:
    // How an export's extension is added to an entry name: `extension` (without the
    // dot) is appended after a dot, unless it is empty or the name already ends in
    // `keptEnding`.
    struct Extension
    {
        QString extension;
        QString keptEnding;
    };
    static Extension text() { return {QStringLiteral("txt"), QStringLiteral("txt")}; }
    static Extension pdf() { return {QStringLiteral("pdf"), QString()}; }
    // The entry's own name, extension and all.
    static Extension entryOwn() { return {}; }

    // Longest file name made, in UTF-8 bytes, before a number is put in to make it
    // distinct: room is left within the usual limit of 255 for that number and for the
    // temporary name a file is first written under.
    static constexpr int maxNameBytes = 200;
    // A cut name keeps a final ".xyz" of up to this many characters as its extension.
    static constexpr int maxExtensionLength = 16;

    // Entry name -> file name, for every entry; no two file names are equal, not even
    // when case is ignored.
    static QMap<QString, QString> forEntries(const QStringList& entryNames,
                                             const Extension& extension);
    // The file name of one entry on its own, before it is made distinct.
    static QString safeName(const QString& entryName, const Extension& extension);

private:
    static QString cleanStem(const QString& entryName);
    static bool isReserved(const QString& fileName);
    static QString cutToBytes(const QString& text, int bytes);
    static QString numbered(const QString& fileName, int number);
};

#endif // EXPORTFILENAMES_H
