#include "permissions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_LINUX
#include <linux/capability.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

namespace Permissions {

#ifdef Q_OS_LINUX
// The capabilities that let root read, write and search past permission bits.
static const int overrides[] = {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER};

bool obeyFilePermissions(QString* why)
{
    if (geteuid() != 0)
        return true;
    // Out of the bounding set, so that a program started later cannot regain them.
    for (int capability : overrides) {
        if (prctl(PR_CAPBSET_DROP, capability, 0, 0, 0) != 0) {
            *why = QStringLiteral("cannot drop capability %1: %2")
                       .arg(capability)
                       .arg(QString::fromLocal8Bit(std::strerror(errno)));
            return false;
        }
    }
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3] = {};
    if (syscall(SYS_capget, &header, data) != 0) {
        *why = QStringLiteral("capget: ") + QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    for (int capability : overrides) {
        const quint32 bit = 1u << (capability % 32);
        __user_cap_data_struct& word = data[capability / 32];
        word.effective &= ~bit;
        word.permitted &= ~bit;
        word.inheritable &= ~bit;
    }
    if (syscall(SYS_capset, &header, data) != 0) {
        *why = QStringLiteral("capset: ") + QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    return true;
}
#elif defined(Q_OS_WIN)
bool obeyFilePermissions(QString* why)
{
    // The read-only attribute of a directory does not stop files being made in it;
    // that takes an access list, which these tests do not set up.
    *why = QStringLiteral("read-only directories need access lists on Windows");
    return false;
}
#else
bool obeyFilePermissions(QString*)
{
    return true;
}
#endif

namespace {
bool setWritable(const QString& path, bool writable)
{
    const QFile::Permissions write =
        QFile::WriteOwner | QFile::WriteUser | QFile::WriteGroup | QFile::WriteOther;
    const QFile::Permissions current = QFile::permissions(path);
    return QFile::setPermissions(path, writable ? current | QFile::WriteOwner | QFile::WriteUser
                                                : current & ~write);
}
} // namespace

bool setDirectoryWritable(const QString& path, bool writable)
{
    bool all = true;
    // The directory last when closing it and first when opening it again.
    if (writable)
        all = setWritable(path, true);
    for (const QFileInfo& file : QDir(path).entryInfoList(QDir::Files | QDir::Hidden))
        all = setWritable(file.filePath(), writable) && all;
    if (!writable)
        all = setWritable(path, false) && all;
    return all;
}

} // namespace Permissions
