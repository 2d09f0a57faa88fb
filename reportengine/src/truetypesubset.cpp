#include "truetypesubset.h"

#include <QVector>
#include <QtEndian>

#include <algorithm>

namespace LimeReport {

namespace {

quint16 read16(const QByteArray& data, int at)
{
    return qFromBigEndian<quint16>(reinterpret_cast<const uchar*>(data.constData()) + at);
}

quint32 read32(const QByteArray& data, int at)
{
    return qFromBigEndian<quint32>(reinterpret_cast<const uchar*>(data.constData()) + at);
}

void put16(QByteArray* data, int at, quint16 value)
{
    qToBigEndian(value, reinterpret_cast<uchar*>(data->data()) + at);
}

void append16(QByteArray* data, quint16 value)
{
    data->resize(data->size() + 2);
    put16(data, data->size() - 2, value);
}

void append32(QByteArray* data, quint32 value)
{
    data->resize(data->size() + 4);
    qToBigEndian(value, reinterpret_cast<uchar*>(data->data()) + data->size() - 4);
}

quint32 checksum(const QByteArray& data)
{
    quint32 sum = 0;
    QByteArray padded = data;
    padded.append(QByteArray((4 - data.size() % 4) % 4, '\0'));
    for (int i = 0; i < padded.size(); i += 4)
        sum += read32(padded, i);
    return sum;
}

// Where each glyph's outline starts in glyf, and one past the last glyph's end.
struct GlyphLocations
{
    QVector<quint32> offsets;

    bool read(const QByteArray& head, const QByteArray& maxp, const QByteArray& loca, int glyf)
    {
        if (head.size() < 54 || maxp.size() < 6)
            return false;
        const int count = read16(maxp, 4);
        const bool longOffsets = read16(head, 50) != 0;
        if (loca.size() < (count + 1) * (longOffsets ? 4 : 2))
            return false;
        offsets.resize(count + 1);
        for (int i = 0; i <= count; ++i) {
            offsets[i] = longOffsets ? read32(loca, i * 4) : quint32(read16(loca, i * 2)) * 2;
            if (offsets[i] > quint32(glyf) || (i > 0 && offsets[i] < offsets[i - 1]))
                return false;
        }
        return true;
    }

    int count() const { return offsets.size() - 1; }
};

// The glyphs a composite glyph is made of.
QVector<quint32> componentsOf(const QByteArray& glyph)
{
    enum : quint16
    {
        WordArguments = 0x0001,
        Scale = 0x0008,
        MoreComponents = 0x0020,
        XYScale = 0x0040,
        TwoByTwo = 0x0080
    };
    QVector<quint32> parts;
    if (glyph.size() < 10 || qint16(read16(glyph, 0)) >= 0)
        return parts;
    for (int at = 10; at + 4 <= glyph.size();) {
        const quint16 flags = read16(glyph, at);
        parts << read16(glyph, at + 2);
        at += 4 + ((flags & WordArguments) ? 4 : 2);
        if (flags & Scale)
            at += 2;
        else if (flags & XYScale)
            at += 4;
        else if (flags & TwoByTwo)
            at += 8;
        if (!(flags & MoreComponents))
            break;
    }
    return parts;
}

} // namespace

bool TrueTypeSubset::canSubset(const TableReader& table)
{
    GlyphLocations locations;
    const QByteArray glyf = table("glyf");
    return !glyf.isEmpty() &&
           locations.read(table("head"), table("maxp"), table("loca"), glyf.size()) &&
           table("hhea").size() >= 36 && !table("hmtx").isEmpty();
}

QByteArray TrueTypeSubset::build(const TableReader& table, const QSet<quint32>& glyphs)
{
    QByteArray head = table("head");
    const QByteArray maxp = table("maxp");
    const QByteArray glyf = table("glyf");
    GlyphLocations locations;
    if (glyf.isEmpty() || !locations.read(head, maxp, table("loca"), glyf.size()))
        return QByteArray();
    const auto outline = [&](quint32 glyph) {
        return glyf.mid(
            int(locations.offsets.at(int(glyph))),
            int(locations.offsets.at(int(glyph) + 1) - locations.offsets.at(int(glyph))));
    };

    QVector<bool> kept(locations.count(), false);
    QVector<quint32> pending{0};
    for (quint32 glyph : glyphs)
        pending << glyph;
    while (!pending.isEmpty()) {
        const quint32 glyph = pending.takeLast();
        if (glyph >= quint32(kept.size()) || kept.at(int(glyph)))
            continue;
        kept[int(glyph)] = true;
        pending << componentsOf(outline(glyph));
    }

    QByteArray newGlyf;
    QByteArray newLoca;
    for (int glyph = 0; glyph < kept.size(); ++glyph) {
        append32(&newLoca, quint32(newGlyf.size()));
        if (kept.at(glyph)) {
            newGlyf += outline(quint32(glyph));
            newGlyf.append(QByteArray((4 - newGlyf.size() % 4) % 4, '\0'));
        }
    }
    append32(&newLoca, quint32(newGlyf.size()));
    put16(&head, 50, 1); // long offsets in loca
    head.replace(8, 4, QByteArray(4, '\0'));

    QVector<QPair<QByteArray, QByteArray>> tables{
        {"glyf", newGlyf}, {"head", head}, {"loca", newLoca}, {"maxp", maxp}};
    for (const char* tag : {"cvt ", "fpgm", "hhea", "hmtx", "prep"}) {
        const QByteArray data = table(tag);
        if (!data.isEmpty())
            tables << qMakePair(QByteArray(tag), data);
    }
    std::sort(tables.begin(), tables.end());

    int power = 1;
    int exponent = 0;
    while (power * 2 <= tables.size()) {
        power *= 2;
        ++exponent;
    }
    QByteArray font;
    append32(&font, 0x00010000);
    append16(&font, quint16(tables.size()));
    append16(&font, quint16(power * 16));
    append16(&font, quint16(exponent));
    append16(&font, quint16(tables.size() * 16 - power * 16));
    int offset = 12 + 16 * tables.size();
    int headOffset = 0;
    for (const auto& entry : tables) {
        font += entry.first;
        append32(&font, checksum(entry.second));
        append32(&font, quint32(offset));
        append32(&font, quint32(entry.second.size()));
        if (entry.first == "head")
            headOffset = offset;
        offset += (entry.second.size() + 3) / 4 * 4;
    }
    for (const auto& entry : tables) {
        font += entry.second;
        font.append(QByteArray((4 - entry.second.size() % 4) % 4, '\0'));
    }
    qToBigEndian(quint32(0xB1B0AFBA - checksum(font)),
                 reinterpret_cast<uchar*>(font.data()) + headOffset + 8);
    return font;
}

} // namespace LimeReport
