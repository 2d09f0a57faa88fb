#include "lrtextsearch.h"

namespace LimeReport {

namespace {

const QChar space(QLatin1Char(' '));
const QChar lineBreak(QLatin1Char('\n'));

QString withoutMarks(const QString& text)
{
    QString kept;
    for (const QChar c : text) {
        const QChar::Category category = c.category();
        if (category != QChar::Mark_NonSpacing && category != QChar::Mark_SpacingCombining &&
            category != QChar::Mark_Enclosing && !c.isSpace())
            kept += c;
    }
    return kept;
}

} // namespace

TextSearch::TextSearch(const QString& query)
{
    m_query = foldText(query).text.replace(lineBreak, space).trimmed();
}

const QString& TextSearch::foldCharacter(uint code) const
{
    const auto known = m_folds.constFind(code);
    if (known != m_folds.constEnd())
        return known.value();
    // Compatibility decomposition also makes ligatures, wide and styled forms plain;
    // folding the case may leave a mark to drop again (a dotted capital I).
    QString folded =
        withoutMarks(QString::fromUcs4(&code, 1).normalized(QString::NormalizationForm_KD));
    folded = withoutMarks(folded.toCaseFolded().normalized(QString::NormalizationForm_KD));
    return m_folds.insert(code, folded).value();
}

TextSearch::Folded TextSearch::foldText(const QString& text) const
{
    Folded folded;
    folded.text.reserve(text.size());
    folded.from.reserve(text.size());
    folded.to.reserve(text.size());
    const auto append = [&](QChar c, int from, int to) {
        folded.text += c;
        folded.from << from;
        folded.to << to;
    };
    for (int i = 0; i < text.size();) {
        const QChar c = text.at(i);
        uint code = c.unicode();
        int length = 1;
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            code = QChar::surrogateToUcs4(c, text.at(i + 1));
            length = 2;
        }
        const QChar last = folded.text.isEmpty() ? QChar() : folded.text.back();
        if (code == '\n') {
            // A break swallows the spaces around it.
            if (last == space) {
                folded.text.back() = lineBreak;
                folded.to.back() = i + 1;
            } else if (last == lineBreak) {
                folded.to.back() = i + 1;
            } else {
                append(lineBreak, i, i + 1);
            }
        } else if (code < 0x80 ? (code == ' ' || code == '\t' || code == '\r')
                               : QChar::isSpace(code)) {
            if (last == space || last == lineBreak)
                folded.to.back() = i + length;
            else
                append(space, i, i + length);
        } else if (code < 0x80) {
            append(QChar(code >= 'A' && code <= 'Z' ? code + ('a' - 'A') : code), i, i + length);
        } else {
            const QString& plain = foldCharacter(code);
            // A combining mark on its own belongs to the character before it.
            if (plain.isEmpty() && !folded.text.isEmpty() && last != space && last != lineBreak)
                folded.to.back() = i + length;
            for (const QChar p : plain)
                append(p, i, i + length);
        }
        i += length;
    }
    return folded;
}

QVector<TextRange> TextSearch::find(const QString& text, int item) const
{
    QVector<TextRange> ranges;
    if (m_query.isEmpty())
        return ranges;
    const Folded folded = foldText(text);
    const QString& t = folded.text;
    const QChar first = m_query.at(0);
    for (int start = t.indexOf(first); start >= 0;) {
        int i = start;
        int j = 0;
        while (j < m_query.size() && i < t.size()) {
            const QChar c = t.at(i);
            if (c == lineBreak) {
                // Where the text broke a line, the query may go on after a space or not.
                if (m_query.at(j) == space)
                    ++j;
                ++i;
            } else if (c == m_query.at(j)) {
                ++i;
                ++j;
            } else {
                break;
            }
        }
        if (j == m_query.size()) {
            ranges << TextRange{item, folded.from.at(start), folded.to.at(i - 1)};
            start = t.indexOf(first, i);
        } else {
            start = t.indexOf(first, start + 1);
        }
    }
    return ranges;
}

QVector<TextMatch> TextSearch::find(const RenderedPage& page, int pageIndex) const
{
    QVector<TextMatch> matches;
    if (m_query.isEmpty())
        return matches;
    // Most pages hold no match: their reading order is worked out only when one does.
    const QVector<RenderedItem>& items = page.items();
    QVector<QVector<TextRange>> found(items.size());
    bool any = false;
    for (int item = 0; item < items.size(); ++item) {
        if (items.at(item).kind == RenderedItem::Text) {
            found[item] = find(items.at(item).text, item);
            any = any || !found.at(item).isEmpty();
        }
    }
    if (!any)
        return matches;
    for (int item : PageText::readingOrder(page)) {
        for (const TextRange& range : found.at(item))
            matches << TextMatch{pageIndex, range};
    }
    return matches;
}

QVector<TextMatch> TextSearch::find(const ReportPages& pages) const
{
    QVector<TextMatch> matches;
    for (int i = 0; i < pages.size(); ++i)
        matches << find(pages.at(i), i);
    return matches;
}

} // namespace LimeReport
