#include "itemline.h"

namespace LimeReport {

qreal ItemLine::lineHeight(const RenderedItem& item)
{
    const int lines = item.text.count(QLatin1Char('\n')) + 1;
    return item.lineHeight > 0 ? item.lineHeight : item.rect.height() / lines;
}

ItemLine::ItemLine(const RenderedItem& item, int line)
    : m_layout(item.text.section(QLatin1Char('\n'), line, line), item.font)
{
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setFlags(QTextOption::IncludeTrailingSpaces);
    m_layout.setTextOption(option);
    m_layout.beginLayout();
    m_line = m_layout.createLine();
    m_line.setLineWidth(0x01000000);
    m_layout.endLayout();
    qreal left = item.rect.left();
    if (item.flags & Qt::AlignRight)
        left += item.rect.width() - width();
    else if (item.flags & Qt::AlignHCenter)
        left += (item.rect.width() - width()) / 2;
    m_origin = QPointF(left, item.rect.top() + line * lineHeight(item));
}

} // namespace LimeReport
