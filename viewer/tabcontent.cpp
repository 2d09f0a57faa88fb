#include "tabcontent.h"

#include <QDebug>
#include <QPixmapCache>

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
    // The style draws scroll bars and boxes into cached pixmaps keyed by the palette of
    // the widget, and the view's style sheet gives each of its widgets a palette no
    // later widget shares: left in the cache, a closed tab's pixmaps would stay until
    // the cache's 10 MB were full. The widgets still shown draw theirs again once.
    QPixmapCache::clear();
    qDebug() << "TabContent::~TabContent 3";
}
