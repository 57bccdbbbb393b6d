#pragma once

// Shared by the fuzz targets: a quiet Qt, an application object where the
// code under test needs one, and a check that reports a broken promise as a
// finding (libFuzzer takes the abort as a crash and keeps the input).

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace talvo::fuzz {

// Every target starts with Qt's log output dropped (the code under test logs
// every bad input) and a time zone with daylight saving, so that local-time
// code meets its gaps; then setUp() runs, which a target may define to
// prepare more (the default does nothing).
void setUp();
// A QGuiApplication on the offscreen platform, for code that uses fonts,
// icons or image plugins.
void startGuiApplication();

inline QByteArray bytes(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

[[noreturn]] inline void fail(const char *condition, const char *file, int line)
{
    std::fprintf(stderr, "%s:%d: broken: %s\n", file, line, condition);
    std::abort();
}

} // namespace talvo::fuzz

#define FUZZ_CHECK(condition) \
    ((condition) ? void(0) : ::talvo::fuzz::fail(#condition, __FILE__, __LINE__))
