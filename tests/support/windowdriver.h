#ifndef WINDOWDRIVER_H
#define WINDOWDRIVER_H

#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>

// Plays the user inside a program under test: it answers message boxes and
// presses a named button once it is enabled, and writes what it saw and did to
// a log that the test reads. It is injected into an unchanged program as a Qt
// generic plugin and configured by the environment:
//   VARDO_DRIVER_LOG    the log file (one line per event; required)
//   VARDO_DRIVER_CLICK  object name of a push button to press once it is enabled
//   VARDO_DRIVER_GATE   the button is pressed only while this file exists
//   VARDO_DRIVER_QUIT   the program ends as soon as this file exists (or the
//                       log's directory no longer does)
//   VARDO_DRIVER_DECLINE questions whose text contains this are answered No
// Each message box text is answered once per program name (with Yes, else OK),
// so that a program started again does not repeat the same path for ever.
class WindowDriver : public QObject
{
    Q_OBJECT
public:
    explicit WindowDriver(QObject* parent = nullptr);

private:
    void poll();
    void answerMessageBoxes();
    void pressButton();
    void log(const QString& event, const QString& detail) const;
    bool alreadyLogged(const QString& event, const QString& detail) const;

    QTimer m_timer;
    QString m_program;
    QString m_logPath;
    QString m_clickName;
    QString m_gatePath;
    QString m_quitPath;
    QString m_decline;
    bool m_buttonReady = false;
    bool m_buttonPressed = false;
};

#endif // WINDOWDRIVER_H
