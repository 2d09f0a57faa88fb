#ifndef APPLICATIONOBJECT_H
#define APPLICATIONOBJECT_H

#include <QString>

// One component's entry in the version registry.
class ApplicationObject
{
public:
    QString version;
    QString secondVersion;
    // The version before the last applied update, so that a rollback can restore it.
    QString backupVersion;
    bool flag = false;
};

#endif // APPLICATIONOBJECT_H
