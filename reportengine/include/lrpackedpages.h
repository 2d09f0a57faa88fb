#ifndef LRPACKEDPAGES_H
#define LRPACKEDPAGES_H

#include "lrrenderedpage.h"

#include <QByteArray>
#include <QHash>
#include <QSizeF>
#include <QVector>

namespace LimeReport {

// Rendered pages held packed, for a view that keeps a whole report but shows a few
// pages at a time: a page takes some kilobytes instead of tens and is unpacked when
// asked for. The pages last asked for stay unpacked, as a view paints the same ones
// again and again. A copy shares the packed pages and may be read on another thread.
class PackedPages
{
public:
    int size() const { return m_packed.size(); }
    bool isEmpty() const { return m_packed.isEmpty(); }
    QSizeF pageSize(int index) const { return m_sizes.at(index); }
    RenderedPage at(int index) const;
    RenderedPage first() const { return at(0); }
    RenderedPage last() const { return at(size() - 1); }

    void append(const RenderedPage& page);
    // The page's pending texts written again (a page holding only those, see
    // RenderedPage::takePending): kept beside the packed page rather than packing
    // it again, and put in place whenever it is unpacked.
    void takePending(int index, const RenderedPage& final);
    void clear();

    // The page as bytes, and back; every member of every item comes back as it was.
    static QByteArray pack(const RenderedPage& page);
    static RenderedPage unpack(const QByteArray& packed);

private:
    void keep(int index, const RenderedPage& page) const;

    QVector<QByteArray> m_packed;
    QVector<QSizeF> m_sizes;
    QHash<int, RenderedPage> m_final;
    struct Recent
    {
        int index = -1;
        RenderedPage page;
    };
    mutable QVector<Recent> m_recent;
};

} // namespace LimeReport

#endif // LRPACKEDPAGES_H
