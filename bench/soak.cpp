// The real program on a private desktop for a long time (30 minutes unless
// told), under a seeded random mix of what a day brings: pointer moves,
// hovers, clicks, scrolls and tab switches; files, texts and images dragged in
// from Qt and GTK programs and added from the command line; tiles dragged out
// (copied, or moved with Shift) and removed; a media player changing tracks
// and quitting; preference changes through `talvo prefs`; calendar files
// appearing, changing and going; other programs taking the clipboard; the
// forecast changing. At the end it prints one line: crashes, resident memory
// after the warm-up (the first tenth) against the end, threads and open files
// then and at the end, the shelf's item count against the drops and removals
// made, and the slowest answer on the bus after an action. Exits 1 when a
// check fails: a crash or an unclean exit, memory grown by more than 5 %,
// threads or open files grown, items lost or made up, no answer on the bus.
//
// Usage: soak [--minutes N | --seconds N] [--seed N] [--log FILE] [--trace]
// (--log keeps the program's output; --trace prints each action as it ends,
// each fault with the notch's state, and keeps a screenshot of the notch at
// each fault in the temporary folder)
#include "CalendarFiles.h"
#include "E2eDesktop.h"
#include "fakes/FakeMprisPlayer.h"
#include "fakes/LoopbackHttpServer.h"
#include "fakes/TestImages.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <random>

using namespace talvo;
using namespace talvo::e2e;

namespace {

const QRectF kCollapsed(867.5, 0, 185, 24);
const QPoint kAway(960, 700);
const QPoint kHotZone(960, 5);
// Where drops land: inside the collapsed notch whether attached or floating.
const QPoint kDropPoint(960, 20);
const QPoint kSourcePress(200, 600);
// How many copies the clipboard history keeps.
constexpr int kClipboardHistory = 15;
// In the open panel (its width follows the widgets chosen, its top the
// shelf style), from its edges: the tray's first tile, the tile's remove button (shown
// while the pointer is on the tile) and "Clear All".
QPoint firstTile(const QRectF &panel)
{
    return QPoint(int(panel.left()) + 67, int(panel.top()) + 96);
}
QPoint firstTileRemove(const QRectF &panel)
{
    return QPoint(int(panel.left()) + 91, int(panel.top()) + 86);
}
QPoint clearAll(const QRectF &panel)
{
    return QPoint(int(panel.right()) - 65, int(panel.top()) + 56);
}
const QRect kTarget(650, 500, 300, 200);
const quint32 kShiftKey = 0xffe1;

// What /proc says about a process.
struct Usage
{
    double rssMb = 0;
    double anonMb = 0; // of rssMb, what no file backs
    int threads = 0;
    int fds = 0;
};

Usage usageOf(qint64 pid)
{
    Usage usage;
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n')) {
            const auto megabytes = [&line](qsizetype from) {
                return line.mid(from).trimmed().split(' ').value(0).toDouble() / 1024.0;
            };
            if (line.startsWith("VmRSS:"))
                usage.rssMb = megabytes(6);
            else if (line.startsWith("RssAnon:"))
                usage.anonMb = megabytes(8);
        }
    }
    usage.threads = int(QDir(QStringLiteral("/proc/%1/task").arg(pid)).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
    usage.fds = int(QDir(QStringLiteral("/proc/%1/fd").arg(pid)).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).size());
    return usage;
}

QByteArray forecast(int code, double temperature)
{
    return QStringLiteral(R"({"current":{"temperature_2m":%1,"apparent_temperature":%2,"weather_code":%3}})")
        .arg(temperature)
        .arg(temperature - 2)
        .arg(code)
        .toUtf8();
}

QStringList geometryArgs(const QRect &rect)
{
    return {QString::number(rect.x()), QString::number(rect.y()), QString::number(rect.width()),
            QString::number(rect.height())};
}

class Soak
{
public:
    Soak(E2eDesktop &desktop, LoopbackHttpServer &server, unsigned seed)
        : m_desktop(desktop), m_server(server), m_random(seed)
    {
    }

