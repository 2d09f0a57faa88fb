#ifndef REPORTVIEWFIXTURE_H
#define REPORTVIEWFIXTURE_H

#include <QByteArray>
#include <QMap>
#include <QString>

#include <memory>

class OpenResult;
class ReportWidget;

// A report tab over data sets given in memory, as the viewer shows an opened document.
namespace ReportViewFixture {

// An opened document named debitur.vardo holding these entries.
OpenResult* openedDocument(const QMap<QString, QByteArray>& entries);
// The tab of that document, shown at 1200 x 800 once its first data set is laid out.
std::unique_ptr<ReportWidget> documentView(const QMap<QString, QByteArray>& entries);
// Clicks the toolbar button of that name, as the user would.
void clickButton(const ReportWidget& view, const QString& name);

} // namespace ReportViewFixture

#endif // REPORTVIEWFIXTURE_H
