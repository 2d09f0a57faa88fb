#ifndef MAINWINDOWEVENTFILTER_H
#define MAINWINDOWEVENTFILTER_H

#include <QObject>

// Installed on the main window at start-up; it passes every event on unchanged and
// is the place to watch the window's events from outside it.
class MainWindowEventFilter : public QObject
{
    Q_OBJECT
public:
    explicit MainWindowEventFilter(QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

#endif // MAINWINDOWEVENTFILTER_H
