#ifndef PERMISSIONS_H
#define PERMISSIONS_H

#include <QString>

// Tests of read-only installations need file permissions to bind the process, as they
// bind the bank's users. An administrator (root, which CI runs as) passes them by
// default; this gives that up for the rest of the process and the programs it starts.
namespace Permissions {
// False, with the reason, where permissions cannot be made to bind here.
bool obeyFilePermissions(QString* why);
// Makes a directory and the files directly in it read-only for everyone, as an
// installation is to a user without rights on it, or writable again for the owner.
bool setDirectoryWritable(const QString& path, bool writable);
} // namespace Permissions

#endif // PERMISSIONS_H
