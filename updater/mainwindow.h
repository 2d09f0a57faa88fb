#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include "applicationversion.h"

#include <QMainWindow>
#include <QStringList>

namespace Ui {
class MainWindow;
}

// The updater's one window: applies a waiting update package component by
// component, lists what was done, and then either starts the viewer again or
// rolls the update back. Without a package it only hands over to the viewer.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

public slots:
    void applyUpdate();
    void exitApplication();
    void singleFileUpdateFinished(int filePos, QString category);
    void rollbackFileUpdateFinished(int filePos, QString category);
    void testButtonClicked();
    void rollbackButtonClicked();

private slots:
    void singleFileUpdateFailed(int filePos, QString category, QString reason);
    void packageRefused(QString message);
    void applyEnded();

private:
    int showApplyProgress(int filePos);
    void showUpdateLog();
    void startViewer();

    Ui::MainWindow* ui;
    ApplicationVersion appVersion;
    QStringList fileList;
    QString updateLog;
    // The document the updater was started with; the viewer gets it however the
    // update ends.
    QString document;
    bool updateFailed = false;
    bool refused = false;
    bool replacedAny = false;
};

#endif // MAINWINDOW_H
