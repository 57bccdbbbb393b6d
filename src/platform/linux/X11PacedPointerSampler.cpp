#include "X11PacedPointerSampler.h"

#include "X11Pointer.h"
#include "XcbConnection.h"

#include <xcb/sync.h>

#include <condition_variable>
#include <cstring>
#include <mutex>
#include <string_view>
#include <thread>

#include <pthread.h>
#include <sys/socket.h>

namespace talvo {

namespace {

// The id of the server's SERVERTIME counter (milliseconds), or none.
xcb_sync_counter_t serverTimeCounter(xcb_connection_t *connection)
{
    const xcb_query_extension_reply_t *extension = xcb_get_extension_data(connection, &xcb_sync_id);
    if (!extension || !extension->present)
        return XCB_NONE;
    XcbReply<xcb_sync_initialize_reply_t> version(xcb_sync_initialize_reply(
        connection, xcb_sync_initialize(connection, XCB_SYNC_MAJOR_VERSION, XCB_SYNC_MINOR_VERSION), nullptr));
    XcbReply<xcb_sync_list_system_counters_reply_t> list(
        xcb_sync_list_system_counters_reply(connection, xcb_sync_list_system_counters(connection), nullptr));
    if (!version || !list)
        return XCB_NONE;
    // Each entry: counter (4 bytes), resolution (8), name length (2), the
    // name, then padding to a multiple of four. Read by hand: the generated
    // iterator does not step over the padding.
    const auto *entry = reinterpret_cast<const uint8_t *>(list.get() + 1);
    const auto *end = reinterpret_cast<const uint8_t *>(list.get()) + 32 + std::size_t(list->length) * 4;
    for (uint32_t i = 0; i < list->counters_len && entry + 14 <= end; ++i) {
        uint32_t counter = 0;
        uint16_t nameLength = 0;
        std::memcpy(&counter, entry, sizeof counter);
        std::memcpy(&nameLength, entry + 12, sizeof nameLength);
        if (entry + 14 + nameLength > end)
            break;
        if (std::string_view(reinterpret_cast<const char *>(entry + 14), nameLength) == "SERVERTIME")
            return counter;
        entry += (14 + nameLength + 3) & ~std::size_t(3);
    }
    return XCB_NONE;
}

struct Run
{
    xcb_connection_t *connection = nullptr;
    xcb_window_t root = XCB_NONE;
    xcb_sync_counter_t serverTime = XCB_NONE;
    std::thread thread;

    std::mutex mutex;
    std::condition_variable wake;
    bool stopped = false;

    ~Run()
    {
        if (connection)
            xcb_disconnect(connection);
    }

    bool isStopped()
    {
        std::lock_guard lock(mutex);
        return stopped;
    }

    // Ends the run from another thread: a reply wait returns at once, as the
    // connection reads its end, and the looks stop.
    void stop()
    {
        {
            std::lock_guard lock(mutex);
            stopped = true;
        }
        wake.notify_all();
        ::shutdown(xcb_get_file_descriptor(connection), SHUT_RDWR);
    }

    // One query, held back by the server for `delayMs` unless 0; nothing once
    // the connection has broken (or been shut down by stop()).
    std::optional<PointerSample> query(uint32_t delayMs)
    {
        if (delayMs > 0) {
            xcb_sync_waitcondition_t condition{};
            condition.trigger.counter = serverTime;
            condition.trigger.wait_type = XCB_SYNC_VALUETYPE_RELATIVE;
            condition.trigger.wait_value.lo = delayMs;
            condition.trigger.test_type = XCB_SYNC_TESTTYPE_POSITIVE_COMPARISON;
            xcb_sync_await(connection, 1, &condition);
        }
        XcbReply<xcb_query_pointer_reply_t> reply(
            xcb_query_pointer_reply(connection, xcb_query_pointer(connection, root), nullptr));
        // Events nobody asked for (MappingNotify goes to every client) would
        // otherwise pile up.
        while (xcb_generic_event_t *event = xcb_poll_for_queued_event(connection))
            std::free(event);
        if (!reply)
            return std::nullopt;
        return X11Pointer::sampleFrom(*reply);
    }

    void loop(const Pointer::Look &look, Scheduler::Duration interval)
    {
        const auto delay = std::max(interval, Scheduler::Duration(1));
        bool first = true;
        while (!isStopped()) {
            std::optional<PointerSample> sample;
            if (xcb_connection_has_error(connection)) {
                // The server is gone: keep the pace, with nothing to report.
                std::unique_lock lock(mutex);
                if (wake.wait_for(lock, delay, [this] { return stopped; }))
                    return;
            } else {
                sample = query(first ? 0 : uint32_t(delay.count()));
            }
            first = false;
            if (isStopped())
                return;
            look(sample);
        }
    }
};

} // namespace

std::optional<TimerHandle> X11PacedPointerSampler::start(Scheduler::Duration interval, Pointer::Look look)
{
    auto run = std::make_shared<Run>();
    int screenNumber = 0;
    run->connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(run->connection))
        return std::nullopt;
    run->root = screenRoot(run->connection, screenNumber);
    run->serverTime = serverTimeCounter(run->connection);
    if (run->root == XCB_NONE || run->serverTime == XCB_NONE)
        return std::nullopt;

    run->thread = std::thread([run, look = std::move(look), interval] { run->loop(look, interval); });
    pthread_setname_np(run->thread.native_handle(), "talvo-pointer");

    auto state = std::make_shared<TimerHandle::State>();
    std::weak_ptr<Run> weak = run;
    state->onCancel = [weak] {
        const std::shared_ptr<Run> run = weak.lock();
        if (!run)
            return;
        run->stop();
        // A look cancelling its own run lets the thread end by itself.
        if (std::this_thread::get_id() == run->thread.get_id())
            run->thread.detach();
        else if (run->thread.joinable())
            run->thread.join();
    };
    return TimerHandle(state);
}

} // namespace talvo
