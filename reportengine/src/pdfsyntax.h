#ifndef PDFSYNTAX_H
#define PDFSYNTAX_H

#include <QByteArray>
#include <QPair>
#include <QString>
#include <QVector>

namespace LimeReport {

// The parts of the PDF object syntax that are more than a few bytes to write.
class PdfSyntax
{
public:
    using Entry = QPair<QByteArray, QByteArray>; // key without '/', value as written
    using Dictionary = QVector<Entry>;

    static QByteArray write(const Dictionary& dictionary);
    // Four upper-case hex digits: a glyph number or a UTF-16 code unit.
    static QByteArray hex4(quint32 value);
    // The UTF-16 code units of the text in hex.
    static QByteArray utf16Hex(const QString& text);
    // A text string as UTF-16 with its byte order mark, which every reader takes
    // whatever the script of the text.
    static QByteArray textString(const QString& text);
};

} // namespace LimeReport

#endif // PDFSYNTAX_H
