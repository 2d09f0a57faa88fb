#ifndef UPDATEMANIFEST_H
#define UPDATEMANIFEST_H

#include <QByteArray>
#include <QList>
#include <QString>

#include "libglobal.h"

// The list of what an update package holds, signed in its place: one line per
// entry, the SHA-256 in lower-case hex, two blanks and the entry name, LF after
// each line. The files inside the library archive are listed as well, under
// "kvLibrary/" and their own name, so that only named libraries are installed.
class TAVI_VIEWER_EXPORT UpdateManifest
{
public:
    struct Line
    {
        QString name;
        QByteArray sha256; // the 32 raw bytes
    };

    static const QString fileName;
    static const QString signatureName;
    static const QString libraryPrefix;

    static QByteArray format(const QList<Line>& lines);
    // False (and `error` says why) unless `text` is a manifest without a name twice.
    static bool parse(const QByteArray& text, QList<Line>* lines, QString* error = nullptr);
};

#endif // UPDATEMANIFEST_H
