#include "itemline.h"

namespace LimeReport {

qreal ItemLine::lineHeight(const RenderedItem& item)
{
    const int lines = item.text.count(QLatin1Char('\n')) + 1;
    return item.lineHeight > 0 ? item.lineHeight : item.rect.height() / lines;
}

QPointF ItemLine::origin(const RenderedItem& item, int line, qreal advance)
{
    qreal left = item.rect.left();
    if (item.flags & Qt::AlignRight)
        left += item.rect.width() - advance;
    else if (item.flags & Qt::AlignHCenter)
        left += (item.rect.width() - advance) / 2;
    return QPointF(left, item.rect.top() + line * lineHeight(item));
}

ItemLine::ItemLine(const QFont& font, const QString& text) : m_layout(text, font)
{
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setFlags(QTextOption::IncludeTrailingSpaces);
    m_layout.setTextOption(option);
    m_layout.beginLayout();
    m_line = m_layout.createLine();
    m_line.setLineWidth(0x01000000);
    m_layout.endLayout();
}

ItemLine::ItemLine(const RenderedItem& item, int line)
    : ItemLine(item.font, item.text.section(QLatin1Char('\n'), line, line))
{
    m_origin = origin(item, line, width());
}

} // namespace LimeReport
