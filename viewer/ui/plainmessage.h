#ifndef PLAINMESSAGE_H
#define PLAINMESSAGE_H

#include <QMessageBox>

// A modal message box whose text is shown exactly as written. Its texts carry what
// documents, file names and servers say, and a message box would otherwise lay out
// anything that looks like markup: headings and links inside a trusted dialog.
class PlainMessage
{
public:
    static QMessageBox::StandardButton
    show(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text,
         QMessageBox::StandardButtons buttons = QMessageBox::Ok,
         QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
    // Tool tips read markup whenever a text looks like markup; an escaped paragraph is
    // shown as written, whatever a file's name holds.
    static QString toolTip(const QString& text);
    // A document's own names in lists: control and direction characters become '_', so
    // that a name reads in the order it is stored ("DEWI\u202Efdp.exe" is not "DEWIexe.pdf").
    static QString visibleText(const QString& text);
};

#endif // PLAINMESSAGE_H
