#include "documentformat.h"

#include <QDebug>
#include <QRegularExpression>
#include <QStringList>

#include <limits>

QByteArray DocumentFormat::keyFromPassword(const QString& password)
{
    return password.leftJustified(16, QLatin1Char('z'), true).toUtf8();
}

namespace {

// A part that is a number too large for an int stands for a version no viewer
// reaches: read as 0 it would let any viewer open a document meant for later ones.
int versionPart(const QString& text, bool* beyondRange)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (ok)
        return value;
    static const QRegularExpression digits(QStringLiteral("^\\s*\\+?[0-9]+\\s*$"));
    if (!digits.match(text).hasMatch())
        return 0;
    *beyondRange = true;
    return std::numeric_limits<int>::max();
}

} // namespace

VersionTriple DocumentFormat::versionFromText(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    qDebug().noquote() << "DEBUG VER " + parts.value(0);
    VersionTriple version;
    version.major = versionPart(parts.value(0), &version.beyondRange);
    version.minor = versionPart(parts.value(1), &version.beyondRange);
    version.patch = versionPart(parts.value(2), &version.beyondRange);
    return version;
}

int DocumentFormat::compareVersions(const VersionTriple& a, const VersionTriple& b)
{
    if (a.beyondRange != b.beyondRange)
        return a.beyondRange ? 1 : -1;
    const int left[] = {a.major, a.minor, a.patch};
    const int right[] = {b.major, b.minor, b.patch};
    for (int i = 0; i < 3; ++i) {
        if (left[i] != right[i])
            return left[i] < right[i] ? -1 : 1;
    }
    return 0;
}

QMap<QString, QString> DocumentFormat::metadataFromText(const QString& text)
{
    QMap<QString, QString> map;
    const QStringList parts = text.split(QLatin1Char('='));
    if (parts.size() >= 2)
        map.insert(parts.at(0), parts.at(1));
    return map;
}

QByteArray DocumentFormat::lengthField(int metadataLength)
{
    return QByteArray::number(metadataLength).toBase64();
}

int DocumentFormat::lengthFromField(const QByteArray& field)
{
    const QString digits = QString::fromUtf8(QByteArray::fromBase64(field));
    const int length = digits.toInt();
    return length < 0 ? -1 : length;
}
