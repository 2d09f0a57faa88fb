#include "plainmessage.h"

QMessageBox::StandardButton PlainMessage::show(QWidget* parent, QMessageBox::Icon icon,
                                               const QString& title, const QString& text,
                                               QMessageBox::StandardButtons buttons,
                                               QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, title, text, buttons, parent);
    box.setTextFormat(Qt::PlainText);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

QString PlainMessage::toolTip(const QString& text)
{
    return QStringLiteral("<p style='white-space:pre'>%1</p>").arg(text.toHtmlEscaped());
}

QString PlainMessage::visibleText(const QString& text)
{
    QString shown = text;
    for (QChar& c : shown) {
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
            c = QLatin1Char('_');
    }
    return shown;
}
