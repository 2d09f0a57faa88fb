// Whole document files as they come from disk: any bytes, tried with a fixed password.
#include "archivereader.h"
#include "documentdecoder.h"
#include "fuzzsupport.h"

#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    FuzzSupport::initialise(argc, argv, FuzzSupport::App::Core);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray payload;
    const OpenResult result = decryptDocumentData(1, 0, 10, QStringLiteral("fuzzing"),
                                                  FuzzSupport::bytes(data, size), &payload);
    if (result.code != OpenResult::Success) {
        // A refused document must never leave decrypted bytes behind.
        if (!payload.isEmpty())
            std::abort();
        return 0;
    }
    QMap<QString, QByteArray> files;
    ArchiveReader().read(payload, &files);
    return 0;
}
