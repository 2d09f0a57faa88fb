// The built-in templates must load in this engine and in any engine that reads the
// same format: every class and property they use has to be one the format defines,
// because a reader drops unknown classes with their subtree and ignores unknown
// properties, which would silently lose sections or styling.

#include "filecontent.h"

#include <LimeReport>

#include <QDomDocument>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

static void initResources()
{
    Q_INIT_RESOURCE(reports);
}

namespace {

QSet<QString> set(std::initializer_list<const char*> names)
{
    QSet<QString> s;
    for (const char* n : names)
        s.insert(QString::fromLatin1(n));
    return s;
}

// Properties of the format, per class, as the template format defines them.
const QHash<QString, QSet<QString>>& knownProperties()
{
    static const QHash<QString, QSet<QString>> known = [] {
        const QSet<QString> base = set({"objectName", "geometry", "children", "zOrder", "isVisible",
                                        "borders", "borderLineSize", "borderColor", "borderStyle",
                                        "shadow", "geometryLocked", "parentName"});
        const QSet<QString> item = base + set({"itemLocation", "stretchToMaxHeight", "itemAlign"});
        const QSet<QString> band =
            base + set({"autoHeight", "bandIndex", "parentBand", "keepBottomSpace", "keepTopSpace",
                        "printIfEmpty", "backgroundColor", "backgroundMode", "backgroundOpacity",
                        "backgroundBrushStyle", "shiftItems",
                        // This engine's outline entries: a reader without them loses the
                        // outline only, never a section or its look.
                        "outline", "outlineLevel"});
        const QSet<QString> columns = set({"columnsCount", "columnsFillDirection"});
        QHash<QString, QSet<QString>> k;
        k["LimeReport::ReportEnginePrivate"] =
            set({"pages", "datasourcesManager", "scriptContext", "suppressFieldAndVarError",
                 "baseItemPadding", "translation"});
        k["LimeReport::DataSourceManager"] =
            set({"connections", "queries", "subqueries", "subproxies", "variables", "csvs"});
        k["LimeReport::ScriptEngineContext"] = set({"initScript", "dialogs"});
        k["LimeReport::PageDesignIntf"] =
            set({"objectName", "pageItem", "sceneRect", "bspTreeDepth", "font", "sortCacheEnabled",
                 "stickyFocus", "minimumRenderSize"});
        k["PageItem"] = base + set({"topMargin",
                                    "bottomMargin",
                                    "leftMargin",
                                    "rightMargin",
                                    "pageOrientation",
                                    "pageSize",
                                    "fullPage",
                                    "dropPrinterMargins",
                                    "resetPageNumber",
                                    "endlessHeight",
                                    "printable",
                                    "notPrintIfEmpty",
                                    "mixWithPriorPage",
                                    "pageIsTOC",
                                    "setPageSizeToPrinter",
                                    "printBehavior",
                                    "oldPrintMode",
                                    "printerName",
                                    "units",
                                    "gridStep",
                                    "extendedHeight",
                                    "isExtendedInDesignMode"});
        k["PageHeader"] = band + set({"printOnFirstPage", "printOnLastPage"});
        k["PageFooter"] = band + set({"printOnFirstPage", "printOnLastPage", "removeGap"});
        k["ReportHeader"] = band + set({"splittable", "printBeforePageHeader"});
        k["ReportFooter"] = band + set({"splittable", "maxScalePercent"});
        k["DataHeader"] =
            band + columns + set({"reprintOnEachPage", "printAlways", "repeatOnEachRow"});
        k["DataFooter"] = band + columns + set({"splittable", "printAlways"});
        k["Data"] = band + columns +
                    set({"datasource", "splittable", "keepSubdetailTogether", "keepFooterTogether",
                         "sliceLastRow", "startNewPage", "startFromNewPage",
                         "alternateBackgroundColor", "useAlternateBackgroundColor"});
        k["SubDetailHeader"] = band + columns + set({"printAlways"});
        k["SubDetail"] = band + columns +
                         set({"datasource", "splittable", "keepFooterTogether",
                              "alternateBackgroundColor", "useAlternateBackgroundColor"});
        k["SubDetailFooter"] = band + columns + set({"splittable", "printAlways"});
        k["TextItem"] = item + set({"content",
                                    "font",
                                    "fontColor",
                                    "backgroundColor",
                                    "backgroundMode",
                                    "backgroundOpacity",
                                    "backgroundBrushStyle",
                                    "alignment",
                                    "margin",
                                    "autoHeight",
                                    "autoWidth",
                                    "trimValue",
                                    "allowHTML",
                                    "allowHTMLInFields",
                                    "replaceCRwithBR",
                                    "hideIfEmpty",
                                    "adaptFontToSize",
                                    "angle",
                                    "foregroundOpacity",
                                    "lineSpacing",
                                    "underlines",
                                    "underlineLineSize",
                                    "textIndent",
                                    "textLayoutDirection",
                                    "fontLetterSpacing",
                                    "format",
                                    "valueType",
                                    "followTo",
                                    "fillInSecondPass",
                                    "watermark"});
        k["HLayout"] = item + set({"layoutType", "hideEmptyItems", "layoutSpacing"});
        k["VLayout"] = k["HLayout"];
        k["ShapeItem"] = item + set({"shape", "shapeColor", "shapeBrushColor", "shapeBrush",
                                     "lineWidth", "penStyle", "cornerRadius", "opacity"});
        return k;
    }();
    return known;
}

const QSet<QString>& scalarTypes()
{
    static const QSet<QString> types =
        set({"QString", "int", "enumAndFlags", "bool", "qreal", "double", "QRect", "QRectF",
             "QFont", "QColor", "QImage", "QByteArray", "QVariant", "QSizeF"});
    return types;
}

QString readResource(const QString& path)
{
    return QString::fromUtf8(FileContent::read(path));
}

// Walks one object element and reports what a reader of the format would not know.
void collectUnknown(const QDomElement& object, const QString& className, QStringList& problems)
{
    const auto known = knownProperties().constFind(className);
    if (known == knownProperties().constEnd()) {
        problems << QStringLiteral("unknown class %1").arg(className);
        return;
    }
    for (QDomElement p = object.firstChildElement(); !p.isNull(); p = p.nextSiblingElement()) {
        const QString name = p.tagName();
        const QString type = p.attribute(QStringLiteral("Type"));
        if (!known->contains(name))
            problems << QStringLiteral("%1.%2").arg(className, name);
        if (type == QLatin1String("Object")) {
            collectUnknown(p, p.attribute(QStringLiteral("ClassName")), problems);
        } else if (type == QLatin1String("Collection")) {
            for (QDomElement i = p.firstChildElement(); !i.isNull(); i = i.nextSiblingElement())
                collectUnknown(i, i.attribute(QStringLiteral("ClassName")), problems);
        } else if (!scalarTypes().contains(type)) {
            problems << QStringLiteral("%1.%2 of type %3").arg(className, name, type);
        }
    }
}

QDomElement rootObject(const QDomDocument& doc)
{
    return doc.documentElement().firstChildElement(QStringLiteral("object"));
}

} // namespace

