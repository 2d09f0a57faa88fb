// Pages held packed by the preview come back as they went in.

#include <LimeReport>

#include "lrpackedpages.h"

#include <QPainter>
#include <QtTest>

using LimeReport::PackedPages;
using LimeReport::RenderedItem;
using LimeReport::RenderedPage;

namespace {

// Every member of an item set away from its default, differently for each n.
RenderedItem item(int n)
{
    RenderedItem item;
    item.kind = RenderedItem::Kind(n % 6);
    item.rect = QRectF(10.25 * n, 20.5, 300.125, 40.0625 + n);
    item.text = QStringLiteral("Nguyễn Văn Żółć %1\nbaris kedua").arg(n);
    item.lineHeight = 36.5;
    item.name = QStringLiteral("TextItem%1").arg(n % 3);
    item.font = QFont(QStringLiteral("Arial"));
    item.font.setPixelSize(28 + n % 2);
    item.font.setBold(n % 2 == 0);
    item.font.setItalic(n % 3 == 0);
    item.font.setUnderline(n % 4 == 0);
    item.color = QColor(0xc0, n, 0x10, 200);
    item.fillColor = QColor(QStringLiteral("#1f4e79"));
    item.brush = Qt::BrushStyle(n % 14);
    item.penStyle = Qt::PenStyle(n % 6);
    item.penWidth = 2.5;
    item.radius = 0.75 * n;
    item.opacity = 0.5;
    item.flags = int(Qt::AlignRight | Qt::AlignTop);
    if (item.kind == RenderedItem::Image) {
        item.image = QImage(4, 3, QImage::Format_ARGB32);
        item.image.fill(QColor(n, 0x80, 0x40, 0x90));
    }
    return item;
}

RenderedPage page(int items, int seed = 0)
{
    RenderedPage page(QSizeF(2100, 2970 + seed));
    for (int i = 0; i < items; ++i)
        page.items() << item(i + seed);
    page.setPending({{1, 2}, {items - 1, items}});
    return page;
}

void compare(const RenderedPage& got, const RenderedPage& want)
{
    QCOMPARE(got.size(), want.size());
    QCOMPARE(got.items().size(), want.items().size());
    for (int i = 0; i < want.items().size(); ++i) {
        const RenderedItem& a = got.items().at(i);
        const RenderedItem& b = want.items().at(i);
        QCOMPARE(a.kind, b.kind);
        QCOMPARE(a.rect, b.rect);
        QCOMPARE(a.text, b.text);
        QCOMPARE(a.lineHeight, b.lineHeight);
        QCOMPARE(a.name, b.name);
        QCOMPARE(a.font, b.font);
        QCOMPARE(a.font.pixelSize(), b.font.pixelSize());
        QCOMPARE(a.color, b.color);
        QCOMPARE(a.fillColor, b.fillColor);
        QCOMPARE(a.brush, b.brush);
        QCOMPARE(a.penStyle, b.penStyle);
        QCOMPARE(a.penWidth, b.penWidth);
        QCOMPARE(a.radius, b.radius);
        QCOMPARE(a.opacity, b.opacity);
        QCOMPARE(a.flags, b.flags);
        QCOMPARE(a.image, b.image);
    }
    QCOMPARE(got.pending().size(), want.pending().size());
    for (int i = 0; i < want.pending().size(); ++i) {
        QCOMPARE(got.pending().at(i).first, want.pending().at(i).first);
        QCOMPARE(got.pending().at(i).end, want.pending().at(i).end);
    }
}

} // namespace

class tst_PackedPages : public QObject
{
    Q_OBJECT
private slots:
    void everyMemberComesBack();
    void manyPagesAndPendingTexts();
};

void tst_PackedPages::everyMemberComesBack()
{
    const RenderedPage original = page(24);
    compare(PackedPages::unpack(PackedPages::pack(original)), original);
    compare(PackedPages::unpack(PackedPages::pack(RenderedPage(QSizeF(10, 20)))),
            RenderedPage(QSizeF(10, 20)));
}

// More pages than are kept unpacked, read in any order, and the pending texts of a
// page written again, whether the page is among those kept unpacked or not.
void tst_PackedPages::manyPagesAndPendingTexts()
{
    PackedPages pages;
    for (int i = 0; i < 20; ++i)
        pages.append(page(5, i));
    QCOMPARE(pages.size(), 20);
    for (int i : {19, 0, 7, 19, 13, 1, 2, 3, 4, 5, 6, 0}) {
        compare(pages.at(i), page(5, i));
        QCOMPARE(pages.pageSize(i), page(5, i).size());
    }
    // Ranges {1, 2} and {4, 5}: the first grows to two items, the second stays one.
    RenderedPage final(page(5, 4).size());
    final.items() << item(40) << item(41) << item(42);
    final.setPending({{0, 2}, {2, 3}});
    RenderedPage expected = page(5, 4);
    expected.items() = {expected.items().at(0), item(40), item(41), expected.items().at(2),
                        expected.items().at(3), item(42)};
    expected.setPending({{1, 3}, {5, 6}});
    for (bool unpacked : {true, false}) {
        // Six other pages read push page 4 out of those kept unpacked.
        for (int i : unpacked ? QVector<int>{4} : QVector<int>{10, 11, 12, 13, 14, 15})
            pages.at(i);
        PackedPages copy = pages;
        copy.takePending(4, final);
        compare(copy.at(4), expected);
        compare(copy.at(3), page(5, 3));
    }
    const PackedPages copy = pages;
    pages.clear();
    QVERIFY(pages.isEmpty());
    compare(copy.last(), page(5, 19));
}

QTEST_MAIN(tst_PackedPages)
#include "tst_packedpages.moc"
