// Report templates: the built-in ones can be replaced by files under the application
// directory, so the reader and the renderer see whatever XML is put there.
#include "fuzzsupport.h"
#include "templatereader.h"

#include <LimeReport>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    FuzzSupport::initialise(argc, argv, FuzzSupport::App::Gui);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray xml = FuzzSupport::bytes(data, size);
    LimeReport::TemplateReader reader;
    reader.read(xml, false);
    LimeReport::ReportEngine engine;
    if (engine.loadFromString(QString::fromUtf8(xml)))
        engine.renderPages();
    return 0;
}