class TestReportTemplates : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { initResources(); }

    void loads_data();
    void loads();
    void usesOnlyKnownClassesAndProperties_data() { loads_data(); }
    void usesOnlyKnownClassesAndProperties();
    void childBandsFollowTheirParent_data() { loads_data(); }
    void childBandsFollowTheirParent();
    void referencesOnlyItsDebtorTypeSources_data();
    void referencesOnlyItsDebtorTypeSources();
};

void TestReportTemplates::loads_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("individual") << QStringLiteral(":/reports/reportViewer-Individual.lrxml");
    QTest::newRow("corporate") << QStringLiteral(":/reports/reportViewer-Corporate.lrxml");
    QTest::newRow("faq") << QStringLiteral(":reports/faq.lrxml");
    QTest::newRow("manual") << QStringLiteral(":reports/manual.lrxml");
}

void TestReportTemplates::loads()
{
    QFETCH(QString, path);
    LimeReport::ReportEngine engine;
    QVERIFY2(engine.loadFromFile(path), qPrintable(engine.lastError()));
    QVERIFY2(engine.loadFromString(readResource(path)), qPrintable(engine.lastError()));
}

void TestReportTemplates::usesOnlyKnownClassesAndProperties()
{
    QFETCH(QString, path);
    QDomDocument doc;
    QVERIFY(doc.setContent(readResource(path)));
    QCOMPARE(doc.documentElement().tagName(), QStringLiteral("Report"));
    const QDomElement root = rootObject(doc);
    QStringList problems;
    collectUnknown(root, root.attribute(QStringLiteral("ClassName")), problems);
    problems.removeDuplicates();
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QStringLiteral(", "))));
}

