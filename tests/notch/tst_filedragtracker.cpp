#include "fakes/FakeNotchServices.h"
#include "notch/DragData.h"
#include "notch/FileDragTracker.h"

#include <QTest>

using namespace talvo;

namespace {

const QStringList kFileTypes{QStringLiteral("text/uri-list"), QStringLiteral("text/plain")};
const QStringList kTextTypes{QStringLiteral("text/plain"), QStringLiteral("UTF8_STRING")};
const QByteArray kFileList("file:///home/me/a.txt\r\n");
const QByteArray kLinkList("https://example.org/a\r\n");
const QByteArray kAppList("file:///usr/share/applications/org.gnome.Calculator.desktop\r\n");

} // namespace

// A missed file drag leaves the notch shut to a drop; a false one stretches it
// for text being selected. The bookkeeping of change counts tells them apart.
class TestFileDragTracker : public QObject
{
    Q_OBJECT
private slots:
    void tracksFileDrags_data()
    {
        // Steps: files / text (a program takes the drag selection with those
        // types), stale (the selection offers files without a new drag), ask
        // (a program takes it, its source being asked), then: local / link
        // (it answers with file types and that URL list), silent (it does not
        // answer); drag / rdrag / up (desktop pointer events), held / released
        // (the buttons) then the poll's check, shelf (a shelf item is being
        // dragged out), target (the pointer is over the drop target), enter /
        // enter-text (the drag reaches the notch window with files / text),
        // finish, shortcuts (the panel is open on the shortcuts tab), app (the
        // source answers with an application entry).
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<bool>("active");
        QTest::addColumn<bool>("unknown");
        QTest::addColumn<int>("activeCount"); // -1: none
        QTest::addColumn<int>("lastCompleted");
        // The selection starts at change count 7.
        QTest::newRow("text drag") << QStringList{"text", "drag"} << false << false << -1 << 7;
        QTest::newRow("file drag") << QStringList{"files", "drag"} << true << false << 8 << 7;
        QTest::newRow("selection from before the start") << QStringList{"stale", "drag"} << false << false << -1 << 7;
        QTest::newRow("release ends it") << QStringList{"files", "drag", "target", "up"} << false << false << -1 << 8;
        QTest::newRow("later drags over the finished selection")
            << QStringList{"files", "drag", "up", "drag", "rdrag"} << false << false << -1 << 8;
        QTest::newRow("a new drag after the end") << QStringList{"files", "drag", "up", "files", "rdrag"} << true << false << 9 << 8;
        QTest::newRow("new selection during a drag") << QStringList{"files", "drag", "files", "drag"} << true << false << 9 << 7;
        QTest::newRow("buttons held through the poll") << QStringList{"files", "drag", "held"} << true << false << 8 << 7;
        QTest::newRow("release swallowed, the poll ends it")
            << QStringList{"files", "drag", "released"} << false << false << -1 << 8;
        QTest::newRow("release ends a text drag over the target")
            << QStringList{"text", "drag", "target", "up"} << false << false << -1 << 8;
        QTest::newRow("text drag whose source quit, the poll ends it")
            << QStringList{"text", "drag", "target", "released"} << false << false << -1 << 8;
        QTest::newRow("shelf item drag") << QStringList{"shelf", "files", "drag"} << false << false << -1 << 7;
        QTest::newRow("finish without a drag takes the current count") << QStringList{"files", "finish"} << false << false << -1 << 8;
        QTest::newRow("source being asked") << QStringList{"ask", "drag"} << false << false << -1 << 7;
        QTest::newRow("answer while held still") << QStringList{"ask", "drag", "local"} << true << false << 8 << 7;
        QTest::newRow("web links") << QStringList{"ask", "drag", "link", "drag"} << false << false << -1 << 7;
        QTest::newRow("late web links undo the file drag") << QStringList{"files", "drag", "link"} << false << false << 8 << 7;
        QTest::newRow("application entry") << QStringList{"ask", "drag", "app"} << true << false << 8 << 7;
        QTest::newRow("application entry over the shortcuts tab")
            << QStringList{"shortcuts", "ask", "drag", "app", "drag"} << false << false << -1 << 7;
        QTest::newRow("late application entry undoes the file drag over the shortcuts tab")
            << QStringList{"shortcuts", "files", "drag", "app"} << false << false << 8 << 7;
        QTest::newRow("silent source") << QStringList{"ask", "drag", "silent"} << false << true << 8 << 7;
        QTest::newRow("silent source, enters with files")
            << QStringList{"ask", "silent", "drag", "enter", "drag"} << true << false << 8 << 7;
        QTest::newRow("silent source, enters with text")
            << QStringList{"ask", "silent", "drag", "enter-text", "drag"} << false << false << 8 << 7;
        QTest::newRow("release ends the unknown drag") << QStringList{"ask", "silent", "drag", "up"} << false << false << -1 << 8;
        QTest::newRow("poll ends the unknown drag")
            << QStringList{"ask", "silent", "drag", "released"} << false << false << -1 << 8;
    }
    void tracksFileDrags()
    {
        QFETCH(QStringList, steps);
        QFETCH(int, activeCount);
        FakeShelfServices services;
        FakeDragSelection drag;
        FakePointer pointer;
        FileDragTracker tracker(services.vm, drag, pointer);
        auto send = [&](PointerEventType type) { tracker.handleEvent(PointerEvent::of(type)); };
        for (const QString &step : steps) {
            if (step == u"files" || step == u"text") {
                pointer.buttons = Qt::LeftButton;
                drag.startDrag(step == u"files" ? kFileTypes : kTextTypes);
            } else if (step == u"stale") {
                drag.offered = kFileTypes;
            } else if (step == u"drag" || step == u"rdrag") {
                send(step == u"drag" ? PointerEventType::LeftMouseDragged : PointerEventType::RightMouseDragged);
            } else if (step == u"up") {
                send(PointerEventType::LeftMouseUp);
            } else if (step == u"held" || step == u"released") {
                pointer.buttons = step == u"held" ? Qt::LeftButton : Qt::NoButton;
                tracker.checkDragEnded();
            } else if (step == u"shelf") {
                services.vm.setIsShelfItemDragActive(true);
            } else if (step == u"target") {
                services.vm.setIsDragTargetActive(true);
            } else if (step == u"finish") {
                tracker.finish();
            } else if (step == u"ask") {
                pointer.buttons = Qt::LeftButton;
                drag.startDrag({}, true);
                tracker.selectionChanged();
            } else if (step == u"shortcuts") {
                services.vm.setIsHovering(true);
                services.vm.setIsFullyExpanded(true);
                services.vm.setActiveTab(NotchViewModel::NotchPanelTab::Shortcuts);
            } else if (step == u"local" || step == u"link" || step == u"app" || step == u"silent") {
                if (step == u"silent")
                    drag.answer(std::nullopt);
                else
                    drag.answer(kFileTypes, step == u"local" ? kFileList : step == u"link" ? kLinkList : kAppList);
                tracker.selectionChanged();
            } else if (step == u"enter" || step == u"enter-text") {
                tracker.typesArrived(step == u"enter");
            }
        }
        QTEST(services.vm.isFileDragActive(), "active");
        QTEST(tracker.isUnknownKindActive(), "unknown");
        QCOMPARE(tracker.activeChangeCount(), activeCount < 0 ? std::nullopt : std::optional<qint64>(activeCount));
        QTEST(int(tracker.lastCompletedChangeCount()), "lastCompleted");
        if (!services.vm.isFileDragActive())
            QVERIFY(!services.vm.isDragTargetActive());
    }

