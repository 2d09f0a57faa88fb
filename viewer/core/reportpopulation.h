#ifndef REPORTPOPULATION_H
#define REPORTPOPULATION_H

#include <QByteArray>
#include <QString>

class TAVIDs;

namespace LimeReport {
class ReportEngine;
} // namespace LimeReport

// The template that shows a data set of the given debtor type (TAVIDs::individualType,
// anything else corporate).
QString reportTemplateFor(const QString& debtorType);

// Turns the JSON text of one data set into filled data sources, loads the template of
// its debtor type into the engine and registers the sources with it, and titles the
// engine's PDF files after the debtor and the report number. Text that is no
// JSON object is shown as an empty corporate report. False when the template could
// not be loaded. A text handed over (std::move) is let go as soon as it is read, before
// the data sources are built from it.
bool populateDesignAndData(LimeReport::ReportEngine* engine, QByteArray jsonContent,
                           TAVIDs* dataSources);

#endif // REPORTPOPULATION_H
