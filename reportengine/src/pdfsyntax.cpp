#include "pdfsyntax.h"

namespace LimeReport {

QByteArray PdfSyntax::write(const Dictionary& dictionary)
{
    QByteArray text = "<<";
    for (const Entry& entry : dictionary)
        text += "\n/" + entry.first + ' ' + entry.second;
    return text + "\n>>";
}

QByteArray PdfSyntax::textString(const QString& text)
{
    QByteArray hex = "<FEFF";
    for (const QChar c : text)
        hex += QByteArray::number(c.unicode() | 0x10000, 16).mid(1).toUpper();
    return hex + '>';
}

} // namespace LimeReport