    bool start(const QString &logPath, bool trace)
    {
        m_trace = trace;
        m_clock.start();
        QDir().mkpath(calendarFolder());
        writeEvent(0);
        // Straight into a file: through a pipe, the program would wait on
        // its own log while this side waits on the program.
        m_logPath = logPath.isEmpty() ? m_files.filePath(QStringLiteral("talvo.log")) : logPath;
        m_talvo = std::make_unique<QProcess>();
        m_talvo->setProcessEnvironment(m_desktop.environment());
        m_talvo->setProcessChannelMode(QProcess::MergedChannels);
        m_talvo->setStandardOutputFile(m_logPath);
        m_talvo->start(QStringLiteral(TALVO_BINARY), QStringList());
        m_target = m_desktop.startProgram(QStringLiteral(TALVO_E2E_DROPTARGET),
                                          geometryArgs(kTarget) + QStringList{m_targetFolder.path()});
        return m_talvo->waitForStarted()
               && QTest::qWaitFor([this] { return m_desktop.notchRect() == kCollapsed; }, 20000)
               && E2eDesktop::waitForLine(m_target, QStringLiteral("ready"));
    }
    ~Soak()
    {
        if (m_talvo && m_talvo->state() != QProcess::NotRunning) {
            m_talvo->kill();
            m_talvo->waitForFinished(5000);
        }
    }

    bool alive() const { return m_talvo->state() == QProcess::Running; }
    qint64 pid() const { return m_talvo->processId(); }
    int expectedItems() const { return m_expected; }
    int itemCount() const { return m_desktop.controlProperty(QStringLiteral("itemCount")).toInt(); }
    int unsure() const { return m_unsure; }
    const QStringList &faults() const { return m_faults; }
    // The program's last lines of output.
    QStringList logTail() const
    {
        QFile log(m_logPath);
        if (!log.open(QIODevice::ReadOnly))
            return {};
        const QStringList lines = QString::fromUtf8(log.readAll()).split(u'\n', Qt::SkipEmptyParts);
        return lines.mid(std::max<qsizetype>(0, lines.size() - 40));
    }

    // One action of the mix, chosen by weight; the shelf is kept between a
    // few and a dozen items, so that its own growth does not count as a leak.
    void step()
    {
        struct Action
        {
            int weight;
            void (Soak::*run)();
            const char *name;
        };
        const int items = m_expected;
        const int removeWeight = items > 12 ? 30 : items > 4 ? 6 : 1;
        const int addWeight = items > 12 ? 1 : 5;
        const Action actions[] = {
            {8, &Soak::pointerMove, "pointer move"},
            {6, &Soak::hover, "hover"},
            {5, &Soak::clickOpen, "click"},
            {4, &Soak::scroll, "scroll"},
            {4, &Soak::switchTab, "tab switch"},
            {addWeight, &Soak::dropFiles, "file drop"},
            {addWeight, &Soak::dropGtk, "GTK drop"},
            {addWeight, &Soak::dropTextOrImage, "text or image drop"},
            {2, &Soak::addFromCommandLine, "talvo add"},
            {removeWeight, &Soak::tileOut, "tile out"},
            {removeWeight, &Soak::removeTile, "remove button"},
            {4, &Soak::player, "player"},
            {4, &Soak::preference, "talvo prefs"},
            {3, &Soak::calendar, "calendar file"},
            {3, &Soak::clipboard, "clipboard"},
            {2, &Soak::weather, "forecast"},
        };
        int total = 0;
        for (const Action &action : actions)
            total += action.weight;
        int pick = std::uniform_int_distribution<int>(0, total - 1)(m_random);
        for (const Action &action : actions) {
            if (pick < action.weight) {
                const int expected = m_expected;
                (this->*action.run)();
                checkAnswers(action.name);
                if (m_trace)
                    std::printf("%6.1f s  %s  items %d -> %d\n", m_clock.elapsed() / 1000.0, action.name, expected,
                                m_expected);
                break;
            }
            pick -= action.weight;
        }
        ++m_actions;
    }
    int actions() const { return m_actions; }
    qint64 slowestAnswerMs() const { return m_slowestAnswerMs; }

