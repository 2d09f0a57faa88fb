#ifndef EXPORT_PDF_H
#define EXPORT_PDF_H

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

// Writes every data set of a document (entry name to JSON text) as DIR/<entry
// name>.pdf through the viewer's own templates and report engine, letting go of each
// text once it is read. Prints each file written; returns the exit code (non-zero
// when any file failed).
int exportPdf(const QStringList& args, QMap<QString, QByteArray> files, const QString& directory);

#endif // EXPORT_PDF_H
