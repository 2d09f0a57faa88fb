#include "updatemanifest.h"

#include <QSet>

const QString UpdateManifest::fileName = QStringLiteral("manifest.txt");
const QString UpdateManifest::signatureName = QStringLiteral("manifest.txt.minisig");
const QString UpdateManifest::libraryPrefix = QStringLiteral("kvLibrary/");

QByteArray UpdateManifest::format(const QList<Line>& lines)
{
    QByteArray text;
    for (const Line& line : lines)
        text += line.sha256.toHex() + "  " + line.name.toUtf8() + '\n';
    return text;
}

namespace {

bool isLowerHex(const QByteArray& text)
{
    for (char c : text) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    }
    return true;
}

} // namespace

bool UpdateManifest::parse(const QByteArray& text, QList<Line>* lines, QString* error)
{
    auto fail = [error](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };
    if (!text.isEmpty() && !text.endsWith('\n'))
        return fail(QStringLiteral("the manifest does not end with a line end"));
    QSet<QString> names;
    const QList<QByteArray> rows = text.split('\n');
    for (int i = 0; i + 1 < rows.size(); ++i) {
        const QByteArray& row = rows.at(i);
        const QByteArray hex = row.left(64);
        if (row.size() <= 66 || !isLowerHex(hex) || row.mid(64, 2) != "  ")
            return fail(
                QStringLiteral("manifest line %1 is not a hash, two blanks and a name").arg(i + 1));
        const QString name = QString::fromUtf8(row.mid(66));
        if (names.contains(name))
            return fail(QStringLiteral("the manifest lists %1 twice").arg(name));
        names.insert(name);
        lines->append({name, QByteArray::fromHex(hex)});
    }
    return true;
}
