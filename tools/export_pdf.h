#ifndef EXPORT_PDF_H
#define EXPORT_PDF_H

#include <QString>
#include <QStringList>

class OpenResult;

// Writes every data set of the document as DIR/<entry name>.pdf through the viewer's
// own templates and report engine. Prints each file written; returns the exit code
// (non-zero when any file failed).
int exportPdf(const QStringList& args, const OpenResult& document, const QString& directory);

#endif // EXPORT_PDF_H
