#include "fakes/FakeAppServices.h"
#include "fakes/FakeInputVolume.h"
#include "fakes/FakeNotchServices.h"
#include "fakes/FakeSystemActions.h"
#include "fakes/InlineWorkQueue.h"
#include "panel/FavoriteAppsModel.h"
#include "panel/ShortcutActionsModel.h"
#include "sources/MicManager.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace talvo;
using namespace Qt::Literals::StringLiterals;

namespace {

QStringList field(const QVariantList &list, const char *key)
{
    QStringList values;
    for (const QVariant &entry : list)
        values.append(entry.toMap().value(QLatin1String(key)).toString());
    return values;
}

} // namespace

// The shortcuts tab: its system-action buttons and the favourite applications.
class TestShortcutsTab : public QObject
{
    Q_OBJECT

    FakeShelfServices m_services;
    FakeSystemActions m_actions;
    InlineWorkQueue m_queue;
    FakeInputVolume m_input{50};
    MicManager m_mic{m_input, m_queue, m_services.scheduler};
    ShortcutActionsModel m_shortcuts{m_actions, m_queue, m_mic};
    AppJournal m_journal;
    FakeAppWindowFactory m_windows{m_journal};
    FavoriteAppsModel m_favorites{m_services.vm, m_services.apps, m_windows};
    QTemporaryDir m_dir;

    QString entry(const QString &name)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write("[Desktop Entry]\nType=Application\n");
        return path;
    }
    void setFavorites(const QStringList &paths)
    {
        for (const QString &path : m_services.vm.favoriteApps())
            m_services.vm.removeFavoriteApp(path);
        for (const QString &path : paths)
            m_services.vm.addFavoriteApp(path);
    }

