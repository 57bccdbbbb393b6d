#include "E2eDesktop.h"
#include "platform/linux/LinuxSystemEvents.h"
#include "platform/linux/X11DragSelection.h"
#include "platform/linux/X11EventMonitors.h"
#include "platform/linux/X11NotchWindow.h"
#include "platform/linux/X11Pointer.h"
#include "platform/linux/XcbConnection.h"
#include "platform/TimerQueue.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QQuickWindow>
#include <QWindow>
#include <QTest>

#include <algorithm>
#include <mutex>

#include <xcb/shape.h>
#include <xcb/xtest.h>

using namespace talvo;

namespace {

// A second client of the X server: drives the pointer through XTest and plays
// another program's drag source.
class OtherClient
{
public:
    OtherClient() : m_c(xcb_connect(nullptr, nullptr))
    {
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_c)).data->root;
        m_window = xcb_generate_id(m_c);
        xcb_create_window(m_c, XCB_COPY_FROM_PARENT, m_window, m_root, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                          XCB_COPY_FROM_PARENT, 0, nullptr);
        sync();
    }
    ~OtherClient() { xcb_disconnect(m_c); }

    void sync() { std::free(xcb_get_input_focus_reply(m_c, xcb_get_input_focus(m_c), nullptr)); }
    void input(uint8_t type, uint8_t detail, int x = 0, int y = 0)
    {
        xcb_test_fake_input(m_c, type, detail, XCB_CURRENT_TIME, type == XCB_MOTION_NOTIFY ? m_root : XCB_NONE,
                            int16_t(x), int16_t(y), 0);
        sync();
    }
    xcb_atom_t atom(const char *name)
    {
        auto *reply = xcb_intern_atom_reply(m_c, xcb_intern_atom(m_c, false, uint16_t(qstrlen(name)), name), nullptr);
        const xcb_atom_t value = reply ? reply->atom : XCB_NONE;
        std::free(reply);
        return value;
    }
    // Starts a "drag": owns the drag selection, then lists the offered types.
    void startDrag(const QList<const char *> &types, bool listFirst = false)
    {
        auto list = [&] {
            std::vector<xcb_atom_t> atoms;
            for (const char *type : types)
                atoms.push_back(atom(type));
            xcb_change_property(m_c, XCB_PROP_MODE_REPLACE, m_window, atom("XdndTypeList"), XCB_ATOM_ATOM, 32,
                                uint32_t(atoms.size()), atoms.data());
        };
        if (listFirst)
            list();
        xcb_set_selection_owner(m_c, m_window, atom("XdndSelection"), XCB_CURRENT_TIME);
        if (!listFirst) {
            sync();
            QTest::qWait(50); // the watcher reads before the list exists
            list();
        }
        sync();
    }
    // Takes the drag selection without listing any types.
    void takeSelection()
    {
        xcb_set_selection_owner(m_c, m_window, atom("XdndSelection"), XCB_CURRENT_TIME);
        sync();
    }
    // Answers the questions asked so far: TARGETS and `uriList` as text/uri-list.
    void serve(const QByteArray &uriList)
    {
        while (xcb_generic_event_t *event = xcb_poll_for_event(m_c)) {
            if ((event->response_type & 0x7f) == XCB_SELECTION_REQUEST) {
                const auto *request = reinterpret_cast<xcb_selection_request_event_t *>(event);
                const xcb_atom_t targets[] = {atom("TARGETS"), atom("text/uri-list")};
                if (request->target == targets[0])
                    xcb_change_property(m_c, XCB_PROP_MODE_REPLACE, request->requestor, request->property,
                                        XCB_ATOM_ATOM, 32, 2, targets);
                else
                    xcb_change_property(m_c, XCB_PROP_MODE_REPLACE, request->requestor, request->property,
                                        request->target, 8, uint32_t(uriList.size()), uriList.constData());
                xcb_selection_notify_event_t notify{};
                notify.response_type = XCB_SELECTION_NOTIFY;
                notify.time = request->time;
                notify.requestor = request->requestor;
                notify.selection = request->selection;
                notify.target = request->target;
                notify.property = request->property;
                xcb_send_event(m_c, false, request->requestor, XCB_EVENT_MASK_NO_EVENT,
                               reinterpret_cast<const char *>(&notify));
            }
            std::free(event);
        }
        sync();
    }
    xcb_connection_t *connection() const { return m_c; }

private:
    xcb_connection_t *m_c;
    xcb_window_t m_root;
    xcb_window_t m_window;
};

QList<PointerEventType> types(const QList<PointerEvent> &events)
{
    QList<PointerEventType> result;
    for (const PointerEvent &e : events)
        result.append(e.type);
    return result;
}

