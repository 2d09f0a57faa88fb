#ifndef TABCONTENT_H
#define TABCONTENT_H

#include <QString>

class ReportWidget;
class TabButton;

// What the main window keeps per open tab. Destroying it takes the tab's button
// (with its close button) and its report view, and with the view the decoded
// document, out of memory.
class TabContent
{
public:
    TabContent(TabButton* tabButton, ReportWidget* reportWidget, const QString& documentPath);
    ~TabContent();

    TabContent(const TabContent&) = delete;
    TabContent& operator=(const TabContent&) = delete;

    TabButton* tabButton;
    ReportWidget* reportWidget;
    // The local path of the document shown, empty for the manual and the FAQ; it
    // tells two documents of the same file name apart.
    QString documentPath;
};

#endif // TABCONTENT_H