    // Brings the program to the same quiet state before a measurement: the
    // notch collapsed, the pointer away, and left alone for a little over a
    // minute, as a desktop sits between bursts of use. The program hands freed
    // memory back to the system once a minute while closed; measuring sooner
    // would count pages freed but not yet returned, which vary with the last
    // few actions. The shelf is emptied (with Clear All), the player leaves
    // and the clipboard history is filled with short texts, so that what they
    // hold does not count as growth: the history keeps the last pictures
    // copied, a few hundred kilobytes each.
    Usage settleAndMeasure()
    {
        if (const auto panel = m_expected > 0 ? openTray() : std::nullopt) {
            glideTo(clearAll(*panel));
            m_desktop.click(clearAll(*panel));
            m_expected = 0;
            expectItems(QStringLiteral("Clear All"));
        }
        m_player.reset();
        fillClipboardHistory();
        glideTo(kAway);
        talvo({QStringLiteral("collapse")});
        QTest::qWait(65000);
        if (m_trace) {
            const QString fds = QStringLiteral("/proc/%1/fd").arg(pid());
            QStringList open;
            for (const QString &fd : QDir(fds).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
                open.append(QFileInfo(QFile::symLinkTarget(fds + u'/' + fd)).fileName());
            open.sort();
            std::printf("    open files: %s\n", qPrintable(open.join(u' ')));
            // Mapping by mapping, to tell which one grew between the two.
            QFile smaps(QStringLiteral("/proc/%1/smaps").arg(pid()));
            QFile copy(m_logPath + QStringLiteral(".smaps-%1").arg(m_clock.elapsed() / 1000));
            if (smaps.open(QIODevice::ReadOnly) && copy.open(QIODevice::WriteOnly))
                copy.write(smaps.readAll());
        }
        return usageOf(pid());
    }

    // Asks the program to quit as the session would; true when it ends cleanly.
    bool quit()
    {
        m_player.reset();
        m_talvo->terminate();
        const bool ended = m_talvo->waitForFinished(30000);
        return ended && m_talvo->exitStatus() == QProcess::NormalExit && m_talvo->exitCode() == 0;
    }

private:
    int random(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }
    bool chance(double p) { return std::bernoulli_distribution(p)(m_random); }
    QVariant state(const char *name) const { return m_desktop.controlProperty(QString::fromLatin1(name)); }
    bool talvo(const QStringList &arguments) { return m_desktop.run(QStringLiteral(TALVO_BINARY), arguments); }

    QString calendarFolder() const
    {
        return m_desktop.environment().value(QStringLiteral("XDG_DATA_HOME")) + QStringLiteral("/talvo/calendars/personal");
    }
    void writeEvent(int index)
    {
        QFile file(calendarFolder() + QStringLiteral("/soak-%1.ics").arg(index));
        if (file.open(QIODevice::WriteOnly))
            file.write(icsEvent(QStringLiteral("soak-%1").arg(index), QStringLiteral("Event %1").arg(random(0, 999)),
                                QDateTime(QDate::currentDate().addDays(random(-1, 3)), QTime(random(0, 22), 0))));
    }

    // A hung main thread shows as a bus that does not answer.
    void checkAnswers(const char *after)
    {
        QElapsedTimer answer;
        answer.start();
        const bool answered = state("itemCount").isValid();
        m_slowestAnswerMs = std::max(m_slowestAnswerMs, answer.elapsed());
        if (!answered && alive())
            m_faults.append(QStringLiteral("no answer on the bus after %1").arg(QLatin1String(after)));
        // An outline of no size or an endless one leaves nothing to point at.
        const QList<double> rect = state("notchRect").value<QList<double>>();
        if (answered && std::any_of(rect.begin(), rect.end(), [](double v) { return !qIsFinite(v); }))
            m_faults.append(QStringLiteral("the outline is not finite after %1").arg(QLatin1String(after)));
    }

    void glideTo(QPoint to)
    {
        m_desktop.glidePointer(m_pointer, to, 8, 10);
        m_pointer = to;
    }

    QString makeFile(bool picture)
    {
        const QString name = QStringLiteral("soak-%1.%2").arg(++m_fileNumber).arg(picture ? "png" : "txt");
        QFile file(m_files.filePath(name));
        file.open(QIODevice::WriteOnly);
        if (picture)
            file.write(pngBytes(QColor::fromHsv(random(0, 359), 200, 200), QSize(random(16, 600), random(16, 600))));
        else
            file.write(QByteArray(random(1, 4000), 'x'));
        return file.fileName();
    }

    // The shelf should now hold what the soak put there; a count that does
    // not come is a fault, and the count is taken from there on.
    void expectItems(const QString &after)
    {
        if (QTest::qWaitFor([this] { return itemCount() == m_expected; }, 4000))
            return;
        const int count = itemCount();
        m_faults.append(QStringLiteral("%1 items where %2 were expected after %3").arg(count).arg(m_expected).arg(after));
        if (m_trace) {
            const QList<double> r = state("notchRect").value<QList<double>>();
            const QString rect =
                QStringLiteral("%1,%2 %3x%4").arg(r.value(0)).arg(r.value(1)).arg(r.value(2)).arg(r.value(3));
            std::printf("    %s; target %d hint %d panel %d tab %s rect %s\n", qPrintable(m_faults.constLast()),
                        state("isDragTargetActive").toBool(), state("isFileDragActive").toBool(),
                        state("panelPresent").toBool(), qPrintable(state("activeTab").toString()),
                        qPrintable(rect));
            m_desktop.grab(QRect(530, 0, 860, 250))
                .save(QDir(QDir::tempPath()).filePath(QStringLiteral("soak-fault-%1.png").arg(m_faults.size())));
        }
        m_expected = count;
    }
    // A drag that did not reach the notch in time (a busy machine) may or may
    // not have dropped: the shelf's own count is taken.
    void drop(const QString &program, const QStringList &offer, int count, const QString &what)
    {
        const bool arrived = m_desktop.dragFromSource(program, offer, kSourcePress, kDropPoint, [this] {
            return state("isDragTargetActive").toBool();
        });
        if (!arrived && m_desktop.error() == u"the drag did not start")
            m_desktop.releaseButton(1);
        m_pointer = kDropPoint;
        // The source serves the data after its drag has ended: it leaves only
        // once the shelf has taken it.
        if (arrived) {
            m_expected += count;
            expectItems(what);
        } else {
            ++m_unsure;
            QTest::qWait(1500);
            m_expected = itemCount();
        }
        m_desktop.stopProgramsOf(program);
        if (!QTest::qWaitFor([this] { return !state("isFileDragActive").toBool(); }, 3000))
            m_faults.append(QStringLiteral("the drag hint stayed after %1").arg(what));
        glideTo(kAway);
    }

    // Opens the panel on the tray tab from the command line; the panel's
    // outline, or none when it did not open.
    std::optional<QRectF> openTray()
    {
        if (!talvo({QStringLiteral("open"), QStringLiteral("tray")}))
            return std::nullopt;
        const bool open = QTest::qWaitFor([this] {
            return state("isFullyExpanded").toBool() && state("activeTab").toString() == u"tray"
                   && m_desktop.notchRect().height() > 150;
        }, 3000);
        QTest::qWait(400); // the tiles fade in
        if (!open)
            return std::nullopt;
        return m_desktop.notchRect();
    }

    void pointerMove()
    {
        glideTo(QPoint(random(0, 1919), random(150, 1079)));
        QTest::qWait(random(0, 300));
    }
    void hover()
    {
        glideTo(kHotZone + QPoint(random(-60, 60), random(0, 10)));
        QTest::qWait(random(100, 1500));
        glideTo(kAway);
    }
    void clickOpen()
    {
        if (m_desktop.openPanel(kAway, kHotZone)) {
            m_pointer = kHotZone;
            QTest::qWait(random(200, 1500));
        }
        if (chance(0.5))
            m_desktop.click(QPoint(random(100, 1800), random(800, 1000)));
        glideTo(kAway);
    }
    void scroll()
    {
        glideTo(chance(0.5) ? kHotZone : QPoint(960, 100));
        for (int notch = random(1, 3); notch > 0; --notch) {
            const int button = chance(0.5) ? 4 : 5;
            m_desktop.pressButton(button);
            m_desktop.releaseButton(button);
            QTest::qWait(150);
        }
        QTest::qWait(random(100, 800));
    }
    void switchTab()
    {
        static const char *const tabs[] = {"home", "tray", "shortcuts"};
        talvo({QStringLiteral("open"), QString::fromLatin1(tabs[random(0, 2)])});
        QTest::qWait(random(200, 1000));
        if (chance(0.5))
            talvo({QStringLiteral("collapse")});
    }
    void dropFiles()
    {
        QStringList offer{chance(0.5) ? QStringLiteral("--files") : QStringLiteral("--urls")};
        const int count = random(1, 3);
        for (int i = 0; i < count; ++i)
            offer.append(makeFile(chance(0.4)));
        drop(QStringLiteral(TALVO_E2E_DRAGSOURCE), offer, count, QStringLiteral("a drop of %1 files").arg(count));
    }
    void dropGtk()
    {
#ifdef TALVO_E2E_GTKDRAGSOURCE
        static const char *const typeCounts[] = {"1", "2", "3", "5"};
        drop(QStringLiteral(TALVO_E2E_GTKDRAGSOURCE),
             {QString::fromLatin1(typeCounts[random(0, 3)]), makeFile(chance(0.4))}, 1,
             QStringLiteral("a drop from GTK"));
#else
        dropFiles();
#endif
    }
    void dropTextOrImage()
    {
        if (chance(0.5))
            drop(QStringLiteral(TALVO_E2E_DRAGSOURCE), {QStringLiteral("--text"), QStringLiteral("note %1").arg(random(0, 99999))},
                 1, QStringLiteral("a text drop"));
        else
            drop(QStringLiteral(TALVO_E2E_DRAGSOURCE),
                 {QStringLiteral("--image"), QString::number(random(8, 800)), QString::number(random(8, 800))}, 1,
                 QStringLiteral("an image drop"));
    }
    void addFromCommandLine()
    {
        const bool text = chance(0.5);
        if (talvo(text ? QStringList{QStringLiteral("add"), QStringLiteral("--text"), QStringLiteral("added %1").arg(random(0, 9999))}
                       : QStringList{QStringLiteral("add"), makeFile(chance(0.5))})) {
            ++m_expected;
            expectItems(QStringLiteral("talvo add"));
        }
    }
    void tileOut()
    {
        const auto panel = m_expected > 0 ? openTray() : std::nullopt;
        if (!panel)
            return;
        const QString first = state("items").toStringList().value(0);
        const bool shift = chance(0.5);
        const QPoint tile = firstTile(*panel);
        glideTo(tile);
        m_desktop.pressButton(1);
        m_desktop.glidePointer(tile, tile + QPoint(0, 10), 2, 30);
        if (shift)
            m_desktop.pressKey(kShiftKey);
        m_pointer = tile + QPoint(0, 10);
        for (const QPoint step : {QPoint(620, 200), QPoint(700, 350), QPoint(760, 450), kTarget.center(),
                                  kTarget.center() + QPoint(3, 3), kTarget.center()}) {
            m_desktop.glidePointer(m_pointer, step, 4, 30);
            m_pointer = step;
            QTest::qWait(100);
        }
        m_desktop.releaseButton(1);
        if (shift)
            m_desktop.releaseKey(kShiftKey);
        if (!QTest::qWaitFor([this] { return !state("isShelfItemDragActive").toBool(); }, 3000))
            m_faults.append(QStringLiteral("a tile's drag stayed active after its drop"));
        if (first.startsWith(u"file:") || first.startsWith(u"text:")) {
            // The target names what it took.
            if (!QTest::qWaitFor([this] { return m_target->canReadLine(); }, 3000))
                ++m_unsure;
            m_target->readAll();
        }
        // A moved file leaves the shelf once it is gone from its place.
        if (shift && first.startsWith(u"file:") && !QFile::exists(first.mid(5))) {
            --m_expected;
            expectItems(QStringLiteral("a move out"));
        } else if (shift && first.startsWith(u"file:")) {
            ++m_unsure; // the drop did not reach the target in time
            QTest::qWait(3000);
            m_expected = itemCount();
        }
        glideTo(kAway);
    }
    void removeTile()
    {
        const auto panel = m_expected > 0 ? openTray() : std::nullopt;
        if (!panel)
            return;
        glideTo(firstTile(*panel));
        QTest::qWait(300);
        glideTo(firstTileRemove(*panel));
        QTest::qWait(200);
        m_desktop.click(firstTileRemove(*panel));
        --m_expected;
        expectItems(QStringLiteral("the remove button"));
        glideTo(kAway);
    }
    void player()
    {
        if (!m_player) {
            const bool spotify = chance(0.5);
            m_player = std::make_unique<FakeMprisPlayer>(
                m_desktop.busAddress(),
                spotify ? QStringLiteral("org.mpris.MediaPlayer2.spotify") : QStringLiteral("org.mpris.MediaPlayer2.soak"),
                spotify ? QStringLiteral("Spotify") : QStringLiteral("Soak Player"),
                spotify ? QStringLiteral("spotify") : QStringLiteral("soak"));
            QList<FakeMprisPlayer::Track> tracks;
            for (int i = 0; i < 4; ++i)
                tracks.append({QStringLiteral("Track %1").arg(random(0, 999)), {QStringLiteral("Artist %1").arg(i)},
                               qlonglong(random(60, 400)) * 1000000,
                               m_server.url(QStringLiteral("/cover-%1.png").arg(i)).toString()});
            m_player->setTracks(tracks);
            m_player->setPlaybackStatus(QStringLiteral("Playing"), false);
            if (!m_player->start())
                m_player.reset();
            QTest::qWait(random(300, 1500));
            return;
        }
        switch (random(0, 5)) {
        case 0:
            m_player->quit();
            m_player.reset();
            break;
        case 1:
            m_player->setPlaybackStatus(m_player->playbackStatus() == u"Playing" ? QStringLiteral("Paused")
                                                                                  : QStringLiteral("Playing"));
            break;
        default:
            m_player->setCurrent((m_player->current() + 1) % 4);
            break;
        }
        QTest::qWait(random(300, 1500));
    }
    void preference()
    {
        static const QList<QPair<const char *, QStringList>> choices{
            {"shelfStyle", {"attached", "floating"}},
            {"enableGlassUI", {"true", "false"}},
            {"showTabLabels", {"true", "false"}},
            {"enableFramelessWidgets", {"true", "false"}},
            {"targetDisplay", {"main", "active"}},
            {"activeWidgetsOrder",
             {"music,weather,calendar", "calendar,music", "clipboard,weather,calendar", "scratchpad,clipboard,colorPicker",
              "recentFiles,music,weather"}},
        };
        const auto &[key, values] = choices.at(random(0, int(choices.size()) - 1));
        talvo({QStringLiteral("prefs"), QStringLiteral("set"), QString::fromLatin1(key),
               values.at(random(0, int(values.size()) - 1))});
        QTest::qWait(random(100, 600));
    }
    void calendar()
    {
        const int index = random(0, 5);
        QFile file(calendarFolder() + QStringLiteral("/soak-%1.ics").arg(index));
        if (file.exists() && chance(0.3))
            file.remove();
        else
            writeEvent(index);
        QTest::qWait(random(100, 800));
    }
    void clipboard()
    {
        if (chance(0.7))
            takeClipboard({QStringLiteral("text"), QStringLiteral("copied %1").arg(random(0, 99999))});
        else if (chance(0.8))
            takeClipboard({QStringLiteral("image"), QString::number(random(4, 400)), QString::number(random(4, 400)),
                           QStringLiteral("#3080c0")});
        else // a screenshot, which the history packs
            takeClipboard({QStringLiteral("image"), QString::number(random(1800, 2600)),
                           QString::number(random(1000, 1400)), QStringLiteral("#c08030")});
        QTest::qWait(random(100, 800));
    }
    void takeClipboard(const QStringList &arguments)
    {
        // What was copied and whether the history's card could see it.
        if (m_trace)
            std::printf("         copy %s, panel %s on %s\n", qPrintable(arguments.join(u' ')),
                        state("panelPresent").toBool() ? "open" : "closed", qPrintable(state("activeTab").toString()));
        m_desktop.stopProgramsOf(QStringLiteral(TALVO_E2E_CLIPBOARD));
        QProcess *owner = m_desktop.startProgram(QStringLiteral(TALVO_E2E_CLIPBOARD), arguments);
        E2eDesktop::waitForLine(owner, QStringLiteral("ready"), 5000);
    }
    // Replaces what the clipboard history holds with short texts. The history
    // records while its card shows.
    void fillClipboardHistory()
    {
        glideTo(kAway);
        talvo({QStringLiteral("prefs"), QStringLiteral("set"), QStringLiteral("activeWidgetsOrder"),
               QStringLiteral("clipboard,weather,calendar")});
        if (!talvo({QStringLiteral("open"), QStringLiteral("home")})
            || !QTest::qWaitFor([this] { return state("isFullyExpanded").toBool(); }, 3000)) {
            m_faults.append(QStringLiteral("the panel did not open to fill the clipboard history"));
            return;
        }
        for (int i = 0; i < kClipboardHistory; ++i) {
            takeClipboard({QStringLiteral("text"), QStringLiteral("settled %1").arg(i)});
            QTest::qWait(800); // past the history's poll
        }
        if (m_trace)
            m_desktop.grab(m_desktop.notchRect().toAlignedRect()).save(m_logPath + QStringLiteral(".history.png"));
    }
    void weather()
    {
        static const int codes[] = {0, 2, 3, 45, 61, 63, 71, 95};
        m_server.setReply(QStringLiteral("/v1/forecast"),
                          LoopbackHttpServer::Reply::json(forecast(codes[random(0, 7)], random(-150, 350) / 10.0)));
        // The panel fetches again when it opens.
        if (chance(0.5))
            clickOpen();
    }

    E2eDesktop &m_desktop;
    LoopbackHttpServer &m_server;
    std::mt19937 m_random;
    std::unique_ptr<QProcess> m_talvo;
    QProcess *m_target = nullptr;
    std::unique_ptr<FakeMprisPlayer> m_player;
    QString m_logPath;
    QTemporaryDir m_files;
    QTemporaryDir m_targetFolder;
    QPoint m_pointer = kAway;
    int m_fileNumber = 0;
    int m_expected = 0;
    int m_unsure = 0;
    int m_actions = 0;
    qint64 m_slowestAnswerMs = 0;
    QStringList m_faults;
    bool m_trace = false;
    QElapsedTimer m_clock;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // Line by line, also into a file: a trace cut short still tells.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    int seconds = 30 * 60;
    unsigned seed = 1;
    QString logPath;
    bool trace = false;
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        const QString value = args.value(i + 1);
        if (args[i] == u"--minutes")
            seconds = value.toInt() * 60;
        else if (args[i] == u"--seconds")
            seconds = value.toInt();
        else if (args[i] == u"--seed")
            seed = value.toUInt();
        else if (args[i] == u"--log")
            logPath = value;
        else if (args[i] == u"--trace") {
            trace = true;
            continue;
        }
        else {
            std::fprintf(stderr, "usage: soak [--minutes N | --seconds N] [--seed N] [--log FILE] [--trace]\n");
            return 2;
        }
        ++i;
    }
    if (seconds < 10) {
        std::fprintf(stderr, "soak: the run must last 10 s or more\n");
        return 2;
    }
    if (const QString missing = missingTool({"Xvfb", "dbus-daemon", "xcompmgr"}); !missing.isEmpty()) {
        std::fprintf(stderr, "soak: %s is not installed\n", qPrintable(missing));
        return 1;
    }

