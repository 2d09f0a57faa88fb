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

#endif // LIBGLOBAL_H
