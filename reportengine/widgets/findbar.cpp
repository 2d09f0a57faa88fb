#include "findbar.h"

#include "lrpreviewreportwidget.h"
#include "reportfinder.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QStyle>
#include <QToolButton>

namespace LimeReport {

namespace {

QToolButton* barButton(QWidget* parent, QStyle::StandardPixmap icon, const QString& tip)
{
    auto* button = new QToolButton(parent);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setToolTip(tip);
    button->setAccessibleName(tip);
    button->setAutoRaise(true);
    return button;
}

} // namespace

FindBar::FindBar(QWidget* parent)
    : QWidget(parent), m_finder(new ReportFinder(this)), m_field(new QLineEdit(this)),
      m_status(new QLabel(this)),
      m_previous(barButton(this, QStyle::SP_ArrowUp, tr("Sebelumnya (Shift+F3)"))),
      m_next(barButton(this, QStyle::SP_ArrowDown, tr("Berikutnya (F3)"))),
      m_close(barButton(this, QStyle::SP_DialogCloseButton, tr("Tutup (Esc)")))
{
    setObjectName(QStringLiteral("findBar"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 4);
    m_field->setPlaceholderText(tr("Cari dalam laporan"));
    m_field->setAccessibleName(tr("Cari dalam laporan"));
    m_field->setClearButtonEnabled(true);
    m_field->setFixedWidth(300);
    m_field->installEventFilter(this);
    m_status->setMinimumWidth(120);
    layout->addWidget(m_field);
    layout->addWidget(m_previous);
    layout->addWidget(m_next);
    layout->addWidget(m_status);
    layout->addStretch();
    layout->addWidget(m_close);

    connect(m_field, &QLineEdit::textChanged, m_finder, &ReportFinder::setQuery);
    connect(m_finder, &ReportFinder::changed, this, &FindBar::showStatus);
    connect(m_previous, &QToolButton::clicked, this, &FindBar::findPrevious);
    connect(m_next, &QToolButton::clicked, this, &FindBar::findNext);
    connect(m_close, &QToolButton::clicked, this, &FindBar::dismiss);
    // F3 and Escape work wherever the focus is in the window, while the bar is open:
    // a bar that is hidden, or in a tab that is not shown, does not answer.
    const auto shortcut = [this](const QKeySequence& keys, void (FindBar::*slot)()) {
        auto* key = new QShortcut(keys, this);
        key->setContext(Qt::WindowShortcut);
        connect(key, &QShortcut::activated, this, slot);
    };
    shortcut(QKeySequence(Qt::Key_F3), &FindBar::findNext);
    shortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3), &FindBar::findPrevious);
    shortcut(QKeySequence(Qt::Key_Escape), &FindBar::dismiss);
    hide();
    showStatus();
}

void FindBar::setPreview(PreviewReportWidget* preview)
{
    m_finder->setPreview(preview);
}

void FindBar::open()
{
    show();
    m_field->setFocus(Qt::ShortcutFocusReason);
    m_field->selectAll();
    // Closing took the marks away; opening again finds the text that is still there.
    m_finder->setQuery(m_field->text());
}

void FindBar::dismiss()
{
    m_finder->clear();
    hide();
}

void FindBar::findNext()
{
    m_finder->next();
}

void FindBar::findPrevious()
{
    m_finder->previous();
}

QString FindBar::status() const
{
    if (m_finder->query().trimmed().isEmpty())
        return QString();
    if (m_finder->matches().isEmpty())
        return m_finder->isComplete() ? tr("Tidak ditemukan") : tr("Mencari...");
    if (m_finder->current() < 0)
        return tr("%1 ditemukan").arg(m_finder->matches().size());
    return tr("%1 dari %2").arg(m_finder->current() + 1).arg(m_finder->matches().size());
}

void FindBar::showStatus()
{
    m_status->setText(status());
    const bool any = !m_finder->matches().isEmpty();
    m_previous->setEnabled(any);
    m_next->setEnabled(any);
}

bool FindBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_field && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (key->modifiers() & Qt::ShiftModifier)
                findPrevious();
            else
                findNext();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace LimeReport
