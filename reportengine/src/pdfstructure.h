#ifndef PDFSTRUCTURE_H
#define PDFSTRUCTURE_H

#include "pdfsyntax.h"

#include <QHash>
#include <QString>

namespace LimeReport {

// Reads what a revision appended to a finished PDF must know of it: where its
// cross-reference table is, its trailer, its catalog and its pages in order. Only
// classic cross-reference tables are read, as the PDF writer in use writes them.
class PdfStructure
{
public:
    bool read(const QByteArray& pdf);
    QString error() const { return m_error; }

    qint64 xrefOffset() const { return m_xrefOffset; }
    const PdfSyntax::Dictionary& trailer() const { return m_trailer; }
    int size() const { return m_size; }
    int rootObject() const { return m_root; }
    const PdfSyntax::Dictionary& catalog() const { return m_catalog; }
    // Null when the document has no information dictionary.
    int infoObject() const { return m_info; }
    const PdfSyntax::Dictionary& info() const { return m_infoDictionary; }
    const QVector<int>& pages() const { return m_pages; }
    // The top edge of each page's media box, in points; -1 where it names none.
    const QVector<qreal>& pageTops() const { return m_pageTops; }

private:
    bool fail(const QString& error);
    bool readXref(qint64 offset, PdfSyntax::Dictionary* trailer);
    bool readObjectDictionary(int number, PdfSyntax::Dictionary* dictionary) const;
    bool collectPages(int node, int depth, const QByteArray& inheritedMediaBox);

    const QByteArray* m_pdf = nullptr;
    QString m_error;
    qint64 m_xrefOffset = 0;
    PdfSyntax::Dictionary m_trailer;
    int m_size = 0;
    int m_root = -1;
    int m_info = -1;
    PdfSyntax::Dictionary m_catalog;
    PdfSyntax::Dictionary m_infoDictionary;
    QHash<int, qint64> m_offsets;
    QVector<int> m_pages;
    QVector<qreal> m_pageTops;
};

} // namespace LimeReport

#endif // PDFSTRUCTURE_H
