#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "common.h"
#include "platform.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QTimer>

namespace {

QString progressLine(const QString& action, const QString& category, const QString& image)
{
    return QStringLiteral("<p> %1 %2 <img src=\"%3\"/>").arg(action, category, image);
}

} // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent), ui(new Ui::MainWindow)
{
    // The images live in a static library, whose resource object the linker
    // would otherwise drop.
    Q_INIT_RESOURCE(updater);
    ui->setupUi(this);
    setWindowTitle(QStringLiteral("Vardo Viewer"));
    setWindowIcon(QIcon(QStringLiteral(":/images/app-icon.png")));
    ui->mainToolBar->hide();
    ui->statusBar->hide();
    setFixedSize(756, 410);

    const QStringList arguments = QCoreApplication::arguments();
    document = arguments.value(1);
    // A package the user declined stays until the viewer offers it again; an
    // administrator's package that nobody declined is applied.
    if (QFile::exists(appVersion.updateFilename()) && !appVersion.isUpdateDeclined()) {
        // Rollback and launch are offered only once the apply job has ended
        // (applyEnded): the header entry still follows the last component, and
        // neither may touch the update directory while the job works in it.
        show();
        applyUpdate();
        connect(ui->testButton, &QPushButton::released, this, &MainWindow::testButtonClicked);
        connect(ui->rollbackButton, &QPushButton::released, this,
                &MainWindow::rollbackButtonClicked);
        return;
    }

    for (const QString& argument : arguments)
        qDebug().noquote() << QStringLiteral(" sssssss ") + argument;
    startViewer();
    QTimer::singleShot(10, this, &MainWindow::exitApplication);
}

MainWindow::~MainWindow()
{
    delete ui;
}

void MainWindow::applyUpdate()
{
    fileList = appVersion.getUpdateFilelist();
    connect(&appVersion, &ApplicationVersion::singleFileUpdateFinished, this,
            &MainWindow::singleFileUpdateFinished);
    connect(&appVersion, &ApplicationVersion::singleFileUpdateFailed, this,
            &MainWindow::singleFileUpdateFailed);
    connect(&appVersion, &ApplicationVersion::updatePackageRefused, this,
            &MainWindow::packageRefused);
    ui->currentItem->setText(fileList.value(0));
    appVersion.applyUpdateInBackground();
    // The manager now lives on its worker thread, where the apply job runs first;
    // an event posted to it after that is delivered once the job has returned,
    // on whichever thread the manager has gone back to by then.
    QMetaObject::invokeMethod(
        &appVersion,
        [this]() {
            QMetaObject::invokeMethod(this, &MainWindow::applyEnded, Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}

void MainWindow::exitApplication()
{
    QCoreApplication::exit(0);
    close();
}

int MainWindow::showApplyProgress(int filePos)
{
    const int next = filePos + 1;
    const int count = fileList.size();
    if (count == 0)
        return 0;
    const int percent = next * 100 / count;
    ui->progressBar->setValue(percent);
    if (next < count)
        ui->currentItem->setText(fileList.at(next));
    return percent;
}

// The viewer lives beside the updater; the argument list keeps a document path
// with blanks in one piece on every platform.
void MainWindow::startViewer()
{
    const QString program = QDir(QCoreApplication::applicationDirPath())
                                .filePath(QString::fromLatin1(Platform::viewerProgram));
    if (!QProcess::startDetached(program,
                                 document.isEmpty() ? QStringList() : QStringList{document}))
        qWarning() << "MainWindow::startViewer cannot start" << program;
}

void MainWindow::singleFileUpdateFinished(int filePos, QString category)
{
    replacedAny = true;
    if (showApplyProgress(filePos) == 100) {
        ui->currentItem->setText(QStringLiteral("Selesai."));
        if (!updateFailed)
            ui->textBrowser->setPlainText(QStringLiteral("Update Aplikasi Selesai."));
    }
    updateLog +=
        progressLine(QStringLiteral("Update"), category, QStringLiteral(":/images/tick.png"));
    showUpdateLog();
}

void MainWindow::singleFileUpdateFailed(int filePos, QString category, QString reason)
{
    qWarning() << "MainWindow::singleFileUpdateFailed" << category << reason;
    updateFailed = true;
    replacedAny = true;
    if (showApplyProgress(filePos) == 100)
        ui->currentItem->setText(QStringLiteral("Selesai."));
    updateLog +=
        progressLine(QStringLiteral("Update"), category, QStringLiteral(":/images/failure.png"));
    showUpdateLog();
}

void MainWindow::packageRefused(QString message)
{
    refused = true;
    ui->currentItem->clear();
    ui->textBrowser->setPlainText(message);
    QMessageBox box(QMessageBox::Information, QStringLiteral("Informasi"), message, QMessageBox::Ok,
                    this);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

// However the job ended, the user can go on to the viewer; a rollback is offered
// when something may have been replaced.
void MainWindow::applyEnded()
{
    if (updateFailed)
        ui->textBrowser->setPlainText(
            QStringLiteral("Update Aplikasi Gagal, silahkan lakukan Batalkan Update."));
    else if (!refused) {
        ui->currentItem->setText(QStringLiteral("Selesai."));
        ui->textBrowser->setPlainText(QStringLiteral("Update Aplikasi Selesai."));
        ui->progressBar->setValue(100);
    }
    ui->rollbackButton->setEnabled(replacedAny && !refused);
    ui->testButton->setEnabled(true);
}

void MainWindow::rollbackButtonClicked()
{
    ui->rollbackButton->setEnabled(false);
    ui->textBrowser->setPlainText(
        QStringLiteral("Pembatalan Update Aplikasi sedang berlangsung..."));
    disconnect(&appVersion, nullptr, this, nullptr);
    connect(&appVersion, &ApplicationVersion::rollbackFileUpdateFinished, this,
            &MainWindow::rollbackFileUpdateFinished);
    appVersion.rollbackUpdate();
}

void MainWindow::rollbackFileUpdateFinished(int filePos, QString category)
{
    const int next = filePos + 1;
    const int count = fileList.size();
    if (count > 0) {
        const int percent = (count - next) * 100 / count;
        ui->progressBar->setValue(percent);
        if (next < count)
            ui->currentItem->setText(fileList.at(next));
        if (percent == 0) {
            ui->currentItem->setText(QStringLiteral("Selesai."));
            ui->textBrowser->setPlainText(QStringLiteral("Pembatalan Update Aplikasi Selesai."));
            ui->rollbackButton->setEnabled(false);
        }
    }
    updateLog += progressLine(QStringLiteral("Pembatalan Update"), category,
                              QStringLiteral(":/images/undo.png"));
    showUpdateLog();
    ui->itemList->moveCursor(QTextCursor::End);
}

void MainWindow::testButtonClicked()
{
    close();
    appVersion.cleanUpUpdate();
    startViewer();
}

void MainWindow::showUpdateLog()
{
    ui->itemList->setHtml(QStringLiteral("<html><head/><body>") + updateLog +
                          QStringLiteral("</body></html>"));
}
