#ifndef SMALLDISK_H
#define SMALLDISK_H

#include <QString>

// A file system of its own, small enough to fill, mounted on a directory for as long
// as the object lives: what a full disk does to a program is then seen as the user
// sees it. Mounting needs an administrator (root, which CI runs as); where that is
// not possible, isMounted() is false and why() says so, for the test to skip.
class SmallDisk
{
public:
    SmallDisk(const QString& directory, int kilobytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool isMounted() const { return mounted; }
    QString why() const { return reason; }
    QString path() const { return directory; }
    // Takes up all but about `bytes` of the free room with a file of its own.
    bool leaveFree(qint64 bytes);

private:
    QString directory;
    QString reason;
    bool mounted = false;
};

#endif // SMALLDISK_H