    void namesOnlyApplicationEntries_data()
    {
        QTest::addColumn<QByteArray>("uriList");
        QTest::addColumn<bool>("only");
        QTest::newRow("one entry") << kAppList << true;
        QTest::newRow("two entries, a comment, bare line ends")
            << QByteArray("# dragged\nfile:///a/x.desktop\nfile:///b/y.desktop\n") << true;
        QTest::newRow("an entry and a document") << QByteArray(kAppList + kFileList) << false;
        QTest::newRow("an entry and a web link") << QByteArray(kAppList + kLinkList) << false;
        QTest::newRow("a web address ending like an entry") << QByteArray("https://example.org/x.desktop\r\n") << false;
        QTest::newRow("empty") << QByteArray() << false;
    }
    void namesOnlyApplicationEntries()
    {
        QFETCH(QByteArray, uriList);
        QTEST(talvo::namesOnlyApplicationEntries(uriList), "only");
    }

    void carriesFiles_data()
    {
        QTest::addColumn<QStringList>("offered");
        QTest::addColumn<QByteArray>("uriList"); // empty: not read
        QTest::addColumn<bool>("files");
        QTest::newRow("uri list") << QStringList{"text/plain", "text/uri-list"} << QByteArray() << true;
        QTest::newRow("local file among links") << kFileTypes << QByteArray(kLinkList + kFileList) << true;
        QTest::newRow("web links only") << kFileTypes << kLinkList << false;
        QTest::newRow("kde uri list") << QStringList{"application/x-kde4-urilist"} << QByteArray() << true;
        QTest::newRow("portal transfer") << QStringList{"application/vnd.portal.filetransfer"} << QByteArray() << true;
        QTest::newRow("text") << kTextTypes << kFileList << false;
        QTest::newRow("nothing") << QStringList{} << QByteArray() << false;
    }
    void carriesFiles()
    {
        QFETCH(QStringList, offered);
        QFETCH(QByteArray, uriList);
        QTEST(FileDragTracker::carriesFiles(offered, uriList.isEmpty() ? std::nullopt : std::optional(uriList)), "files");
    }
};

QTEST_GUILESS_MAIN(TestFileDragTracker)
#include "tst_filedragtracker.moc"
