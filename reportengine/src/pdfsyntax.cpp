#include "pdfsyntax.h"

#include <QList>
#include <QString>

#include <cstring>

namespace LimeReport {

static bool isWhite(char c)
{
    return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0';
}

static bool isDelimiter(char c)
{
    return c != '\0' && std::strchr("()<>[]{}/%", c) != nullptr;
}

static bool endsToken(char c)
{
    return isWhite(c) || isDelimiter(c);
}

int PdfSyntax::skipWhite(const QByteArray& text, int pos)
{
    while (pos >= 0 && pos < text.size()) {
        if (text.at(pos) == '%') {
            while (pos < text.size() && text.at(pos) != '\n' && text.at(pos) != '\r')
                ++pos;
        } else if (isWhite(text.at(pos))) {
            ++pos;
        } else {
            break;
        }
    }
    return pos;
}

// A literal string, balanced parentheses and escapes included.
static int skipLiteral(const QByteArray& text, int pos)
{
    int depth = 0;
    for (; pos < text.size(); ++pos) {
        const char c = text.at(pos);
        if (c == '\\')
            ++pos;
        else if (c == '(')
            ++depth;
        else if (c == ')' && --depth == 0)
            return pos + 1;
    }
    return -1;
}

static int skipToken(const QByteArray& text, int pos)
{
    const int start = pos;
    while (pos < text.size() && !endsToken(text.at(pos)))
        ++pos;
    return pos > start ? pos : -1;
}

static bool isInteger(const QByteArray& token)
{
    if (token.isEmpty())
        return false;
    for (char c : token) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

// One value as the lexer sees it: a reference is still three of these.
static int skipSimpleValue(const QByteArray& text, int pos)
{
    pos = PdfSyntax::skipWhite(text, pos);
    if (pos < 0 || pos >= text.size())
        return -1;
    const char c = text.at(pos);
    if (text.mid(pos, 2) == "<<") {
        pos += 2;
        for (;;) {
            pos = PdfSyntax::skipWhite(text, pos);
            if (pos < 0 || pos >= text.size())
                return -1;
            if (text.mid(pos, 2) == ">>")
                return pos + 2;
            pos = PdfSyntax::skipValue(text, pos);
        }
    }
    if (c == '<') {
        const int close = text.indexOf('>', pos);
        return close < 0 ? -1 : close + 1;
    }
    if (c == '(')
        return skipLiteral(text, pos);
    if (c == '[') {
        ++pos;
        for (;;) {
            pos = PdfSyntax::skipWhite(text, pos);
            if (pos < 0 || pos >= text.size())
                return -1;
            if (text.at(pos) == ']')
                return pos + 1;
            pos = PdfSyntax::skipValue(text, pos);
        }
    }
    if (c == '/')
        return pos + 1 < text.size() && !endsToken(text.at(pos + 1)) ? skipToken(text, pos + 1)
                                                                     : pos + 1;
    if (isDelimiter(c))
        return -1;
    return skipToken(text, pos);
}

int PdfSyntax::skipValue(const QByteArray& text, int pos)
{
    if (pos < 0)
        return -1;
    const int start = skipWhite(text, pos);
    const int end = skipSimpleValue(text, start);
    if (end < 0 || !isInteger(text.mid(start, end - start)))
        return end;
    // "n g R" is one value: a number followed by another and the letter R.
    const int generationStart = skipWhite(text, end);
    const int generationEnd = skipSimpleValue(text, generationStart);
    if (generationEnd < 0 || !isInteger(text.mid(generationStart, generationEnd - generationStart)))
        return end;
    const int markStart = skipWhite(text, generationEnd);
    if (markStart < text.size() && text.at(markStart) == 'R' &&
        (markStart + 1 == text.size() || endsToken(text.at(markStart + 1))))
        return markStart + 1;
    return end;
}

bool PdfSyntax::readDictionary(const QByteArray& text, int pos, Dictionary* dictionary, int* end)
{
    dictionary->clear();
    pos = skipWhite(text, pos);
    if (pos < 0 || text.mid(pos, 2) != "<<")
        return false;
    pos += 2;
    for (;;) {
        pos = skipWhite(text, pos);
        if (pos < 0 || pos >= text.size())
            return false;
        if (text.mid(pos, 2) == ">>")
            break;
        if (text.at(pos) != '/')
            return false;
        const int keyEnd = skipSimpleValue(text, pos);
        if (keyEnd < 0)
            return false;
        const int valueStart = skipWhite(text, keyEnd);
        const int valueEnd = skipValue(text, valueStart);
        if (valueEnd < 0)
            return false;
        dictionary->append(
            {text.mid(pos + 1, keyEnd - pos - 1), text.mid(valueStart, valueEnd - valueStart)});
        pos = valueEnd;
    }
    if (end)
        *end = pos + 2;
    return true;
}

QByteArray PdfSyntax::value(const Dictionary& dictionary, const QByteArray& key)
{
    for (const Entry& entry : dictionary) {
        if (entry.first == key)
            return entry.second;
    }
    return QByteArray();
}

int PdfSyntax::reference(const QByteArray& value)
{
    const QList<QByteArray> parts = value.simplified().split(' ');
    if (parts.size() != 3 || !isInteger(parts.at(0)) || !isInteger(parts.at(1)) ||
        parts.at(2) != "R")
        return -1;
    bool ok = false;
    const int number = parts.at(0).toInt(&ok);
    return ok ? number : -1;
}

QVector<int> PdfSyntax::references(const QByteArray& array)
{
    QVector<int> list;
    int pos = skipWhite(array, 0);
    if (pos < 0 || pos >= array.size() || array.at(pos) != '[')
        return list;
    ++pos;
    for (;;) {
        pos = skipWhite(array, pos);
        if (pos < 0 || pos >= array.size() || array.at(pos) == ']')
            return list;
        const int end = skipValue(array, pos);
        if (end < 0)
            return list;
        const int number = reference(array.mid(pos, end - pos));
        if (number >= 0)
            list << number;
        pos = end;
    }
}

bool PdfSyntax::readInteger(const QByteArray& text, int* pos, qint64* number)
{
    const int start = skipWhite(text, *pos);
    int end = start;
    while (end >= 0 && end < text.size() && text.at(end) >= '0' && text.at(end) <= '9')
        ++end;
    if (start < 0 || end == start || end - start > 18)
        return false;
    *number = text.mid(start, end - start).toLongLong();
    *pos = end;
    return true;
}

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
