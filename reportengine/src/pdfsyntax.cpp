#include "pdfsyntax.h"

namespace LimeReport {

QByteArray PdfSyntax::write(const Dictionary& dictionary)
{
    QByteArray text = "<<";
    for (const Entry& entry : dictionary)
        text += "\n/" + entry.first + ' ' + entry.second;
    return text + "\n>>";
}

QByteArray PdfSyntax::hex4(quint32 value)
{
    static const char digits[] = "0123456789ABCDEF";
    const char text[4] = {digits[(value >> 12) & 15], digits[(value >> 8) & 15],
                          digits[(value >> 4) & 15], digits[value & 15]};
    return QByteArray(text, 4);
}

QByteArray PdfSyntax::utf16Hex(const QString& text)
{
    QByteArray hex;
    hex.reserve(text.size() * 4);
    for (const QChar c : text)
        hex += hex4(c.unicode());
    return hex;
}

QByteArray PdfSyntax::textString(const QString& text)
{
    return "<FEFF" + utf16Hex(text) + '>';
}

} // namespace LimeReport
