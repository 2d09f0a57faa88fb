#ifndef PASSWORDDIALOG_H
#define PASSWORDDIALOG_H

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;

// Asks for the password of one document. It names the document, so that a user
// opening several knows which one it asks about, and after a wrong try it says so
// and how many tries are left.
class PasswordDialog : public QDialog
{
    Q_OBJECT
public:
    explicit PasswordDialog(const QString& documentPath, QWidget* parent = nullptr);

    QString password() const;
    // Shown above the field: the last try failed (or was empty) and `triesLeft` remain.
    void setLastTryFailed(bool wasEmpty, int triesLeft);

    QString fileText() const;
    QString failureText() const;
    QString promptText() const;
    QLineEdit* passwordField() const { return field; }
    QCheckBox* showPasswordBox() const { return showBox; }

private:
    QLabel* fileLabel;
    QLabel* failureLabel;
    QLabel* promptLabel;
    QLineEdit* field;
    QCheckBox* showBox;
};

#endif // PASSWORDDIALOG_H
