#ifndef REPORTMETADATA_H
#define REPORTMETADATA_H

#include <lrpdfmetadata.h>

#include <QString>

class TAVIDs;

// What the product's PDF files say about themselves: made and written by this
// product, titled by what they show.
namespace ReportMetadata {

// The product with its version, as Creator and Producer name it.
QString productName();
// A data set's report: "DEBTOR NAME - Laporan NUMBER", from the filled header.
LimeReport::PdfMetadata forReport(const TAVIDs& dataSources);
// A built-in document (the manual, the FAQ) under its own title.
LimeReport::PdfMetadata forDocument(const QString& title);

} // namespace ReportMetadata

#endif // REPORTMETADATA_H
