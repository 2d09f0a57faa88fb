#include "reportpopulation.h"

#include "datasetjson.h"
#include "reportmetadata.h"
#include "tavids.h"

#include <LimeReport>

#include <QDebug>

#include <utility>

// The templates are a resource of this static library, which the linker keeps only
// when it is asked for by name.
static void registerReportTemplates()
{
    Q_INIT_RESOURCE(reports);
}

QString reportTemplateFor(const QString& debtorType)
{
    static const bool registered = (registerReportTemplates(), true);
    Q_UNUSED(registered)
    return debtorType == TAVIDs::individualType
               ? QStringLiteral(":/reports/reportViewer-Individual.lrxml")
               : QStringLiteral(":/reports/reportViewer-Corporate.lrxml");
}

bool populateDesignAndData(LimeReport::ReportEngine* engine, QByteArray jsonContent,
                           TAVIDs* dataSources)
{
    qDebug() << "populateDesignAndData 1111 jsonContent.length() " << jsonContent.length();
    QVariantMap document = DataSetJson::parse(jsonContent);
    jsonContent = QByteArray();
    dataSources->fillDataSets(std::move(document), false);
    qDebug() << "populateDesignAndData 2222 ";
    const bool loaded = engine->loadFromFile(reportTemplateFor(dataSources->debtorType()));
    if (!loaded)
        qWarning() << "populateDesignAndData template not loaded:" << engine->lastError();
    dataSources->registerDataSources(engine);
    engine->setPdfMetadata(ReportMetadata::forReport(*dataSources));
    qDebug() << "populateDesignAndData 3333 ";
    return loaded;
}
