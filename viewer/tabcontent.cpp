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
    delete reportWidget;
    qDebug() << "TabContent::~TabContent 3";
}