    LoopbackHttpServer server;
    if (!server.listen())
        return 1;
    server.setReply(QStringLiteral("/v1/forecast"), LoopbackHttpServer::Reply::json(forecast(2, 12.3)));
    for (int i = 0; i < 4; ++i)
        server.setReply(QStringLiteral("/cover-%1.png").arg(i),
                        LoopbackHttpServer::Reply::typed("image/png", pngBytes(QColor::fromHsv(i * 90, 200, 220), {300, 300})));

    // A compositing manager leaves the whole notch window drawn, so drags find
    // it in the margin around the outline too.
    E2eDesktop desktop({QSize(1920, 1080), true, QStringLiteral(TALVO_E2E_WINDOW)});
    if (!desktop.start()) {
        std::fprintf(stderr, "soak: cannot start the desktop: %s\n", qPrintable(desktop.error()));
        return 1;
    }
    // Nothing leaves the machine: every service the program asks is ours.
    desktop.setEnvironmentValue(QStringLiteral("TALVO_FORECAST_URL"), server.url().toString());
    desktop.setEnvironmentValue(QStringLiteral("TALVO_GEOCODER_URL"), server.url().toString());
    desktop.movePointer(kAway);
    if (!desktop.run(QStringLiteral(TALVO_BINARY), {QStringLiteral("prefs"), QStringLiteral("set"),
                                                    QStringLiteral("hasCompletedOnboarding"), QStringLiteral("true")})) {
        std::fprintf(stderr, "soak: cannot set the preferences\n");
        return 1;
    }

