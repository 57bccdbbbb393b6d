#include "X11PacedPointerSampler.h"

#include "X11Pointer.h"
#include "XcbConnection.h"

#include <xcb/sync.h>
#include <xcb/xcbext.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <string_view>
#include <thread>

#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <unistd.h>

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
    int stopFd = -1;
    std::atomic<bool> stopped{false};
    std::thread thread;

    ~Run()
    {
        if (connection)
            xcb_disconnect(connection);
        if (stopFd >= 0)
            ::close(stopFd);
    }

    // Sleeps until the socket has something to read (or, with no socket,
    // until `timeoutMs` has passed); false once the run is stopped.
    bool waitFor(int socket, int timeoutMs)
    {
        pollfd fds[2] = {{stopFd, POLLIN, 0}, {socket, POLLIN, 0}};
        int ready = 0;
        do {
            ready = ::poll(fds, socket >= 0 ? 2 : 1, timeoutMs);
        } while (ready < 0 && errno == EINTR);
        return !stopped && !(fds[0].revents & POLLIN);
    }

    // One query, held back by the server for `delayMs` unless 0.
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
        const unsigned int sequence = xcb_query_pointer(connection, root).sequence;
        xcb_flush(connection);
        const int socket = xcb_get_file_descriptor(connection);
        for (;;) {
            void *reply = nullptr;
            xcb_generic_error_t *error = nullptr;
            // Reads what has arrived without blocking; on a broken
            // connection it answers at once, with nothing.
            if (xcb_poll_for_reply(connection, sequence, &reply, &error)) {
                std::free(error);
                XcbReply<xcb_query_pointer_reply_t> state(static_cast<xcb_query_pointer_reply_t *>(reply));
                if (!state)
                    return std::nullopt;
                return X11Pointer::sampleFrom(*state);
            }
            // Events nobody asked for (MappingNotify goes to every client)
            // would otherwise pile up.
            while (xcb_generic_event_t *event = xcb_poll_for_event(connection))
                std::free(event);
            if (!waitFor(socket, -1))
                return std::nullopt;
        }
    }

    void loop(Pointer::Look look, Scheduler::Duration interval)
    {
        const auto delayMs = uint32_t(std::max<Scheduler::Duration::rep>(interval.count(), 1));
        bool first = true;
        while (!stopped) {
            std::optional<PointerSample> sample;
            if (xcb_connection_has_error(connection)) {
                if (!waitFor(-1, int(delayMs)))
                    return;
            } else {
                sample = query(first ? 0 : delayMs);
            }
            first = false;
            if (stopped)
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
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(run->connection));
    for (int i = 0; screens.rem && i < screenNumber; ++i)
        xcb_screen_next(&screens);
    run->root = screens.rem ? screens.data->root : XCB_NONE;
    run->serverTime = serverTimeCounter(run->connection);
    run->stopFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (run->root == XCB_NONE || run->serverTime == XCB_NONE || run->stopFd < 0)
        return std::nullopt;

    run->thread = std::thread([run, look = std::move(look), interval] { run->loop(look, interval); });
    pthread_setname_np(run->thread.native_handle(), "talvo-pointer");

    auto state = std::make_shared<TimerHandle::State>();
    std::weak_ptr<Run> weak = run;
    state->onCancel = [weak] {
        const std::shared_ptr<Run> run = weak.lock();
        if (!run)
            return;
        run->stopped = true;
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(run->stopFd, &one, sizeof one);
        // A look cancelling its own run lets the thread end by itself.
        if (std::this_thread::get_id() == run->thread.get_id())
            run->thread.detach();
        else if (run->thread.joinable())
            run->thread.join();
    };
    return TimerHandle(state);
}

} // namespace talvo
