#ifndef TEXTMARKS_H
#define TEXTMARKS_H

#include <QColor>
#include <QGraphicsItem>
#include <QMap>
#include <QRectF>
#include <QVector>

namespace LimeReport {

// Coloured rectangles over the text of one sheet: found text, the current match, the
// selection. It lives as a child of the sheet, so it goes when the sheet goes. Each
// owner paints its own layer; a higher layer is painted over a lower one.
class TextMarks : public QGraphicsItem
{
public:
    enum Layer
    {
        Found,
        Current,
        Selected
    };
    enum
    {
        Type = UserType + 0x7e1
    };

    // The marks on that sheet, made the first time they are asked for.
    static TextMarks* of(QGraphicsItem* sheet);
    // The marks on that sheet if it has any, else null.
    static TextMarks* existing(QGraphicsItem* sheet);

    void setLayer(Layer layer, const QVector<QRectF>& rects);
    void clearLayer(Layer layer) { setLayer(layer, {}); }
    QVector<QRectF> layer(Layer layer) const { return m_layers.value(layer); }

    int type() const override { return Type; }
    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

private:
    explicit TextMarks(QGraphicsItem* sheet);

    QMap<Layer, QVector<QRectF>> m_layers;
};

} // namespace LimeReport

#endif // TEXTMARKS_H
