#pragma once

#include "E2eDesktop.h"

#include <cstdio>
#include <memory>

namespace talvo::e2e {

// A private desktop for the whole-program benchmarks: programs draw with the
// scene graph's default (OpenGL), the pointer rests at `pointer`, and Talvo
// starts as a returning user's (the first-run window would otherwise open).
// Null, with the reason on standard error, when it does not come up.
inline std::unique_ptr<E2eDesktop> startBenchDesktop(bool compositor, QPoint pointer)
{
    E2eDesktop::Options options{QSize(1920, 1080), compositor, QStringLiteral(TALVO_E2E_WINDOW)};
    options.quickBackend.clear();
    auto desktop = std::make_unique<E2eDesktop>(options);
    if (!desktop->start()) {
        std::fprintf(stderr, "cannot start the desktop: %s\n", qPrintable(desktop->error()));
        return nullptr;
    }
    desktop->movePointer(pointer);
    if (!desktop->run(QStringLiteral(TALVO_BINARY), {QStringLiteral("prefs"), QStringLiteral("set"),
                                                     QStringLiteral("hasCompletedOnboarding"), QStringLiteral("true")})) {
        std::fprintf(stderr, "cannot set the preferences\n");
        return nullptr;
    }
    return desktop;
}

} // namespace talvo::e2e
