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
};

#endif // PLAINMESSAGE_H
