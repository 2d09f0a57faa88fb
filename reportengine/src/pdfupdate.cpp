#include "pdfupdate.h"

#include "pageprinter.h"
#include "pdfstructure.h"

#include <QMap>

namespace LimeReport {

namespace {

// The outline as a tree: each entry under the closest entry before it of a lower level.
struct OutlineTree
{
    struct Node
    {
        const OutlineEntry* entry = nullptr;
        int object = 0;
        int parent = -1; // a node, or -1 for the outline's root
        QVector<int> children;
    };

    OutlineTree(const ReportOutline& outline, int pageCount, int firstObject)
    {
        QVector<int> open;
        for (const OutlineEntry& entry : outline) {
            // Pages that were not written have nowhere to open.
            if (entry.page < 0 || entry.page >= pageCount)
                continue;
            while (!open.isEmpty() && nodes.at(open.last()).entry->level >= entry.level)
                open.removeLast();
            Node node;
            node.entry = &entry;
            node.object = firstObject + 1 + nodes.size();
            node.parent = open.isEmpty() ? -1 : open.last();
            (open.isEmpty() ? top : nodes[open.last()].children) << nodes.size();
            open << nodes.size();
            nodes << node;
        }
    }

    QVector<Node> nodes;
    QVector<int> top;
};

class RevisionWriter
{
public:
    RevisionWriter(const QByteArray& pdf) : m_base(pdf.size())
    {
        if (!pdf.endsWith('\n'))
            m_text += '\n';
    }

    void object(int number, const QByteArray& body)
    {
        m_offsets.insert(number, m_base + m_text.size());
        m_text += QByteArray::number(number) + " 0 obj\n" + body + "\nendobj\n";
    }

