#ifndef TABCYCLE_H
#define TABCYCLE_H

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

class MainWindow;
class ReportWidget;

// Opens one document in a tab of the real main window and closes it again, the way a
// user does, for the checks and the measurements that repeat it. While it lives it
// types the password into every password prompt and confirms every message box, so
// that a document that fails to open ends the cycle instead of waiting for a user.
class TabCycle : public QObject
{
public:
    TabCycle(MainWindow* window, const QString& documentPath, const QString& password);
    ~TabCycle() override;

    // A document of every data set in `samplesDir`, sealed with `password`.
    static QByteArray sampleDocument(const QString& samplesDir, const QString& password);
    // Points the window's update check at a server on this machine, so that opening the
    // window never reaches out and no message about a missing server gets in the way.
    static bool useLocalUpdateServer(quint16 port);

    // Opens the document in a tab; the report shown, once it has its pages, else null.
    ReportWidget* open();
    // Closes the document's tab as Ctrl+W does, then runs the deletions that the close
    // deferred, so that whatever the tab still holds afterwards is really held.
    void close();

    QString tabName() const { return name; }
    // The message boxes shown so far, which a clean cycle never shows.
    QStringList messages() const { return shown; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    MainWindow* window;
    QString documentPath;
    QString password;
    QString name;
    QStringList shown;
};

#endif // TABCYCLE_H
