#ifndef LRPDFMETADATA_H
#define LRPDFMETADATA_H

#include <QString>

namespace LimeReport {

// What a written PDF says about itself in its document information. The engine
// knows nothing of what a report is about: its caller fills these in.
struct PdfMetadata
{
    QString title;
    QString creator;  // the program that made the document
    QString producer; // the program that wrote the PDF

    bool isEmpty() const { return title.isEmpty() && creator.isEmpty() && producer.isEmpty(); }
};

} // namespace LimeReport

#endif // LRPDFMETADATA_H