// A reader links a band to its parent only when the parent came first in the file.
void TestReportTemplates::childBandsFollowTheirParent()
{
    QFETCH(QString, path);
    QDomDocument doc;
    QVERIFY(doc.setContent(readResource(path)));
    const QDomElement pageChildren = rootObject(doc)
                                         .firstChildElement(QStringLiteral("pages"))
                                         .firstChildElement(QStringLiteral("item"))
                                         .firstChildElement(QStringLiteral("pageItem"))
                                         .firstChildElement(QStringLiteral("children"));
    QSet<QString> seen;
    int bands = 0;
    for (QDomElement band = pageChildren.firstChildElement(); !band.isNull();
         band = band.nextSiblingElement()) {
        const QString parent =
            band.firstChildElement(QStringLiteral("parentBand")).text().toLower();
        if (!parent.isEmpty())
            QVERIFY2(seen.contains(parent),
                     qPrintable(band.firstChildElement(QStringLiteral("objectName")).text()));
        seen.insert(band.firstChildElement(QStringLiteral("objectName")).text().toLower());
        ++bands;
    }
    QVERIFY(bands >= 3);
}

void TestReportTemplates::referencesOnlyItsDebtorTypeSources_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QStringList>("required");
    QTest::addColumn<QStringList>("forbidden");
    const QStringList both = {"header",
                              "facilitysummary",
                              "credits",
                              "credits_gua",
                              "credits_col",
                              "lcs",
                              "lcs_gua",
                              "lcs_col",
                              "bankguarantees",
                              "bankguarantees_gua",
                              "bankguarantees_col",
                              "others",
                              "others_gua",
                              "others_col"};
    QTest::newRow("individual") << QStringLiteral(":/reports/reportViewer-Individual.lrxml")
                                << (both + QStringList{"individualdebtors"})
                                << QStringList{"securities", "offclssharehldr", "corporatedebtors"};
    QTest::newRow("corporate") << QStringLiteral(":/reports/reportViewer-Corporate.lrxml")
                               << (both + QStringList{"corporatedebtors", "offclssharehldrgroups",
                                                      "offclssharehldrs", "securities",
                                                      "securities_gua", "securities_col"})
                               << QStringList{"individualdebtors"};
    QTest::newRow("faq") << QStringLiteral(":reports/faq.lrxml") << QStringList()
                         << QStringList{"$d{"};
    QTest::newRow("manual") << QStringLiteral(":reports/manual.lrxml") << QStringList()
                            << QStringList{"$d{"};
}

void TestReportTemplates::referencesOnlyItsDebtorTypeSources()
{
    QFETCH(QString, path);
    QFETCH(QStringList, required);
    QFETCH(QStringList, forbidden);
    const QString text = readResource(path).toLower();
    for (const QString& word : forbidden)
        QVERIFY2(!text.contains(word), qPrintable(word));

    QSet<QString> sources;
    const QRegularExpression field(QStringLiteral("\\$d\\{([a-z_]+)\\."));
    for (auto it = field.globalMatch(text); it.hasNext();)
        sources.insert(it.next().captured(1));
    const QRegularExpression band(
        QStringLiteral("<datasource type=\"qstring\">([a-z_]+)</datasource>"));
    for (auto it = band.globalMatch(text); it.hasNext();)
        sources.insert(it.next().captured(1));
    for (const QString& name : required)
        QVERIFY2(sources.contains(name), qPrintable(name));
    QCOMPARE(sources.size(), required.size());
}

QTEST_MAIN(TestReportTemplates)
#include "tst_reporttemplates.moc"