// A queue that never ticks: every look has to come from the server.
struct IdleQueue final : TimerQueue
{
    TimerHandle every(Duration, Duration, Task) override { return {}; }
};

} // namespace

// The X11 services against the real X server in DISPLAY.
class TestX11NotchServices : public QObject
{
    Q_OBJECT

    XcbConnection *m_connection = nullptr;

private slots:
    void initTestCase()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs an X server");
        m_connection = new XcbConnection(this);
        QVERIFY(m_connection->isValid());
    }

    void globalMonitorSeesOtherProgramsInput()
    {
        X11EventMonitors monitors(*m_connection);
        OtherClient other;
        other.input(XCB_MOTION_NOTIFY, 0, 700, 700);
        QList<PointerEvent> seen;
        auto context = std::make_unique<QObject>();
        const int id = monitors.addGlobalMonitor(~PointerEventTypes(), context.get(),
                                                 [&](const PointerEvent &e) { seen.append(e); });
        QVERIFY(id > 0);
        QTest::qWait(50);
        seen.clear();

        other.input(XCB_BUTTON_PRESS, 1);
        other.input(XCB_MOTION_NOTIFY, 0, 720, 710);
        other.input(XCB_BUTTON_RELEASE, 1);
        other.input(XCB_MOTION_NOTIFY, 0, 730, 710);
        other.input(XCB_BUTTON_PRESS, 3);
        other.input(XCB_MOTION_NOTIFY, 0, 740, 710);
        other.input(XCB_BUTTON_RELEASE, 3);
        other.input(XCB_BUTTON_PRESS, 5);
        other.input(XCB_BUTTON_RELEASE, 5);
        other.input(XCB_BUTTON_PRESS, 4);
        other.input(XCB_BUTTON_RELEASE, 4);
        const QList<PointerEventType> expected{
            PointerEventType::LeftMouseDown,  PointerEventType::LeftMouseDragged, PointerEventType::LeftMouseUp,
            PointerEventType::MouseMoved,     PointerEventType::RightMouseDown,   PointerEventType::RightMouseDragged,
            PointerEventType::RightMouseUp,   PointerEventType::ScrollWheel,      PointerEventType::ScrollWheel};
        QTRY_COMPARE(types(seen), expected);
        QCOMPARE(seen.at(7).delta, QPointF(0, -1));
        QCOMPARE(seen.at(8).delta, QPointF(0, 1));
        QVERIFY(!seen.at(8).hasPreciseScrollingDeltas);

        // Nothing reaches a removed monitor or one whose owner is gone.
        seen.clear();
        context.reset();
        other.input(XCB_MOTION_NOTIFY, 0, 750, 710);
        QTest::qWait(100);
        QVERIFY(seen.isEmpty());
        monitors.removeMonitor(id);
    }

    void ownWindowsGoToTheLocalMonitorOnly()
    {
        X11EventMonitors monitors(*m_connection);
        OtherClient other;
        other.input(XCB_MOTION_NOTIFY, 0, 700, 700);
        QList<PointerEventType> global;
        QList<PointerEventType> local;
        monitors.addGlobalMonitor(PointerEventType::LeftMouseDown, this,
                                  [&](const PointerEvent &e) { global.append(e.type); });
        monitors.addLocalMonitor(PointerEventType::LeftMouseDown | PointerEventType::MouseEntered, this,
                                 [&](const PointerEvent &e) { local.append(e.type); });
        auto window = std::make_unique<QWindow>();
        window->setFlags(Qt::Window | Qt::FramelessWindowHint);
        window->setGeometry(100, 100, 200, 200);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));

        other.input(XCB_MOTION_NOTIFY, 0, 150, 150);
        QTRY_COMPARE(local, QList<PointerEventType>{PointerEventType::MouseEntered});
        other.input(XCB_BUTTON_PRESS, 1);
        other.input(XCB_BUTTON_RELEASE, 1);
        QTRY_COMPARE(local.size(), 2);
        QCOMPARE(local.last(), PointerEventType::LeftMouseDown);
        QTest::qWait(100);
        QVERIFY(global.isEmpty());

        // Gone from under the pointer: the desktop is the global monitor's again.
        window.reset();
        other.input(XCB_BUTTON_PRESS, 1);
        other.input(XCB_BUTTON_RELEASE, 1);
        QTRY_COMPARE(global, QList<PointerEventType>{PointerEventType::LeftMouseDown});
    }

    void pointerPositionAndButtons()
    {
        X11Pointer pointer(*m_connection);
        OtherClient other;
        other.input(XCB_MOTION_NOTIFY, 0, 123, 45);
        QCOMPARE(pointer.position(), QPointF(123, 45));
        QCOMPARE(pointer.pressedButtons(), Qt::NoButton);
        other.input(XCB_BUTTON_PRESS, 1);
        QCOMPARE(pointer.pressedButtons(), Qt::LeftButton);
        other.input(XCB_BUTTON_RELEASE, 1);
        QCOMPARE(pointer.pressedButtons(), Qt::NoButton);
    }

    void pointerLooksArePacedByTheServer()
    {
        IdleQueue idleQueue;
        X11Pointer pointer(*m_connection);
        OtherClient other;
        other.input(XCB_MOTION_NOTIFY, 0, 200, 100);

        constexpr int kInterval = 60;
        std::mutex mutex;
        QList<std::optional<PointerSample>> looks;
        QList<qint64> times;
        QElapsedTimer clock;
        clock.start();
        TimerHandle run = pointer.sampleEvery(idleQueue, std::chrono::milliseconds(kInterval),
                                              [&](std::optional<PointerSample> look) {
                                                  std::lock_guard lock(mutex);
                                                  looks.append(look);
                                                  times.append(clock.elapsed());
                                              });
        auto locked = [&](auto read) {
            std::lock_guard lock(mutex);
            return read();
        };
        QTRY_VERIFY(locked([&] { return !looks.isEmpty(); }));
        QCOMPARE(locked([&] { return looks.first(); }), (PointerSample{QPoint(200, 100), Qt::NoButton}));
        QVERIFY(locked([&] { return times.first(); }) < kInterval);

        other.input(XCB_MOTION_NOTIFY, 0, 300, 150);
        other.input(XCB_BUTTON_PRESS, 1);
        QTRY_COMPARE(locked([&] { return looks.last(); }), (PointerSample{QPoint(300, 150), Qt::LeftButton}));
        other.input(XCB_BUTTON_RELEASE, 1);
        QTRY_VERIFY(locked([&] { return looks.size(); }) >= 4);

        run.cancel();
        const QList<qint64> paced = locked([&] { return times; });
        // The server holds each look back for the whole interval (its clock
        // counts whole milliseconds).
        for (qsizetype i = 1; i < paced.size(); ++i)
            QVERIFY2(paced[i] - paced[i - 1] >= kInterval - 2, qPrintable(QString::number(paced[i] - paced[i - 1])));
        // No look once cancel() has returned.
        QTest::qWait(2 * kInterval);
        QCOMPARE(locked([&] { return times.size(); }), paced.size());
    }

    void pacedLooksOutliveTheirServer()
    {
        IdleQueue idleQueue;
        auto desktop = std::make_unique<e2e::E2eDesktop>(e2e::E2eDesktop::Options{});
        QVERIFY2(desktop->start(), qPrintable(desktop->error()));
        X11Pointer pointer(*m_connection);
        std::mutex mutex;
        QList<std::optional<PointerSample>> looks;
        const QByteArray display = qgetenv("DISPLAY");
        qputenv("DISPLAY", desktop->display().toLatin1());
        TimerHandle run = pointer.sampleEvery(idleQueue, std::chrono::milliseconds(20),
                                              [&](std::optional<PointerSample> look) {
                                                  std::lock_guard lock(mutex);
                                                  looks.append(look);
                                              });
        qputenv("DISPLAY", display);
        auto count = [&](bool sampled) {
            std::lock_guard lock(mutex);
            return std::count_if(looks.cbegin(), looks.cend(), [&](const auto &look) { return look.has_value() == sampled; });
        };
        QTRY_VERIFY(count(true) > 0);

        // The server goes away: the looks go on, empty, and cancel() still ends them.
        desktop.reset();
        QTRY_VERIFY(count(false) >= 3);
        run.cancel();
    }

    void dragSelectionCountsDragsAndReadsTypes()
    {
        X11DragSelection selection(*m_connection);
        OtherClient source;
        const qint64 before = selection.changeCount();

        source.startDrag({"text/uri-list", "text/plain", "UTF8_STRING", "STRING"}, true);
        QTRY_COMPARE(selection.changeCount(), before + 1);
        QCOMPARE(selection.types(), (QStringList{QStringLiteral("text/uri-list"), QStringLiteral("text/plain"),
                                                  QStringLiteral("UTF8_STRING"), QStringLiteral("STRING")}));

        // A new drag forgets the old types at once, and picks up a list that
        // its source writes only after taking the selection.
        source.startDrag({"text/plain", "UTF8_STRING", "STRING", "TEXT"}, false);
        QTRY_COMPARE(selection.changeCount(), before + 2);
        QTRY_COMPARE(selection.types().value(0), QStringLiteral("text/plain"));
        QVERIFY(!selection.types().contains(QStringLiteral("text/uri-list")));
    }

    void dragSelectionAsksSourcesWithoutATypeList_data()
    {
        QTest::addColumn<bool>("answers");
        QTest::newRow("source answering") << true;
        QTest::newRow("silent source") << false;
    }
    void dragSelectionAsksSourcesWithoutATypeList()
    {
        QFETCH(bool, answers);
        X11DragSelection selection(*m_connection);
        OtherClient source;
        QTest::qWait(50); // news of earlier cases' sources going away
        const QByteArray uris("file:///tmp/a.txt\r\nhttps://example.org/\r\n");
        QElapsedTimer clock;
        clock.start();
        source.takeSelection();
        QTRY_VERIFY(selection.isAsking());
        QTRY_VERIFY_WITH_TIMEOUT((answers && (source.serve(uris), false)) || !selection.isAsking(), 1000);
        QCOMPARE_LT(clock.elapsed(), 500);
        QCOMPARE(selection.typesKnown(), answers);
        QCOMPARE(selection.types(), answers ? QStringList{QStringLiteral("text/uri-list")} : QStringList());
        QCOMPARE(selection.uriList(), answers ? std::optional(uris) : std::nullopt);
    }

    void workspaceChangesAndUnlocksAreReported()
    {
        LinuxSystemEvents events(*m_connection);
        QSignalSpy workspace(&events, &SystemEvents::activeWorkspaceChanged);
        QSignalSpy unlocked(&events, &SystemEvents::sessionUnlocked);

        OtherClient desktop; // a window manager switching workspaces
        const uint32_t number = 2;
        xcb_change_property(desktop.connection(), XCB_PROP_MODE_REPLACE,
                            xcb_setup_roots_iterator(xcb_get_setup(desktop.connection())).data->root,
                            desktop.atom("_NET_CURRENT_DESKTOP"), XCB_ATOM_CARDINAL, 32, 1, &number);
        desktop.sync();
        QTRY_COMPARE(workspace.count(), 1);

        if (!QDBusConnection::sessionBus().isConnected())
            QSKIP("no session bus for the screensaver's signal");
        QDBusConnection screensaver =
            QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("screensaver"));
        for (bool active : {true, false}) {
            QDBusMessage signal = QDBusMessage::createSignal(
                QStringLiteral("/org/freedesktop/ScreenSaver"), QStringLiteral("org.freedesktop.ScreenSaver"),
                QStringLiteral("ActiveChanged"));
            signal << active;
            screensaver.send(signal);
        }
        QTRY_COMPARE(unlocked.count(), 1);
        QTest::qWait(50);
        QCOMPARE(unlocked.count(), 1);
        QDBusConnection::disconnectFromBus(QStringLiteral("screensaver"));
    }

    void notchWindowShapesAndWindowManagerHints()
    {
        X11NotchWindow notch(*m_connection);
        notch.setFrame(QRect(530, 0, 860, 250));
        notch.raise();
        QVERIFY(QTest::qWaitForWindowExposed(notch.window()));
        xcb_connection_t *c = m_connection->get();
        const xcb_window_t window = notch.xWindow();

        auto shape = [&](xcb_shape_sk_t kind) { return e2e::shapeRectangles(c, window, kind); };
        // The shapes go out on Qt's connection and are read back on another.
        notch.setInputRegion(QRegion());
        QTRY_COMPARE(shape(XCB_SHAPE_SK_INPUT), QList<QRect>());
        notch.setInputRegion(QRegion(312, 0, 236, 32));
        QTRY_COMPARE(shape(XCB_SHAPE_SK_INPUT), QList<QRect>{QRect(312, 0, 236, 32)});
        notch.setBoundingRegion(QRegion(337, 0, 186, 24));
        QTRY_COMPARE(shape(XCB_SHAPE_SK_BOUNDING), QList<QRect>{QRect(337, 0, 186, 24)});
        notch.setBoundingRegion(std::nullopt);
        QTRY_COMPARE(shape(XCB_SHAPE_SK_BOUNDING), QList<QRect>{QRect(0, 0, 860, 250)});

        auto *reply = xcb_get_property_reply(
            c, xcb_get_property(c, false, window, m_connection->atom("_NET_WM_STATE"), XCB_ATOM_ATOM, 0, 32),
            nullptr);
        QVERIFY(reply);
        QStringList states;
        const auto *atoms = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply));
        for (int i = 0; i < xcb_get_property_value_length(reply) / 4; ++i)
            states.append(QString::fromLatin1(m_connection->atomName(atoms[i])));
        std::free(reply);
        for (const char *expected : {"_NET_WM_STATE_ABOVE", "_NET_WM_STATE_STICKY", "_NET_WM_STATE_SKIP_TASKBAR",
                                     "_NET_WM_STATE_SKIP_PAGER"})
            QVERIFY2(states.contains(QLatin1String(expected)), expected);
        QVERIFY(notch.window()->flags() & Qt::WindowDoesNotAcceptFocus);
    }
};

QTEST_MAIN(TestX11NotchServices)
#include "tst_x11notchservices.moc"
