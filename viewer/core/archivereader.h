#ifndef ARCHIVEREADER_H
#define ARCHIVEREADER_H

#include <QByteArray>
#include <QMap>
#include <QString>

// Reads the zip archive of a decrypted document from memory into a map of entry file
// name to bytes. Nothing touches the disk, and entry names are never used as paths.
// An archive is refused whole when it is unreadable, when an entry fails its size or
// CRC check, or when its declared sizes would expand past the bounds, which are tested
// before any entry is allocated.
class ArchiveReader
{
public:
    static constexpr qint64 defaultMaxTotalSize = qint64(1) << 30;
    static constexpr qint64 defaultMaxRatio = 1000;
    // Entries smaller than this are never judged by their ratio: a short run of
    // whitespace compresses very well without being any danger.
    static constexpr qint64 ratioFloor = qint64(1) << 20;

    explicit ArchiveReader(qint64 maxTotalSize = defaultMaxTotalSize,
                           qint64 maxRatio = defaultMaxRatio);

    // False when the archive is refused; files is then left empty. A later entry with
    // the same file name replaces an earlier one. CR LF line ends are read as LF.
    bool read(const QByteArray& archive, QMap<QString, QByteArray>* files) const;

    // The last path component of an entry name ("a/b/x.json" -> "x.json"), empty for a
    // directory entry or a name that is only "." or "..".
    static QString entryFileName(const QString& entryName);

private:
    qint64 maxTotalSize;
    qint64 maxRatio;
};

#endif // ARCHIVEREADER_H
