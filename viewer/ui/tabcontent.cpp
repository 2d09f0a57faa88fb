#include "tabcontent.h"

#include <QDebug>

#include "reportwidget.h"
#include "tabbutton.h"

namespace {

// The style sheet style caches rules for every widget it is asked about, but it watches
// for the destruction only of the widgets it styles itself. The parts of compound
// widgets (scroll area viewports, the editors of spin and combo boxes, the combo popup)
// it styles through their owner, so their entries would outlive them, one set for each
// closed tab. A style sheet of their own, even an empty one, makes the style watch them
// too; set just before they go, it changes nothing anyone sees.
void letStyleForget(QWidget* widget)
{
    const QList<QWidget*> children = widget->findChildren<QWidget*>();
    for (QWidget* child : children) {
        if (!child->testAttribute(Qt::WA_StyleSheet) && child->styleSheet().isEmpty())
            child->setStyleSheet(QStringLiteral("/* */"));
    }
}

} // namespace

TabContent::TabContent(TabButton* tabButton, ReportWidget* reportWidget,
                       const QString& documentPath)
    : tabButton(tabButton), reportWidget(reportWidget), documentPath(documentPath)
{
}

TabContent::~TabContent()
{
    qDebug() << "TabContent::~TabContent 1 " << static_cast<void*>(this);
    // Deferred: either button may be the sender of the signal that closes its tab.
    // The strip's layout made the close button a sibling of the tab button, so it
    // has to go separately.
    if (tabButton) {
        if (TabButton* closeButton = tabButton->getCloseButton())
            closeButton->deleteLater();
        tabButton->deleteLater();
    }
    qDebug() << "TabContent::~TabContent 2";
    if (reportWidget)
        letStyleForget(reportWidget);
    delete reportWidget;
    qDebug() << "TabContent::~TabContent 3";
}
