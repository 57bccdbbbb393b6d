// How long the main thread stalls while the recent-downloads list refreshes a
// folder of many files; a frame lasts 16 ms. Two measures: the longest single
// event the main thread handled while refreshes ran (the work our code puts
// there), and the longest gap between ticks of a 1 ms heartbeat timer (which
// also counts the time the system gave to other programs: compare it with the
// idle figure).
//
//   bench_recentfiles [files] [rounds]

#include "platform/FolderChooser.h"
#include "platform/QtScheduler.h"
#include "platform/SerialWorkQueue.h"
#include "platform/linux/DesktopFileOpener.h"
#include "platform/linux/InodeFolderBookmarks.h"
#include "platform/linux/JsonFilePreferencesStorage.h"
#include "platform/linux/PosixFolderLister.h"
#include "preferences/Preferences.h"
#include "sources/RecentFilesManager.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace talvo;

namespace {

class NoChooser final : public FolderChooser
{
public:
    std::optional<QString> chooseFolder(const FolderChooserRequest &) override { return std::nullopt; }
    std::optional<QString> downloadsFolder() const override { return std::nullopt; }
};

bool touch(const QString &path, qint64 secondsSinceEpoch)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT, 0644);
    if (fd < 0)
        return false;
    const timespec times[2] = {{secondsSinceEpoch, 0}, {secondsSinceEpoch, 0}};
    const bool ok = futimens(fd, times) == 0;
    ::close(fd);
    return ok;
}

// Times every event the main thread handles.
class TimedApplication final : public QCoreApplication
{
public:
    using QCoreApplication::QCoreApplication;
    bool notify(QObject *receiver, QEvent *event) override
    {
        // Worker threads deliver their events through here too.
        if (QThread::currentThread() != thread())
            return QCoreApplication::notify(receiver, event);
        const qint64 cpuStart = threadCpuNs();
        QElapsedTimer timer;
        timer.start();
        const bool handled = QCoreApplication::notify(receiver, event);
        longestNs = std::max(longestNs, timer.nsecsElapsed());
        const qint64 cpu = threadCpuNs() - cpuStart;
        longestCpuNs = std::max(longestCpuNs, cpu);
        return handled;
    }
    static qint64 threadCpuNs()
    {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
    }
    qint64 longestNs = 0;    // wall clock, preemption included
    qint64 longestCpuNs = 0; // the main thread's own processor time
};

// Longest gap between heartbeat ticks, in ms.
class Heartbeat
{
public:
    Heartbeat()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            const qint64 now = m_clock.nsecsElapsed();
            m_longest = std::max(m_longest, now - m_last);
            m_last = now;
        });
        m_clock.start();
        m_timer.start();
    }
    void reset()
    {
        m_last = m_clock.nsecsElapsed();
        m_longest = 0;
    }
    double longestMs() const { return double(m_longest) / 1e6; }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_longest = 0;
};

void runFor(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
}

} // namespace

int main(int argc, char **argv)
{
    TimedApplication app(argc, argv);
    const int fileCount = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20000;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 10;

    QTemporaryDir root;
    const QString folder = root.filePath(QStringLiteral("Downloads"));
    QDir().mkpath(folder);
    QElapsedTimer setup;
    setup.start();
    const qint64 epoch = 1767225600; // 2026-01-01
    for (int i = 0; i < fileCount; ++i) {
        if (!touch(QStringLiteral("%1/file-%2.dat").arg(folder).arg(i), epoch + (i * 7919) % fileCount)) {
            std::fprintf(stderr, "cannot create files in %s\n", qPrintable(folder));
            return 1;
        }
    }
    std::printf("created %d files in %.1f s\n", fileCount, double(setup.elapsed()) / 1000);

    JsonFilePreferencesStorage storage(root.filePath(QStringLiteral("preferences.json")));
    Preferences preferences(storage);
    QtScheduler scheduler;
    InodeFolderBookmarks bookmarks;
    PosixFolderLister lister;
    DesktopFileOpener opener;
    NoChooser chooser;
    preferences.setObject(*bookmarks.createBookmark(folder).data, QStringLiteral("DownloadsFolderBookmark"));

    // What a refresh costs in one piece, as it would on the main thread.
    QElapsedTimer inline_;
    inline_.start();
    const FolderListing listing = lister.list(folder);
    const QList<QUrl> files = RecentFilesManager::selectRecentFiles(listing.entries);
    const double inlineMs = double(inline_.nsecsElapsed()) / 1e6;

    SerialWorkQueue queue(QStringLiteral("bench.recentfiles"));
    RecentFilesManager manager(preferences, scheduler, queue, chooser, bookmarks, lister, opener);
    Heartbeat heartbeat;
    runFor(200);
    heartbeat.reset();
    runFor(500);
    const double idleMs = heartbeat.longestMs();

    double worstMs = 0;
    app.longestNs = 0;
    app.longestCpuNs = 0;
    QList<double> latencies;
    for (int round = 0; round < rounds; ++round) {
        // A new download each round, so every refresh publishes.
        touch(QStringLiteral("%1/new-%2.dat").arg(folder).arg(round), epoch + fileCount + round);
        bool published = false;
        const auto connection = QObject::connect(&manager, &RecentFilesManager::recentFilesChanged,
                                                 [&published] { published = true; });
        heartbeat.reset();
        QElapsedTimer latency;
        latency.start();
        manager.refresh();
        while (!published && latency.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        latencies.append(double(latency.nsecsElapsed()) / 1e6);
        runFor(20);
        QObject::disconnect(connection);
        worstMs = std::max(worstMs, heartbeat.longestMs());
        if (!published) {
            std::fprintf(stderr, "round %d: nothing published\n", round);
            return 1;
        }
    }
    std::sort(latencies.begin(), latencies.end());

    std::printf("files listed: %lld, kept: %lld\n", qlonglong(listing.entries.size()), qlonglong(files.size()));
    std::printf("listing and choosing in one piece: %.1f ms (the stall it would cause on the main thread)\n",
                inlineMs);
    std::printf("refresh latency: median %.1f ms, worst %.1f ms over %d rounds\n",
                latencies.at(latencies.size() / 2), latencies.last(), rounds);
    std::printf("main thread, refreshing: longest event handled %.2f ms of processor time, %.2f ms of wall "
                "time (target < 16 ms)\n",
                double(app.longestCpuNs) / 1e6, double(app.longestNs) / 1e6);
    std::printf("heartbeat, refreshing: longest gap %.2f ms (idle: %.2f ms)\n", worstMs, idleMs);
    return 0;
}
