// Stored secrets, the version file and the recent-files store are all read back
// through the shared value cipher, from files a user or a crash may have damaged.
#include "crypto.h"
#include "fuzzsupport.h"
#include "simplecrypt.h"
#include "uiutils.h"

#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    FuzzSupport::initialise(argc, argv, FuzzSupport::App::Core);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = FuzzSupport::bytes(data, size);
    SimpleCrypt& cipher = crypto;
    cipher.decryptToByteArray(input);
    cipher.decryptToString(QString::fromLatin1(input));
    UIUtils::decryptValue(QString::fromUtf8(input));

    // Whatever decrypts without an integrity failure must encrypt back to the same value.
    const QByteArray plain = cipher.decryptToByteArray(input);
    if (cipher.lastError() == SimpleCrypt::ErrorNoError && !plain.isEmpty()) {
        const QByteArray again = cipher.encryptToByteArray(plain);
        if (cipher.decryptToByteArray(again) != plain)
            std::abort();
    }
    return 0;
}
