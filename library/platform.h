#ifndef PLATFORM_H
#define PLATFORM_H

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
} // namespace Platform

#endif // PLATFORM_H
