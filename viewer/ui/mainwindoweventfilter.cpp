#include "mainwindoweventfilter.h"

MainWindowEventFilter::MainWindowEventFilter(QObject* parent) : QObject(parent) {}

bool MainWindowEventFilter::eventFilter(QObject* watched, QEvent* event)
{
    return QObject::eventFilter(watched, event);
}
