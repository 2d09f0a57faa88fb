#include <QApplication>
#include <QSignalSpy>
#include <QtTest>

#include "tabbutton.h"

namespace {

// Alpha of the button's current icon at its centre, where the test pixmap is opaque.
int iconAlpha(const TabButton& button)
{
    const QImage image = button.icon().pixmap(button.iconSize()).toImage();
    return qAlpha(image.pixel(image.width() / 2, image.height() / 2));
}

QPixmap opaquePixmap()
{
    QPixmap pixmap(10, 10);
    pixmap.fill(Qt::black);
    return pixmap;
}

} // namespace

class TestTabButton : public QObject
{
    Q_OBJECT

private slots:
    void hoverRaisesIconOpacity_data();
    void hoverRaisesIconOpacity();
    void paintElidesLongLabel_data();
    void paintElidesLongLabel();
    void closeButtonClosesItsTab();
    void highlightFollowsTabName();
    void closeHidesOnlyNamedTab();
    void tabNameReachesCloseButton();
};

void TestTabButton::hoverRaisesIconOpacity_data()
{
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<float>("opacity");
    QTest::addColumn<int>("restingAlpha");
    QTest::addColumn<int>("hoveredAlpha");

    // 0.2 of full opacity, within the rounding of premultiplied alpha.
    QTest::newRow("enabled") << true << 0.2f << 51 << 255;
    QTest::newRow("disabled keeps the dimmed icon") << false << 0.2f << 51 << 51;
    // A toolbar button: at full strength while usable, faded to 0.3 while not.
    QTest::newRow("full strength, enabled") << true << 1.0f << 255 << 255;
    QTest::newRow("full strength, disabled") << false << 1.0f << 76 << 76;
}

void TestTabButton::hoverRaisesIconOpacity()
{
    QFETCH(bool, enabled);
    QFETCH(float, opacity);
    QFETCH(int, restingAlpha);
    QFETCH(int, hoveredAlpha);

    TabButton button(nullptr);
    const QPixmap pixmap = opaquePixmap();
    button.setIconPixmap(QIcon(pixmap), pixmap);
    button.setIconOpacity(opacity);
    button.setEnabled(enabled);
    button.resize(20, 40);
    button.grab();
    QVERIFY(qAbs(iconAlpha(button) - restingAlpha) <= 1);

    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(&button, &enter);
    QVERIFY(qAbs(iconAlpha(button) - hoveredAlpha) <= 1);

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&button, &leave);
    QVERIFY(qAbs(iconAlpha(button) - restingAlpha) <= 1);

    // Enabled again, the icon is at its resting strength at the next paint.
    button.setEnabled(true);
    button.grab();
    QVERIFY(qAbs(iconAlpha(button) - qRound(opacity * 255)) <= 1);
}

void TestTabButton::paintElidesLongLabel_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("elided");

    QTest::newRow("long name, narrow button")
        << "laporan-debitur-perorangan-2024.vardo" << 80 << true;
    QTest::newRow("short name, wide button") << "a.vardo" << 300 << false;
}

void TestTabButton::paintElidesLongLabel()
{
    QFETCH(QString, name);
    QFETCH(int, width);
    QFETCH(bool, elided);

    TabButton button(nullptr, name);
    QCOMPARE(button.text(), QStringLiteral("  ") + name);
    button.resize(width, 40);
    button.grab();

    const QFontMetrics metrics(button.font());
    if (elided) {
        QVERIFY(button.text() != button.getLabel());
        QVERIFY(metrics.horizontalAdvance(button.text()) <= width);
        const QString twice = button.text();
        button.grab();
        QCOMPARE(button.text(), twice);
    } else {
        QCOMPARE(button.text(), button.getLabel());
    }

    // The owner restores the full label after a resize; the next paint elides it anew.
    button.resize(1000, 40);
    button.setText(button.getLabel());
    button.grab();
    QCOMPARE(button.text(), QStringLiteral("  ") + name);
}

void TestTabButton::closeButtonClosesItsTab()
{
    QWidget strip;
    TabButton* tab = new TabButton(&strip, "a.vardo");
    TabButton* close = new TabButton(tab);
    tab->setCloseButton(close);
    strip.show();

    QSignalSpy closed(tab, &TabButton::tabClosed);
    QSignalSpy clicked(tab, &TabButton::tabClicked);
    close->click();

    QCOMPARE(closed.count(), 1);
    QCOMPARE(closed.first().first().toString(), QStringLiteral("a.vardo"));
    QVERIFY(tab->isHidden());
    QVERIFY(close->isHidden());

    tab->click();
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(clicked.first().first().toString(), QStringLiteral("a.vardo"));
}

void TestTabButton::highlightFollowsTabName()
{
    TabButton a(nullptr, "a.vardo");
    TabButton b(nullptr, "b.vardo");
    TabButton bClose(&b);
    b.setCloseButton(&bClose);

    for (TabButton* button : {&a, &b, &bClose})
        button->toogleHighlight("b.vardo");
    QCOMPARE(a.styleSheet(), TabButton::normalStyleSheet);
    QCOMPARE(b.styleSheet(), TabButton::highlightStyleSheet);
    QCOMPARE(bClose.styleSheet(), TabButton::highlightStyleSheet);
    QVERIFY(TabButton::highlightStyleSheet.contains("\"#f0f0f0\""));
    QVERIFY(TabButton::normalStyleSheet.contains("\"#cfcfcf\""));

    for (TabButton* button : {&a, &b, &bClose})
        button->toogleHighlight(QString());
    QCOMPARE(b.styleSheet(), TabButton::normalStyleSheet);
}

void TestTabButton::closeHidesOnlyNamedTab()
{
    TabButton a(nullptr, "a.vardo");
    TabButton b(nullptr, "b.vardo");
    a.show();
    b.show();
    a.close("b.vardo");
    b.close("b.vardo");
    QVERIFY(a.isVisible());
    QVERIFY(b.isHidden());
}

void TestTabButton::tabNameReachesCloseButton()
{
    TabButton tab(nullptr, "a.vardo");
    TabButton close(&tab);
    tab.setCloseButton(&close);
    QCOMPARE(close.getTabName(), QStringLiteral("a.vardo"));
    tab.setTabName("b.vardo");
    QCOMPARE(close.getTabName(), QStringLiteral("b.vardo"));

    // The two buttons toggle together.
    tab.setCheckable(true);
    close.setCheckable(true);
    tab.setChecked(true);
    QVERIFY(close.isChecked());
}

QTEST_MAIN(TestTabButton)
#include "tst_tabbutton.moc"
