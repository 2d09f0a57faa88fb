#include "tabbutton.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QHash>

#include <functional>

#include "uiutils.h"

namespace {

// Every tab shows the same few icons. Each is loaded and faded once for the whole
// program and drawn from the same pixmap everywhere, rather than anew for every tab;
// the set is small and fixed, so it is kept for good, out of Qt's pixmap cache, which
// a closed tab empties (see TabContent).
QHash<QString, QPixmap>& sharedPixmaps()
{
    static QHash<QString, QPixmap> pixmaps;
    // Emptied while the application object still exists: a pixmap is not to be freed
    // after it, as statics are at exit.
    static const bool emptiedOnExit = (qAddPostRoutine([] { sharedPixmaps().clear(); }), true);
    Q_UNUSED(emptiedOnExit)
    return pixmaps;
}

QPixmap sharedPixmap(const QString& key, const std::function<QPixmap()>& make)
{
    QHash<QString, QPixmap>& pixmaps = sharedPixmaps();
    auto found = pixmaps.find(key);
    if (found == pixmaps.end())
        found = pixmaps.insert(key, make());
    return found.value();
}

} // namespace

const QString TabButton::normalStyleSheet =
    QStringLiteral("QPushButton { background-color: \"#cfcfcf\"; padding: 0; border-bottom: 2px "
                   "solid \"#cfcfcf\"; "
                   "font-size:14px;font-family:\"Arial\"; }");
const QString TabButton::highlightStyleSheet =
    QStringLiteral("QPushButton { background-color: \"#f0f0f0\"; padding: 0; border-bottom: 2px "
                   "solid \"#f0f0f0\"; "
                   "font-size:14px;font-family:\"Arial\"; }");

TabButton::TabButton(QWidget* parent)
    : QPushButton(parent), normalStyle(normalStyleSheet), highlightStyle(highlightStyleSheet)
{
    setStyleSheet(normalStyle);
    connect(this, &QPushButton::clicked, this, &TabButton::clicked);
    // A button inside a tab button is that tab's close button.
    if (TabButton* tab = qobject_cast<TabButton*>(parent))
        connect(this, &QPushButton::clicked, tab, &TabButton::childClicked);
}

TabButton::TabButton(QWidget* parent, QString name) : TabButton(parent)
{
    tabName = name;
    label = QStringLiteral("  ") + name;
    setText(label);
}

QString TabButton::getTabName() const
{
    return tabName;
}

void TabButton::setTabName(const QString& name)
{
    tabName = name;
    if (closeButton)
        closeButton->setTabName(name);
}

QString TabButton::getLabel() const
{
    return label;
}

TabButton* TabButton::getCloseButton() const
{
    return closeButton;
}

void TabButton::setCloseButton(TabButton* button)
{
    closeButton = button;
    if (!closeButton)
        return;
    closeButton->setTabName(tabName);
    connect(this, &QAbstractButton::toggled, closeButton, &QAbstractButton::toggle);
}

float TabButton::getIconOpacity() const
{
    return iconOpacity;
}

void TabButton::setIconOpacity(float opacity)
{
    iconOpacity = opacity;
    iconDirty = true;
    update();
}

void TabButton::setIconPixmap(const QIcon& icon, const QPixmap& pixmap)
{
    setIcon(icon);
    iconPixmap = pixmap;
    iconDirty = true;
    update();
}

void TabButton::setIconFile(const QString& path, const QSize& size)
{
    const QPixmap pixmap = sharedPixmap(
        QStringLiteral("tabbutton:%1@%2x%3").arg(path).arg(size.width()).arg(size.height()),
        [&] { return QIcon(path).pixmap(size); });
    setIconPixmap(QIcon(pixmap), pixmap);
}

QPixmap TabButton::getIconPixmap() const
{
    return iconPixmap;
}

void TabButton::clicked(bool)
{
    emit tabClicked(tabName);
}

void TabButton::childClicked(bool)
{
    emit tabClosed(tabName);
    hide();
    if (closeButton)
        closeButton->hide();
}

void TabButton::toogleHighlight(QString name)
{
    setStyleSheet(name == tabName ? highlightStyle : normalStyle);
}

void TabButton::close(QString name)
{
    if (name != tabName)
        return;
    hide();
    destroy(true, true);
}

void TabButton::enterEvent(QEvent* event)
{
    hovered = true;
    QPushButton::enterEvent(event);
    if (isEnabled())
        showIconAt(1.0f);
}

void TabButton::leaveEvent(QEvent* event)
{
    hovered = false;
    QPushButton::leaveEvent(event);
    showIconAt(iconOpacity);
}

void TabButton::paintEvent(QPaintEvent* event)
{
    const QString current = text();
    if (!current.isEmpty()) {
        const QFontMetrics metrics(font());
        // The font's own ellipsis, whatever character it uses for one.
        const QChar ellipsis =
            metrics.elidedText(QStringLiteral("12345678901234567890"), Qt::ElideRight, 30).back();
        if (!current.endsWith(ellipsis) && metrics.horizontalAdvance(current) > width())
            setText(metrics.elidedText(current, Qt::ElideRight, width()));
    }
    QPushButton::paintEvent(event);
    if (iconDirty) {
        iconDirty = false;
        showIconAt(hovered && isEnabled() ? 1.0f : iconOpacity);
    }
}

void TabButton::showIconAt(float opacity)
{
    if (iconPixmap.isNull())
        return;
    const QPixmap faded =
        sharedPixmap(QStringLiteral("tabbutton:%1:%2").arg(iconPixmap.cacheKey()).arg(opacity),
                     [&] { return UIUtils::setAlpha(iconPixmap, opacity); });
    setIcon(QIcon(faded));
    setIconSize(faded.size());
}
