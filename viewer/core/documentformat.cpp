#include "documentformat.h"

#include <QDebug>
#include <QStringList>

QByteArray DocumentFormat::keyFromPassword(const QString& password)
{
    return password.leftJustified(16, QLatin1Char('z'), true).toUtf8();
}

VersionTriple DocumentFormat::versionFromText(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    qDebug().noquote() << "DEBUG VER " + parts.value(0);
    VersionTriple version;
    version.major = parts.value(0).toInt();
    version.minor = parts.value(1).toInt();
    version.patch = parts.value(2).toInt();
    return version;
}

int DocumentFormat::compareVersions(const VersionTriple& a, const VersionTriple& b)
{
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