    Soak soak(desktop, server, seed);
    if (!soak.start(logPath, trace)) {
        std::fprintf(stderr, "soak: the program did not come up\n");
        return 1;
    }

    const qint64 warmUpMs = qint64(seconds) * 100; // a tenth of the run
    QElapsedTimer clock;
    clock.start();
    std::optional<Usage> warm;
    qint64 nextSampleMs = 60000;
    while (soak.alive() && clock.elapsed() < qint64(seconds) * 1000) {
        if (!warm && clock.elapsed() >= warmUpMs)
            warm = soak.settleAndMeasure();
        // The trend between the two measurements, whatever state it is in.
        if (trace && clock.elapsed() >= nextSampleMs) {
            const Usage now = usageOf(soak.pid());
            std::printf("  rss %.1f MB (%.1f anonymous), %d threads, %d fds at %lld s\n", now.rssMb, now.anonMb,
                        now.threads, now.fds, clock.elapsed() / 1000);
            nextSampleMs += 60000;
        }
        soak.step();
    }
    int crashes = soak.alive() ? 0 : 1;
    Usage end;
    int items = -1;
    int expected = soak.expectedItems();
    if (!crashes) {
        // The shelf is compared before the measurement empties it.
        if (!QTest::qWaitFor([&] { return soak.itemCount() == expected; }, 5000))
            QTest::qWait(0);
        items = soak.itemCount();
        end = soak.settleAndMeasure();
        if (!soak.quit())
            crashes = 1;
    }
    if (!warm)
        warm = end;

