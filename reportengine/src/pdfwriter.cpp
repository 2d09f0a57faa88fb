#include "pdfwriter.h"

#include "pageprinter.h"
#include "pdfpagecontent.h"
#include "pdfsyntax.h"

#include <QDateTime>

namespace LimeReport {

namespace {

QByteArray points(qreal value)
{
    return QByteArray::number(value, 'f', 2);
}

// The outline as a tree: each entry under the closest entry before it of a lower level.
struct OutlineTree
{
    struct Node
    {
        const OutlineEntry* entry = nullptr;
        int object = 0;
        int parent = -1;  // a node, or -1 for the outline's root
        int position = 0; // among the children of its parent
        QVector<int> children;
    };

    OutlineTree(const ReportOutline& outline, int pageCount)
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
            node.parent = open.isEmpty() ? -1 : open.last();
            QVector<int>& siblings = open.isEmpty() ? top : nodes[open.last()].children;
            node.position = siblings.size();
            siblings << nodes.size();
            open << nodes.size();
            nodes << node;
        }
    }

    QVector<Node> nodes;
    QVector<int> top;
};

} // namespace

PdfWriter::PdfWriter(QIODevice* device)
    : m_file(device), m_resources(&m_file), m_pageTree(m_file.reserve())
{
}

void PdfWriter::addPage(const RenderedPage& page)
{
    Page written;
    QVector<QByteArray> formNames;
    for (int i = 0; i < page.pending().size(); ++i) {
        written.forms << m_file.reserve();
        formNames << m_resources.form(written.forms.last());
    }
    const int content = m_file.reserve();
    m_file.stream(content, QByteArray(),
                  PdfPageContent(page, &m_resources, &m_shapes, formNames).operators());
    written.object = m_file.reserve();
    const QSize sheet = PdfPageContent::sheetSize(page);
    written.height = sheet.height();
    m_file.object(written.object, "<< /Type /Page /Parent " + PdfFile::reference(m_pageTree) +
                                      " /MediaBox [0 0 " + QByteArray::number(sheet.width()) + ' ' +
                                      QByteArray::number(sheet.height()) + "] /Resources " +
                                      PdfFile::reference(m_resources.dictionaryObject()) +
                                      " /Contents " + PdfFile::reference(content) + " >>");
    m_pages << written;
}

void PdfWriter::completePage(int index, const RenderedPage& page)
{
    if (index < 0 || index >= m_pages.size())
        return;
    QVector<int>& forms = m_pages[index].forms;
    for (int i = 0; i < forms.size(); ++i) {
        const RenderedPage::Range range =
            i < page.pending().size() ? page.pending().at(i) : RenderedPage::Range();
        writeForm(forms.at(i), page.size(),
                  PdfPageContent::form(page, range, &m_resources, &m_shapes));
    }
    forms.clear();
}

void PdfWriter::writeForm(int object, const QSizeF& size, const QByteArray& operators)
{
    m_file.stream(object,
                  " /Type /XObject /Subtype /Form /BBox [0 0 " + QByteArray::number(size.width()) +
                      ' ' + QByteArray::number(size.height()) + "] /Resources " +
                      PdfFile::reference(m_resources.dictionaryObject()),
                  operators);
}

void PdfWriter::finish(const PdfDocument& document)
{
    // A page that never came again shows nothing in its ranges rather than a broken file.
    for (const Page& page : m_pages) {
        for (int form : page.forms)
            writeForm(form, QSizeF(), QByteArray());
    }
    m_resources.write();
    QByteArray kids;
    for (const Page& page : m_pages)
        kids += PdfFile::reference(page.object) + ' ';
    m_file.object(m_pageTree, "<< /Type /Pages /Kids [" + kids + "] /Count " +
                                  QByteArray::number(m_pages.size()) + " >>");

    const int outline = writeOutline(document.outline);
    const int catalog = m_file.reserve();
    m_file.object(catalog, "<< /Type /Catalog /Pages " + PdfFile::reference(m_pageTree) +
                               (outline > 0 ? " /Outlines " + PdfFile::reference(outline) +
                                                  " /PageMode /UseOutlines"
                                            : QByteArray()) +
                               " >>");

    const PdfMetadata& metadata = document.metadata;
    QByteArray info = "<<";
    const QList<QPair<QByteArray, QString>> fields{
        {"Title", metadata.title}, {"Creator", metadata.creator}, {"Producer", metadata.producer}};
    for (const auto& field : fields) {
        if (!field.second.isEmpty())
            info += " /" + field.first + ' ' + PdfSyntax::textString(field.second);
    }
    const QDateTime now = QDateTime::currentDateTimeUtc();
    info +=
        " /CreationDate (D:" + now.toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1() + "Z) >>";
    const int infoObject = m_file.reserve();
    m_file.object(infoObject, info);
    m_file.finish(catalog, infoObject);
}

// Page units are 0.1 mm from the top; PDF points count from the bottom.
QByteArray PdfWriter::destination(const Page& page, qreal y) const
{
    return '[' + PdfFile::reference(page.object) + " /XYZ 0 " +
           points(page.height - y * PagePrinter::pointsPerUnit) + " null]";
}

int PdfWriter::writeOutline(const ReportOutline& outline)
{
    OutlineTree tree(outline, m_pages.size());
    if (tree.nodes.isEmpty())
        return 0;
    const int root = m_file.reserve();
    for (OutlineTree::Node& node : tree.nodes)
        node.object = m_file.reserve();
    m_file.object(root, PdfSyntax::write(
                            {{"Type", "/Outlines"},
                             {"First", PdfFile::reference(tree.nodes.at(tree.top.first()).object)},
                             {"Last", PdfFile::reference(tree.nodes.at(tree.top.last()).object)},
                             {"Count", QByteArray::number(tree.top.size())}}));
    for (const OutlineTree::Node& node : tree.nodes) {
        const QVector<int>& siblings =
            node.parent < 0 ? tree.top : tree.nodes.at(node.parent).children;
        const int at = node.position;
        PdfSyntax::Dictionary item{
            {"Title", PdfSyntax::textString(node.entry->title)},
            {"Parent",
             PdfFile::reference(node.parent < 0 ? root : tree.nodes.at(node.parent).object)}};
        if (at > 0)
            item << PdfSyntax::Entry("Prev",
                                     PdfFile::reference(tree.nodes.at(siblings.at(at - 1)).object));
        if (at + 1 < siblings.size())
            item << PdfSyntax::Entry("Next",
                                     PdfFile::reference(tree.nodes.at(siblings.at(at + 1)).object));
        if (!node.children.isEmpty()) {
            // Closed: a section of hundreds of entries is opened when wanted.
            item << PdfSyntax::Entry(
                "First", PdfFile::reference(tree.nodes.at(node.children.first()).object));
            item << PdfSyntax::Entry(
                "Last", PdfFile::reference(tree.nodes.at(node.children.last()).object));
            item << PdfSyntax::Entry("Count", QByteArray::number(-node.children.size()));
        }
        item << PdfSyntax::Entry("Dest", destination(m_pages.at(node.entry->page), node.entry->y));
        m_file.object(node.object, PdfSyntax::write(item));
    }
    return root;
}

} // namespace LimeReport
