#include "exportfilenames.h"

#include <QSet>

namespace {

const QString fallbackStem = QStringLiteral("data");

// Characters that a file name must not hold: what Windows refuses, what ends a C
// string, what moves the cursor or turns text around, and what cannot be encoded.
bool isUnsafe(QChar c)
{
    static const QString forbidden = QStringLiteral("<>:\"/\\|?*");
    if (forbidden.contains(c))
        return true;
    switch (c.category()) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return false;
    }
}

int utf8Length(const QString& text)
{
    return text.toUtf8().size();
}

void chopTrailingDotsAndSpaces(QString* text)
{
    while (text->endsWith(QLatin1Char('.')) || text->endsWith(QLatin1Char(' ')))
        text->chop(1);
}

} // namespace

QString ExportFileNames::cleanStem(const QString& entryName)
{
    const int slash =
        qMax(entryName.lastIndexOf(QLatin1Char('/')), entryName.lastIndexOf(QLatin1Char('\\')));
    const QString last = entryName.mid(slash + 1);
    QString stem;
    stem.reserve(last.size());
    for (int i = 0; i < last.size(); ++i) {
        const QChar c = last.at(i);
        if (c.isHighSurrogate() && i + 1 < last.size() && last.at(i + 1).isLowSurrogate()) {
            stem += c;
            stem += last.at(++i);
        } else if (c.isSurrogate() || isUnsafe(c)) {
            stem += QLatin1Char('_');
        } else {
            stem += c;
        }
    }
    // Windows drops them, so "a." and "a" would be one file there.
    chopTrailingDotsAndSpaces(&stem);
    return stem.isEmpty() ? fallbackStem : stem;
}

bool ExportFileNames::isReserved(const QString& fileName)
{
    static const QSet<QString> reserved = [] {
        QSet<QString> names{QStringLiteral("CON"),    QStringLiteral("PRN"),
                            QStringLiteral("AUX"),    QStringLiteral("NUL"),
                            QStringLiteral("CONIN$"), QStringLiteral("CONOUT$")};
        const QString digits =
            QStringLiteral("123456789") + QChar(0x00B9) + QChar(0x00B2) + QChar(0x00B3);
        for (const QChar digit : digits) {
            names.insert(QStringLiteral("COM") + digit);
            names.insert(QStringLiteral("LPT") + digit);
        }
        return names;
    }();
    // Windows opens the device whatever extension follows, and ignores trailing spaces.
    QString base = fileName.section(QLatin1Char('.'), 0, 0);
    while (base.endsWith(QLatin1Char(' ')))
        base.chop(1);
    return reserved.contains(base.toUpper());
}

QString ExportFileNames::cutToBytes(const QString& text, int bytes)
{
    int used = 0;
    int end = 0;
    while (end < text.size()) {
        const int width = text.at(end).isHighSurrogate() && end + 1 < text.size() ? 2 : 1;
        const int size = utf8Length(text.mid(end, width));
        if (used + size > bytes)
            break;
        used += size;
        end += width;
    }
    return text.left(end);
}

QString ExportFileNames::safeName(const QString& entryName, const Extension& extension)
{
    QString stem = cleanStem(entryName);
    QString tail =
        extension.extension.isEmpty() ? QString() : QLatin1Char('.') + extension.extension;
    if (!extension.keptEnding.isEmpty() && stem.endsWith(extension.keptEnding))
        tail.clear();
    if (utf8Length(stem) + utf8Length(tail) > maxNameBytes) {
        // Cut from the middle of the name, so that its extension stays what it was.
        if (tail.isEmpty()) {
            const int dot = stem.lastIndexOf(QLatin1Char('.'));
            if (dot > 0 && stem.size() - dot <= maxExtensionLength) {
                tail = stem.mid(dot);
                stem.truncate(dot);
            } else if (!extension.extension.isEmpty()) {
                tail = QLatin1Char('.') + extension.extension;
            }
        }
        stem = cutToBytes(stem, maxNameBytes - utf8Length(tail));
        chopTrailingDotsAndSpaces(&stem);
        if (stem.isEmpty())
            stem = fallbackStem;
    }
    const QString name = stem + tail;
    return isReserved(name) ? QLatin1Char('_') + name : name;
}

QString ExportFileNames::numbered(const QString& fileName, int number)
{
    const int dot = fileName.lastIndexOf(QLatin1Char('.'));
    const QString mark = QStringLiteral(" (%1)").arg(number);
    return dot > 0 ? fileName.left(dot) + mark + fileName.mid(dot) : fileName + mark;
}

QMap<QString, QString> ExportFileNames::forEntries(const QStringList& entryNames,
                                                   const Extension& extension)
{
    QMap<QString, QString> names;
    // Case is ignored: on Windows "A.txt" and "a.txt" are one file.
    QSet<QString> taken;
    for (const QString& entry : entryNames) {
        const QString wanted = safeName(entry, extension);
        QString name = wanted;
        for (int number = 2; taken.contains(name.toLower()); ++number)
            name = numbered(wanted, number);
        taken.insert(name.toLower());
        names.insert(entry, name);
    }
    return names;
}
