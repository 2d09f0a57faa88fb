#ifndef PLATFORM_H
#define PLATFORM_H

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#endif

// The one place that knows how the target platform spells program files, shared
// libraries and its update-server OS code. Windows is the product's target; the
// native values let the same code run and be tested elsewhere.

namespace Platform {
#if defined(Q_OS_WIN) || defined(_WIN32)
inline constexpr const char* viewerProgram = "run.exe";
inline constexpr const char* updaterProgram = "VardoViewer.exe";
inline constexpr const char* libraryPattern = "*.dll";
inline constexpr const char* osCode = "win64";
#elif defined(__APPLE__)
inline constexpr const char* viewerProgram = "run";
inline constexpr const char* updaterProgram = "VardoViewer";
inline constexpr const char* libraryPattern = "*.dylib";
inline constexpr const char* osCode = "mac64";
#else
inline constexpr const char* viewerProgram = "run";
inline constexpr const char* updaterProgram = "VardoViewer";
inline constexpr const char* libraryPattern = "*.so*";
inline constexpr const char* osCode = "linux64";
#endif

// Standard input as bytes, for a document read from it: Windows reads it as text
// unless told otherwise, which changes line ends and stops at the first Ctrl+Z byte.
inline void useBinaryStandardInput()
{
#if defined(_WIN32)
    _setmode(_fileno(stdin), _O_BINARY);
#endif
}
} // namespace Platform

#endif // PLATFORM_H