    const double growth = warm->rssMb > 0 ? (end.rssMb - warm->rssMb) / warm->rssMb * 100 : 0;
    const QString minutes = seconds % 60 == 0 ? QStringLiteral("%1 min").arg(seconds / 60)
                                              : QStringLiteral("%1 s").arg(seconds);
    std::printf("soak: %s seed %u: %d crashes, rss %.1f -> %.1f MB (%+.1f %%), threads %d -> %d, fds %d -> %d, "
                "items %d %s %d, %d actions, %d drags unsure, slowest answer %lld ms\n",
                qPrintable(minutes), seed, crashes, warm->rssMb, end.rssMb, growth, warm->threads, end.threads,
                warm->fds, end.fds, items, items == expected ? "=" : "!=", expected,
                soak.actions(), soak.unsure(), soak.slowestAnswerMs());
    for (const QString &fault : soak.faults())
        std::printf("  %s\n", qPrintable(fault));

    // Thread pools may keep a worker or two more at one moment than another.
    const bool failed = crashes > 0 || growth > 5.0 || end.threads > warm->threads + 2 || end.fds > warm->fds + 2
                        || items != expected || !soak.faults().isEmpty();
    if (failed) {
        std::fprintf(stderr, "soak: failed; the program's last words:\n");
        for (const QString &line : soak.logTail())
            std::fprintf(stderr, "  %s\n", qPrintable(line));
    }
    return failed ? 1 : 0;
}
