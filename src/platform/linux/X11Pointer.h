#pragma once

#include "platform/Pointer.h"

#include <xcb/xcb.h>

#include <mutex>

namespace talvo {

class XcbConnection;

// Asks the X server where the pointer is and which buttons are held.
//
// sample() goes through a connection of its own, opened on first use, so that
// another thread's look at the pointer never touches the main thread's
// connection (whose socket the main thread's event loop watches).
class X11Pointer final : public Pointer
{
public:
    explicit X11Pointer(XcbConnection &connection) : m_connection(connection) {}
    ~X11Pointer() override;

    X11Pointer(const X11Pointer &) = delete;
    X11Pointer &operator=(const X11Pointer &) = delete;

    QPointF position() const override;
    Qt::MouseButtons pressedButtons() const override;
    std::optional<PointerSample> sample() const override;
    // Paced by the X server where it can (see X11PacedPointerSampler).
    TimerHandle sampleEvery(TimerQueue &queue, Scheduler::Duration interval, Look look) const override;

    static PointerSample sampleFrom(const xcb_query_pointer_reply_t &reply);

private:
    XcbConnection &m_connection;

    mutable std::mutex m_sampleMutex;
    mutable xcb_connection_t *m_sampleConnection = nullptr;
    mutable xcb_window_t m_sampleRoot = XCB_NONE;
    mutable bool m_loggedUnpaced = false;
};

} // namespace talvo