private slots:
    void gridFollowsTheMicrophone_data()
    {
        QTest::addColumn<int>("volume");
        QTest::addColumn<QString>("micTitle");
        QTest::addColumn<QString>("micSymbol");
        QTest::addColumn<bool>("red");
        QTest::newRow("live") << 50 << u"Mute Mic"_s << u"mic.fill"_s << false;
        QTest::newRow("muted") << 0 << u"Unmute Mic"_s << u"mic.slash.fill"_s << true;
    }
    void gridFollowsTheMicrophone()
    {
        QFETCH(int, volume);
        m_input.volume = volume;
        m_mic.poll();
        m_services.scheduler.runPending();
        const QVariantList buttons = m_shortcuts.buttons();
        QCOMPARE(field(buttons, "id"), (QStringList{u"lock"_s, u"sleep"_s, u"mic"_s, u"darkMode"_s, u"emptyTrash"_s}));
        QFETCH(QString, micTitle);
        QCOMPARE(field(buttons, "title"),
                 (QStringList{u"Lock Screen"_s, u"Sleep"_s, micTitle, u"Dark Mode"_s, u"Empty Trash"_s}));
        const QVariantMap mic = buttons.at(2).toMap();
        QTEST(mic.value(u"symbol"_s).toString(), "micSymbol");
        QTEST(mic.value(u"isRed"_s).toBool(), "red");
        QCOMPARE(field(buttons, "spansRow"), (QStringList{u"false"_s, u"false"_s, u"false"_s, u"false"_s, u"true"_s}));
    }

    void eachButtonRunsItsActionOnce()
    {
        const QStringList ids{u"lock"_s, u"sleep"_s, u"darkMode"_s, u"emptyTrash"_s};
        for (const QString &id : ids)
            m_shortcuts.trigger(id);
        QCOMPARE(m_actions.performed(),
                 (QStringList{u"lockScreen"_s, u"suspend"_s, u"toggleDarkMode"_s, u"emptyTrash"_s}));
        const int before = int(m_input.volumesSet.size());
        m_shortcuts.trigger(u"mic"_s);
        QCOMPARE(m_input.volumesSet.size(), before + 1);
        QCOMPARE(m_actions.performed().size(), 4);
    }

    void aFailureIsOneLogLineNamingTheAction()
    {
        m_actions.fail(u"suspend"_s, u"org.freedesktop.login1.NotSupported: no"_s);
        QTest::ignoreMessage(QtWarningMsg, "Sleep failed: org.freedesktop.login1.NotSupported: no");
        m_shortcuts.trigger(u"sleep"_s);
    }

    void addButtonOnlyBelowSix()
    {
        QStringList paths;
        for (int i = 0; i < 6; ++i)
            paths.append(entry(u"app%1.desktop"_s.arg(i)));
        setFavorites(paths.mid(0, 5));
        QVERIFY(m_favorites.showsAddButton());
        m_services.vm.addFavoriteApp(paths.at(5));
        QVERIFY(!m_favorites.showsAddButton());
        QCOMPARE(m_favorites.tiles().size(), 6);
        m_favorites.remove(paths.at(2));
        QVERIFY(m_favorites.showsAddButton());
        QCOMPARE(m_favorites.tiles().size(), 5);
    }

    void dropsAddDesktopEntriesInOrder_data()
    {
        QTest::addColumn<QStringList>("dropped"); // names under the test folder; "web:" a web address
        QTest::addColumn<QStringList>("added");
        QTest::newRow("one entry") << QStringList{u"a.desktop"_s} << QStringList{u"a.desktop"_s};
        QTest::newRow("a folder") << QStringList{u"folder"_s} << QStringList{};
        QTest::newRow("a document") << QStringList{u"notes.txt"_s} << QStringList{};
        QTest::newRow("a web address") << QStringList{u"web:x.desktop"_s} << QStringList{};
        QTest::newRow("several, in order, up to six")
            << QStringList{u"f.desktop"_s, u"notes.txt"_s, u"b.desktop"_s, u"c.desktop"_s, u"d.desktop"_s,
                           u"e.desktop"_s, u"g.desktop"_s, u"h.desktop"_s}
            << QStringList{u"f.desktop"_s, u"b.desktop"_s, u"c.desktop"_s, u"d.desktop"_s, u"e.desktop"_s,
                           u"g.desktop"_s};
    }
    void dropsAddDesktopEntriesInOrder()
    {
        QFETCH(QStringList, dropped);
        QFETCH(QStringList, added);
        setFavorites({});
        QList<QUrl> urls;
        for (const QString &name : dropped) {
            urls.append(name.startsWith(u"web:") ? QUrl(u"https://example.org/"_s + name.mid(4))
                                                 : QUrl::fromLocalFile(m_dir.filePath(name)));
        }
        m_favorites.addDropped(urls);
        QStringList expected;
        for (const QString &name : added)
            expected.append(m_dir.filePath(name));
        QCOMPARE(m_services.vm.favoriteApps(), expected);
    }

    void tilesNameTheirApplicationAndLaunchIt()
    {
        const QString named = entry(u"org.example.Editor.desktop"_s);
        const QString missing = m_dir.filePath(u"gone.desktop"_s);
        m_services.apps.names.insert(named, u"Text Editor"_s);
        setFavorites({named, missing});
        QCOMPARE(field(m_favorites.tiles(), "name"), (QStringList{u"Text Editor"_s, u"gone"_s}));
        m_services.apps.launched.clear();
        m_favorites.launch(named);
        m_favorites.launch(missing); // kept as a tile; its launch fails with a log line
        m_favorites.launch(u"/not/a/favourite.desktop"_s);
        QCOMPARE(m_services.apps.launched, (QStringList{named, missing}));
    }

    void chooserAddsTheChosenEntryAndCloses()
    {
        setFavorites({});
        m_services.apps.applications = {{u"Calculator"_s, u"/apps/calc.desktop"_s}, {u"Terminal"_s, u"/apps/term.desktop"_s}};
        QVERIFY(m_favorites.chooserApplications().isEmpty()); // nothing is read while it is closed
        m_favorites.showChooser();
        m_favorites.showChooser();
        QCOMPARE(m_windows.choosersCreated, 1);
        m_favorites.setChooserFilter(u"term"_s);
        QCOMPARE(field(m_favorites.chooserApplications(), "path"), QStringList{u"/apps/term.desktop"_s});
        m_favorites.choose(u"/apps/term.desktop"_s);
        QCOMPARE(m_services.vm.favoriteApps(), QStringList{u"/apps/term.desktop"_s});
        QVERIFY(m_journal.entries.contains(u"chooser.close"_s));
    }
};

QTEST_GUILESS_MAIN(TestShortcutsTab)
#include "tst_shortcutstab.moc"
