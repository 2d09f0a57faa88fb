#ifndef PDFSYNTAX_H
#define PDFSYNTAX_H

#include <QByteArray>
#include <QPair>
#include <QVector>

namespace LimeReport {

// Just enough of the PDF object syntax to read a file's catalog, page tree and
// cross-reference table and to copy dictionaries from one revision to the next.
// Positions are byte offsets into the text; -1 means the syntax was not as expected.
class PdfSyntax
{
public:
    using Entry = QPair<QByteArray, QByteArray>; // key without '/', value as written
    using Dictionary = QVector<Entry>;

    // Past white space and comments from pos.
    static int skipWhite(const QByteArray& text, int pos);
    // Past the one value (a reference "n g R" counts as one) that starts at pos,
    // after white space.
    static int skipValue(const QByteArray& text, int pos);
    // The dictionary that starts at pos, after white space; end tells where it ends.
    static bool readDictionary(const QByteArray& text, int pos, Dictionary* dictionary,
                               int* end = nullptr);
    static QByteArray value(const Dictionary& dictionary, const QByteArray& key);
    // The object number of a value "n g R"; -1 when it is none.
    static int reference(const QByteArray& value);
    // The references of an array value, in order.
    static QVector<int> references(const QByteArray& array);
    // The integer that starts at pos, after white space.
    static bool readInteger(const QByteArray& text, int* pos, qint64* number);

    static QByteArray write(const Dictionary& dictionary);
    // A text string as UTF-16 with its byte order mark, which every reader takes
    // whatever the script of the text.
    static QByteArray textString(const QString& text);
};

} // namespace LimeReport

#endif // PDFSYNTAX_H
