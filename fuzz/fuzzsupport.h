#ifndef FUZZSUPPORT_H
#define FUZZSUPPORT_H

#include <QByteArray>

#include <cstddef>
#include <cstdint>

// Every fuzz target runs inside one Qt application object, made once before the first
// input, with the log silenced: the decoder's trace lines would otherwise cost more than
// the decoding itself. Fatal messages still abort, so the fuzzer reports them.
namespace FuzzSupport {
enum class App
{
    Core,
    Gui
};
void initialise(int* argc, char*** argv, App app);
// The input without a copy; valid for one call of the target.
QByteArray bytes(const uint8_t* data, size_t size);
} // namespace FuzzSupport

#endif // FUZZSUPPORT_H
