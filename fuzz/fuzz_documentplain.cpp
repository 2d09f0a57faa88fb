// The plaintext of a document after its check value (marker, length field, metadata
// and zip archive), encrypted with a fixed password so that every input passes the
// password test and reaches the parsing behind it.
#include "archivereader.h"
#include "documentdecoder.h"
#include "documentencoder.h"
#include "documentformat.h"
#include "fuzzsupport.h"

#include <cstdlib>

namespace {
const QString password = QStringLiteral("fuzzing");
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    FuzzSupport::initialise(argc, argv, FuzzSupport::App::Core);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray plain = FuzzSupport::bytes(data, size);
    const QByteArray document = DocumentEncoder::encode(plain, password, false);
    QByteArray payload;
    const OpenResult result = decryptDocumentData(1, 0, 10, password, document, &payload);
    // Without a marker the version cannot refuse the document and nothing in it can be
    // damaged; a success hands back exactly what was encrypted. (A plaintext too short
    // for the probe reads as a wrong password.)
    if (!plain.startsWith(DocumentFormat::metadataMarker()) &&
        (result.code == OpenResult::Success ? payload != plain
                                            : result.code != OpenResult::InvalidPasswordCode))
        std::abort();
    if (result.code != OpenResult::Success)
        return 0;
    QMap<QString, QByteArray> files;
    if (!ArchiveReader().read(payload, &files) && !files.isEmpty())
        std::abort();
    return 0;
}
