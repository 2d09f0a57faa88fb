#include "windowdriver.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMessageBox>
#include <QPushButton>

WindowDriver::WindowDriver(QObject* parent)
    : QObject(parent),
      m_program(QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName()),
      m_logPath(qEnvironmentVariable("VARDO_DRIVER_LOG")),
      m_clickName(qEnvironmentVariable("VARDO_DRIVER_CLICK")),
      m_gatePath(qEnvironmentVariable("VARDO_DRIVER_GATE")),
      m_quitPath(qEnvironmentVariable("VARDO_DRIVER_QUIT")),
      m_decline(qEnvironmentVariable("VARDO_DRIVER_DECLINE"))
{
    const QJsonArray args = QJsonArray::fromStringList(QCoreApplication::arguments().mid(1));
    log(QStringLiteral("start"),
        QString::fromUtf8(QJsonDocument(args).toJson(QJsonDocument::Compact)));
    connect(&m_timer, &QTimer::timeout, this, &WindowDriver::poll);
    m_timer.start(100);
}

void WindowDriver::poll()
{
    // A test that has gone (its directory removed) leaves no program behind.
    if ((!m_quitPath.isEmpty() && QFile::exists(m_quitPath)) ||
        !QFileInfo(m_logPath).absoluteDir().exists()) {
        m_timer.stop();
        log(QStringLiteral("quit"), QString());
        QCoreApplication::exit(0);
        return;
    }
    answerMessageBoxes();
    pressButton();
}

void WindowDriver::answerMessageBoxes()
{
    const QWidgetList widgets = QApplication::topLevelWidgets();
    for (QWidget* widget : widgets) {
        auto* box = qobject_cast<QMessageBox*>(widget);
        if (!box || !box->isVisible())
            continue;
        const QString text = box->text();
        if (alreadyLogged(QStringLiteral("answered"), text) ||
            alreadyLogged(QStringLiteral("declined"), text)) {
            if (!alreadyLogged(QStringLiteral("left"), text))
                log(QStringLiteral("left"), text);
            continue;
        }
        const bool decline = !m_decline.isEmpty() && text.contains(m_decline);
        QAbstractButton* answer = box->button(decline ? QMessageBox::No : QMessageBox::Yes);
        if (!answer)
            answer = box->button(QMessageBox::Ok);
        if (!answer)
            continue;
        log(decline ? QStringLiteral("declined") : QStringLiteral("answered"), text);
        // Clicked from the event loop, not from inside this timer's call.
        QTimer::singleShot(0, answer, &QAbstractButton::click);
    }
}

void WindowDriver::pressButton()
{
    if (m_clickName.isEmpty() || m_buttonPressed)
        return;
    const QWidgetList widgets = QApplication::allWidgets();
    for (QWidget* widget : widgets) {
        auto* button = qobject_cast<QPushButton*>(widget);
        if (!button || button->objectName() != m_clickName || !button->isVisible() ||
            !button->isEnabled())
            continue;
        if (!m_buttonReady) {
            m_buttonReady = true;
            log(QStringLiteral("ready"), m_clickName);
        }
        if (!m_gatePath.isEmpty() && !QFile::exists(m_gatePath))
            return;
        m_buttonPressed = true;
        log(QStringLiteral("pressed"), m_clickName);
        QTimer::singleShot(0, button, &QAbstractButton::click);
        return;
    }
}

// One line per event: program, event and detail separated by tabs.
void WindowDriver::log(const QString& event, const QString& detail) const
{
    QFile file(m_logPath);
    if (!file.open(QIODevice::Append))
        return;
    QString line = m_program + QLatin1Char('\t') + event + QLatin1Char('\t') + detail;
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    file.write(line.toUtf8() + '\n');
}

bool WindowDriver::alreadyLogged(const QString& event, const QString& detail) const
{
    QFile file(m_logPath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QString wanted = m_program + QLatin1Char('\t') + event + QLatin1Char('\t') + detail;
    wanted.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n')).contains(wanted);
}