    QByteArray finish(PdfSyntax::Dictionary trailer)
    {
        const qint64 xref = m_base + m_text.size();
        m_text += "xref\n";
        for (auto it = m_offsets.cbegin(); it != m_offsets.cend();) {
            auto run = it;
            int count = 0;
            while (run != m_offsets.cend() && run.key() == it.key() + count) {
                ++run;
                ++count;
            }
            m_text += QByteArray::number(it.key()) + ' ' + QByteArray::number(count) + '\n';
            for (; it != run; ++it)
                m_text += QByteArray::number(it.value()).rightJustified(10, '0') + " 00000 n\r\n";
        }
        m_text += "trailer\n" + PdfSyntax::write(trailer) + "\nstartxref\n" +
                  QByteArray::number(xref) + "\n%%EOF\n";
        return m_text;
    }

private:
    qint64 m_base;
    QByteArray m_text;
    QMap<int, qint64> m_offsets;
};

QByteArray reference(int object)
{
    return QByteArray::number(object) + " 0 R";
}

PdfSyntax::Dictionary without(const PdfSyntax::Dictionary& dictionary,
                              const QList<QByteArray>& keys)
{
    PdfSyntax::Dictionary kept;
    for (const PdfSyntax::Entry& entry : dictionary) {
        if (!keys.contains(entry.first))
            kept << entry;
    }
    return kept;
}

// pageTop is the page's upper edge in points as its media box says, which the PDF
// writer rounds; -1 when unknown.
QByteArray destination(int pageObject, qreal pageTop, const RenderedPage& page, qreal y)
{
    // Page units are 0.1 mm from the top; PDF points count from the bottom.
    const qreal pointsPerUnit = 72.0 / PagePrinter::unitsPerInch;
    const qreal edge = pageTop >= 0 ? pageTop : page.size().height() * pointsPerUnit;
    const qreal top = edge - y * pointsPerUnit;
    return '[' + reference(pageObject) + " /XYZ 0 " + QByteArray::number(top, 'f', 2) + " null]";
}

} // namespace

QByteArray PdfUpdate::build(const QByteArray& pdf, const ReportPages& pages,
                            const PdfDocument& document, QString* error)
{
    PdfStructure structure;
    if (!structure.read(pdf)) {
        *error = structure.error();
        return QByteArray();
    }
    if (!PdfSyntax::value(structure.trailer(), "Encrypt").isEmpty()) {
        *error = QStringLiteral("the PDF is encrypted");
        return QByteArray();
    }
    if (structure.pages().size() != pages.size()) {
        *error = QStringLiteral("the PDF has %1 pages, not %2")
                     .arg(structure.pages().size())
                     .arg(pages.size());
        return QByteArray();
    }

    RevisionWriter writer(pdf);
    int nextObject = structure.size();
    const OutlineTree tree(document.outline, pages.size(), nextObject);
    const bool hasOutline = !tree.nodes.isEmpty();
    if (hasOutline) {
        const int root = nextObject;
        nextObject += 1 + tree.nodes.size();
        writer.object(
            root, PdfSyntax::write({{"Type", "/Outlines"},
                                    {"First", reference(tree.nodes.at(tree.top.first()).object)},
                                    {"Last", reference(tree.nodes.at(tree.top.last()).object)},
                                    {"Count", QByteArray::number(tree.top.size())}}));
        for (const OutlineTree::Node& node : tree.nodes) {
            const QVector<int>& siblings =
                node.parent < 0 ? tree.top : tree.nodes.at(node.parent).children;
            const int at = siblings.indexOf(int(&node - tree.nodes.constData()));
            PdfSyntax::Dictionary item{
                {"Title", PdfSyntax::textString(node.entry->title)},
                {"Parent", reference(node.parent < 0 ? root : tree.nodes.at(node.parent).object)}};
            if (at > 0)
                item.append(
                    PdfSyntax::Entry("Prev", reference(tree.nodes.at(siblings.at(at - 1)).object)));
            if (at + 1 < siblings.size())
                item.append(
                    PdfSyntax::Entry("Next", reference(tree.nodes.at(siblings.at(at + 1)).object)));
            if (!node.children.isEmpty()) {
                // Closed: a section of hundreds of facilities is opened when wanted.
                item.append(PdfSyntax::Entry(
                    "First", reference(tree.nodes.at(node.children.first()).object)));
                item.append(PdfSyntax::Entry(
                    "Last", reference(tree.nodes.at(node.children.last()).object)));
                item.append(PdfSyntax::Entry("Count", QByteArray::number(-node.children.size())));
            }
            item.append(
                PdfSyntax::Entry("Dest", destination(structure.pages().at(node.entry->page),
                                                     structure.pageTops().at(node.entry->page),
                                                     pages.at(node.entry->page), node.entry->y)));
            writer.object(node.object, PdfSyntax::write(item));
        }
        PdfSyntax::Dictionary catalog = without(structure.catalog(), {"Outlines", "PageMode"});
        catalog.append(PdfSyntax::Entry("Outlines", reference(root)));
        catalog.append(PdfSyntax::Entry("PageMode", "/UseOutlines"));
        writer.object(structure.rootObject(), PdfSyntax::write(catalog));
    }

    const PdfMetadata& metadata = document.metadata;
    PdfSyntax::Dictionary info = structure.info();
    const QList<QPair<QByteArray, QString>> fields{
        {"Title", metadata.title}, {"Creator", metadata.creator}, {"Producer", metadata.producer}};
    for (const auto& field : fields) {
        if (field.second.isEmpty())
            continue;
        info = without(info, {field.first});
        info.append(PdfSyntax::Entry(field.first, PdfSyntax::textString(field.second)));
    }
    const int infoObject = structure.infoObject() >= 0 ? structure.infoObject() : nextObject++;
    writer.object(infoObject, PdfSyntax::write(info));

    PdfSyntax::Dictionary trailer{{"Size", QByteArray::number(nextObject)},
                                  {"Root", reference(structure.rootObject())},
                                  {"Info", reference(infoObject)},
                                  {"Prev", QByteArray::number(structure.xrefOffset())}};
    const QByteArray id = PdfSyntax::value(structure.trailer(), "ID");
    if (!id.isEmpty())
        trailer.append(PdfSyntax::Entry("ID", id));
    return writer.finish(trailer);
}

} // namespace LimeReport
