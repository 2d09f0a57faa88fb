#ifndef LIBGLOBAL_H
#define LIBGLOBAL_H

#include <QtGlobal>

// The viewer loads the shared library; the updater compiles the same sources in
// statically, so its build leaves the symbols undecorated.
#if defined(TAVI_VIEWER_STATIC)
#define TAVI_VIEWER_EXPORT
#elif defined(TAVI_VIEWER_LIBRARY)
#define TAVI_VIEWER_EXPORT Q_DECL_EXPORT
#else
#define TAVI_VIEWER_EXPORT Q_DECL_IMPORT
#endif

class SimpleCrypt;

// Every deliverable must read the other's encrypted files (settings secrets, the
// version file, the recent-files store), so they all share this one cipher object
// with its fixed key. Its class is in simplecrypt.h.
extern TAVI_VIEWER_EXPORT SimpleCrypt crypto;

class TAVI_VIEWER_EXPORT LibGlobal
{
public:
    LibGlobal();
};

#endif // LIBGLOBAL_H
