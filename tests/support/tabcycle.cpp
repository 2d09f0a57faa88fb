#include "tabcycle.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QStackedWidget>
#include <QTimer>

#include "documentencoder.h"
#include "filecontent.h"
#include "mainwindow.h"
#include "reportwidget.h"

TabCycle::TabCycle(MainWindow* window, const QString& documentPath, const QString& password)
    : window(window), documentPath(documentPath), password(password),
      name(QFileInfo(documentPath).fileName())
{
    qApp->installEventFilter(this);
}

TabCycle::~TabCycle()
{
    qApp->removeEventFilter(this);
}

QByteArray TabCycle::sampleDocument(const QString& samplesDir, const QString& password)
{
    QList<DocumentEncoder::Entry> entries;
    const QDir dir(samplesDir);
    for (const QString& file : dir.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name))
        entries.append({file, FileContent::read(dir.filePath(file))});
    return DocumentEncoder::encode(DocumentEncoder::zipArchive(entries), password, true,
                                   QStringLiteral("minVer=1.0.0"));
}

bool TabCycle::useLocalUpdateServer(quint16 port)
{
    const QString config = QCoreApplication::applicationDirPath() + QStringLiteral("/config");
    QDir(config).removeRecursively();
    return FileContent::write(
        config + QStringLiteral("/config.ini"),
        QStringLiteral("[update-online]\nserver.address=127.0.0.1\nport=%1\n").arg(port).toUtf8());
}

ReportWidget* TabCycle::open()
{
    window->openTab(name, QString(), documentPath);
    if (window->currentTabName() != name)
        return nullptr;
    auto* pages = window->findChild<QStackedWidget*>(QStringLiteral("tabContents"));
    auto* report = pages ? qobject_cast<ReportWidget*>(pages->currentWidget()) : nullptr;
    // The view lays its report out once it is on screen; a report without pages has failed.
    if (!report)
        return nullptr;
    QElapsedTimer waited;
    waited.start();
    while (report->isLayingOut() && waited.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    if (report->getPageCount() == 0)
        return nullptr;
    // What a shown tab posts to itself (layout, first paint) runs as it would for a user.
    QCoreApplication::processEvents();
    return report;
}

void TabCycle::close()
{
    window->tabClosed(name);
    emit window->closeTab(name);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

bool TabCycle::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Show)
        return false;
    // Answered from the dialog's own event loop, once it runs.
    if (auto* prompt = qobject_cast<QInputDialog*>(watched)) {
        QTimer::singleShot(0, prompt, [this, prompt] {
            prompt->setTextValue(password);
            prompt->accept();
        });
    } else if (auto* box = qobject_cast<QMessageBox*>(watched)) {
        shown << box->text();
        QTimer::singleShot(0, box, [box] {
            if (QAbstractButton* ok = box->button(QMessageBox::Ok))
                ok->click();
            else
                box->reject();
        });
    }
    return false;
}
