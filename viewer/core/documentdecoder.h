#ifndef DOCUMENTDECODER_H
#define DOCUMENTDECODER_H

#include "openresult.h"

#include <QByteArray>
#include <QString>

// Decrypts a document held in memory. On code 0 payload holds the zip archive; on any
// other code it is left empty. Codes: 0 "Sukses", 2 viewer too old, 3 "Invalid
// Password", 4 the password is right but the file is damaged. The cipher never sees
// more than one segment at a time. The payload is decrypted into the document's own
// buffer: a caller that moves the document in spares a copy of its size.
OpenResult decryptDocumentData(int major, int minor, int patch, const QString& password,
                               QByteArray document, QByteArray* payload);

// As decryptDocumentData, for a file; the payload is written to targetPath only on
// success, so a refused document leaves no file behind.
OpenResult decryptDocument(int major, int minor, int patch, const QString& password,
                           const QString& sourcePath, const QString& targetPath);

// Opens a document into a new OpenResult (never null; the caller deletes it). The
// plaintext and the archive entries stay in memory: no temporary file is written, so
// tempDir and removeTemp no longer have any effect and are kept for existing callers.
OpenResult* openDocument(int major, int minor, int patch, const QString& password,
                         const QString& documentPath, const QString& tempDir, bool removeTemp);

// As openDocument, for a document already read into memory (from standard input, say);
// fileName is what the result reports as the document's file name.
OpenResult* openDocumentData(int major, int minor, int patch, const QString& password,
                             QByteArray document, const QString& fileName);

#endif // DOCUMENTDECODER_H
