#include "scriptprogram.h"

#include <QSet>
#include <QStringList>

namespace LimeReport {

// Words whose meaning differs between a program and a function body, or that
// bring statements where the last one is not simply the value.
static bool isExcludedWord(const QString& word)
{
    static const QSet<QString> excluded = {
        QStringLiteral("return"),   QStringLiteral("this"),  QStringLiteral("arguments"),
        QStringLiteral("eval"),     QStringLiteral("let"),   QStringLiteral("const"),
        QStringLiteral("function"), QStringLiteral("class"), QStringLiteral("yield"),
        QStringLiteral("await"),    QStringLiteral("if"),    QStringLiteral("else"),
        QStringLiteral("for"),      QStringLiteral("while"), QStringLiteral("do"),
        QStringLiteral("switch"),   QStringLiteral("try"),   QStringLiteral("catch"),
        QStringLiteral("finally"),  QStringLiteral("with"),  QStringLiteral("break"),
        QStringLiteral("continue"), QStringLiteral("throw"), QStringLiteral("debugger"),
        QStringLiteral("import"),   QStringLiteral("export")};
    return excluded.contains(word);
}

static bool startsWord(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_') || c == QLatin1Char('$');
}

// A slash where an operand is due starts a regular expression literal; after an
// operand (a name, a number, a closing bracket) it divides.
static bool operandDue(const QString& program, int slash)
{
    int i = slash - 1;
    while (i >= 0 && program.at(i).isSpace())
        --i;
    if (i < 0)
        return true;
    return QStringLiteral("(,=:[!&|?;{+-*%<>~^").contains(program.at(i));
}

// The index of the last character of the regular expression literal starting at
// `slash`, its flags included, or -1 when it does not end on its line.
static int regexEnd(const QString& program, int slash)
{
    bool inClass = false;
    for (int i = slash + 1; i < program.size(); ++i) {
        const QChar c = program.at(i);
        if (c == QLatin1Char('\\')) {
            ++i;
        } else if (c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            return -1;
        } else if (c == QLatin1Char('[')) {
            inClass = true;
        } else if (c == QLatin1Char(']')) {
            inClass = false;
        } else if (c == QLatin1Char('/') && !inClass) {
            while (i + 1 < program.size() && program.at(i + 1).isLetter())
                ++i;
            return i;
        }
    }
    return -1;
}

QString ScriptProgram::functionBody(const QString& program)
{
    QStringList statements;
    QStringList firstWords;
    int depth = 0;
    int start = 0;
    QString firstWord;
    bool statementHasContent = false;
    const auto endStatement = [&](int end) {
        if (statementHasContent) {
            statements << program.mid(start, end - start);
            firstWords << firstWord;
        }
        start = end + 1;
        firstWord.clear();
        statementHasContent = false;
    };
    for (int i = 0; i < program.size(); ++i) {
        const QChar c = program.at(i);
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            statementHasContent = true;
            for (++i; i < program.size() && program.at(i) != c; ++i) {
                if (program.at(i) == QLatin1Char('\\'))
                    ++i;
                else if (program.at(i) == QLatin1Char('\n') || program.at(i) == QLatin1Char('\r'))
                    return QString();
            }
            if (i >= program.size())
                return QString();
            continue;
        }
        if (startsWord(c)) {
            int end = i + 1;
            while (end < program.size() &&
                   (startsWord(program.at(end)) || program.at(end).isDigit()))
                ++end;
            const QString word = program.mid(i, end - i);
            if (isExcludedWord(word))
                return QString();
            if (!statementHasContent)
                firstWord = word;
            statementHasContent = true;
            i = end - 1;
            continue;
        }
        if (c == QLatin1Char('/')) {
            const QChar next = i + 1 < program.size() ? program.at(i + 1) : QChar();
            if (next == QLatin1Char('/') || next == QLatin1Char('*'))
                return QString(); // a comment
            if (operandDue(program, i)) {
                i = regexEnd(program, i);
                if (i < 0)
                    return QString();
            }
            statementHasContent = true;
            continue;
        }
        switch (c.unicode()) {
        case '`':
        case '\\':
            return QString();
        case '(':
        case '[':
        case '{':
            if (!statementHasContent && c == QLatin1Char('{'))
                return QString(); // a block, not an object
            ++depth;
            break;
        case ')':
        case ']':
        case '}':
            if (--depth < 0)
                return QString();
            break;
        case ';':
            if (depth == 0) {
                endStatement(i);
                continue;
            }
            break;
        default:
            break;
        }
        if (!c.isSpace())
            statementHasContent = true;
    }
    if (depth != 0)
        return QString();
    endStatement(program.size());
    if (statements.isEmpty() || firstWords.last() == QLatin1String("var"))
        return QString();
    const QString last = statements.takeLast();
    QString body;
    for (const QString& statement : statements)
        body += statement + QLatin1String(";\n");
    return body + QLatin1String("return (") + last + QLatin1String("\n);");
}

} // namespace LimeReport
