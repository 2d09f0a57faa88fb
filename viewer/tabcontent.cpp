#include "tabcontent.h"

#include <QDebug>

#include "lrpreviewreportwidget.h"
#include "reportwidget.h"
#include "tabbutton.h"

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
    // The style sheet style caches rules for every widget it is asked about, and forgets
    // those of the widgets it cannot style (scroll area viewports, for one) only when a
    // style sheet above them is set again. Left alone, each closed tab leaves them behind.
    if (reportWidget)
        reportWidget->setStyleSheet(reportWidget->styleSheet());
    delete reportWidget;
    qDebug() << "TabContent::~TabContent 3";
}
