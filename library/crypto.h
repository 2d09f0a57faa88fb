#ifndef CRYPTO_H
#define CRYPTO_H

#include "libglobal.h"
#include "simplecrypt.h"

// Every deliverable must read the other's encrypted files (settings secrets, the
// version file, the recent-files store), so they all share this one cipher object
// with its fixed key.
extern TAVI_VIEWER_EXPORT SimpleCrypt crypto;

#endif // CRYPTO_H
