#ifndef DATALOCATION_H
#define DATALOCATION_H

#include <QString>

#include "libglobal.h"

// Where the programs keep what they write as they run: the settings, the recent files
// and the log. Installed per user, the program folder is writable and holds them, and
// the updater keeps the installation up to date. Installed for the whole system (a
// distribution package), the program folder is read-only: they go to the user's data
// folder instead, and the distribution's package manager does the updating.
class TAVI_VIEWER_EXPORT DataLocation
{
public:
    // Whether the folder of the running program can be written, tried once per
    // process: the answer does not change while the programs run.
    static bool isProgramFolderWritable();
    // The program folder when it is writable, otherwise the user's data folder for the
    // product. Both programs use the same one, whichever program asks.
    static QString directory();
    // The user's data folder for the product.
    static QString userDirectory();
};

#endif // DATALOCATION_H
