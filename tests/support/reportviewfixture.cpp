#include "reportviewfixture.h"

#include "openresult.h"
#include "reportwidget.h"
#include "tabbutton.h"

#include <QtTest>

namespace ReportViewFixture {

OpenResult* openedDocument(const QMap<QString, QByteArray>& entries)
{
    return new OpenResult(OpenResult::Success, QString(), QStringLiteral("debitur.vardo"),
                          new QMap<QString, QByteArray>(entries), new QMap<QString, QString>());
}

std::unique_ptr<ReportWidget> documentView(const QMap<QString, QByteArray>& entries)
{
    auto view = std::make_unique<ReportWidget>(QStringLiteral("debitur.vardo"), QString(),
                                               QStringLiteral("/data/debitur.vardo"),
                                               openedDocument(entries));
    view->resize(1200, 800);
    view->show();
    if (!QTest::qWaitFor([&] { return !view->isLayingOut(); }, 10000))
        qWarning("the report was not laid out in time");
    // Lets the fit-to-width that follows a new set of pages happen before the test looks.
    QTest::qWait(20);
    return view;
}

void clickButton(const ReportWidget& view, const QString& name)
{
    auto* button = view.findChild<TabButton*>(name);
    QVERIFY2(button, qPrintable(name));
    QTest::mouseClick(button, Qt::LeftButton);
}

} // namespace ReportViewFixture
