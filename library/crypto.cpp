#include "crypto.h"

// Changing this key makes every stored cipher text unreadable; tst_simplecrypt pins it.
static constexpr quint64 storedValueKey = Q_UINT64_C(0x6a3f2c91d45e08b7);

SimpleCrypt crypto(storedValueKey);
