#pragma once

#include "platform/Pointer.h"

#include <optional>

namespace talvo {

// Looks at the pointer at a steady pace with a single wake-up per look.
//
// A timer thread that then asks the X server wakes twice per look: once for
// the timer and once for the reply. Here each pointer query goes out behind a
// SYNC Await on the server's SERVERTIME counter, so the server holds the query
// back until the interval has passed and the looking thread sleeps on the
// reply alone.
//
// Each run has a thread and a connection of its own. If the server goes away
// the looks go on at the same pace (a plain timeout), each of them empty.
class X11PacedPointerSampler
{
public:
    // Starts a run, the first look at once; nothing when the display cannot be
    // reached or has no SERVERTIME counter to pace with.
    static std::optional<TimerHandle> start(Scheduler::Duration interval, Pointer::Look look);
};

} // namespace talvo
