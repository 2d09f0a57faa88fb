#include "datalocation.h"

#include "common.h"

#include <QCoreApplication>
#include <QStandardPaths>

bool DataLocation::isProgramFolderWritable()
{
    static const bool writable =
        Common::isDirectoryWritable(QCoreApplication::applicationDirPath());
    return writable;
}

QString DataLocation::directory()
{
    return isProgramFolderWritable() ? QCoreApplication::applicationDirPath() : userDirectory();
}

QString DataLocation::userDirectory()
{
    // Not the per-application location: it is named after each program, and the viewer
    // and the updater must share their settings.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/vardo-viewer");
}
