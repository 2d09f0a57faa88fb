#ifndef HOSTILEZIP_H
#define HOSTILEZIP_H

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

// A zip archive whose entry names may hold what a zip writer will not take from its
// caller: a NUL ends the name it is given. Such a name is written with '#' in place
// of each NUL and patched afterwards, as a hand-made archive would carry it. The
// entries are stored, so that the patch cannot touch their data.
namespace HostileZip {
QByteArray archive(const QList<QPair<QString, QByteArray>>& entries);
}

#endif // HOSTILEZIP_H
