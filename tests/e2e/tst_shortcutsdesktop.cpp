#include "E2eDesktop.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

using namespace talvo::e2e;
using namespace Qt::Literals::StringLiterals;

namespace {

const QRect kWindowFrame(530, 0, 860, 250);
const QRect kActionsGrid(568, 62, 240, 92);
// The first favourite's tile: 12 in from the favourites box.
const QPoint kFirstTile(866, 108);
// An empty place in the favourites, right of the tiles.
const QPoint kFavoritesDrop(1150, 110);

} // namespace

// The shortcuts tab of the real program, reached from the command line: its
// system actions drawn, a favourite launching its application, and an
// application entry dragged in from another program joining the favourites.
class TestShortcutsDesktop : public QObject
{
    Q_OBJECT

    std::unique_ptr<E2eDesktop> m_desktop;
    QProcess *m_program = nullptr;

    QVariant state(const char *name) const { return m_desktop->controlProperty(QString::fromLatin1(name)); }
    QStringList preference(const QString &key) const
    {
        QProcess prefs;
        prefs.setProcessEnvironment(m_desktop->environment());
        prefs.start(QStringLiteral(TALVO_BINARY), {u"prefs"_s, u"get"_s, key});
        prefs.waitForFinished(10000);
        QStringList values;
        for (const QJsonValue &value : QJsonDocument::fromJson(prefs.readAllStandardOutput()).array())
            values.append(value.toString());
        return values;
    }

private slots:
    void initTestCase()
    {
        E2E_REQUIRE_TOOLS("Xvfb", "dbus-daemon", "xcompmgr", "gio");
    }

    void cleanup()
    {
        if (QTest::currentTestFailed() && m_program)
            qInfo().noquote() << m_program->readAllStandardOutput() << m_program->readAllStandardError().right(3000);
        m_program = nullptr;
        m_desktop.reset();
    }

    void openShortcutsAndLaunchAFavourite()
    {
        m_desktop = std::make_unique<E2eDesktop>(E2eDesktop::Options{QSize(1920, 1080), true, QString()});
        QVERIFY2(m_desktop->start(), qPrintable(m_desktop->error()));
        const QProcessEnvironment environment = m_desktop->environment();
        const QString dataHome = environment.value(u"XDG_DATA_HOME"_s);
        const QString marker = dataHome + u"/launched"_s;
        const QString entry = dataHome + u"/applications/org.example.Marker.desktop"_s;
        QVERIFY(QDir().mkpath(dataHome + u"/applications"_s));
        QFile file(entry);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Desktop Entry]\nType=Application\nName=Marker\nIcon=utilities-terminal\nExec=touch "
                   + QFile::encodeName(marker) + "\n");
        file.close();
        const QString dropped = dataHome + u"/applications/org.example.Dropped.desktop"_s;
        QVERIFY(QFile::copy(entry, dropped));

        const QString talvo = QStringLiteral(TALVO_BINARY);
        QVERIFY(m_desktop->run(talvo, {u"prefs"_s, u"set"_s, u"hasCompletedOnboarding"_s, u"true"_s}));
        QVERIFY(m_desktop->run(talvo, {u"prefs"_s, u"set"_s, u"--list"_s, u"TalvoFavoriteApps"_s, entry}));
        m_desktop->movePointer(QPoint(960, 700));
        m_program = m_desktop->startProgram(talvo, {});
        QTRY_VERIFY_WITH_TIMEOUT(!m_desktop->notchRect().isEmpty(), 15000);

        QVERIFY(m_desktop->run(talvo, {u"open"_s, u"shortcuts"_s}));
        QTRY_COMPARE_WITH_TIMEOUT(state("activeTab"), QVariant(u"shortcuts"_s), 3000);
        QTRY_VERIFY(state("isFullyExpanded").toBool());
        QTRY_COMPARE_WITH_TIMEOUT(state("panelPresent"), QVariant(true), 10000);
        QTest::qWait(900);
        const QImage shot = m_desktop->grab(QRect(0, 0, 1920, 250));
        m_desktop->shoot(kWindowFrame, u"panel-shortcuts"_s);
        int bright = 0;
        for (int y = kActionsGrid.top(); y <= kActionsGrid.bottom(); ++y) {
            for (int x = kActionsGrid.left(); x <= kActionsGrid.right(); ++x)
                bright += qGray(shot.pixel(x, y)) > 120 ? 1 : 0;
        }
        QVERIFY2(bright > 100, qPrintable(u"the actions grid is empty (%1 bright pixels)"_s.arg(bright)));

        // Over the tile and click: its application starts.
        m_desktop->glidePointer(QPoint(960, 700), kFirstTile, 8, 10);
        QTest::qWait(300);
        m_desktop->click(kFirstTile);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 10000);

        // Opened from a key binding, the tab stays while another program's
        // entry is dragged over; the drop lands in the favourites, not the shelf.
        QVERIFY(m_desktop->run(talvo, {u"open"_s, u"shortcuts"_s}));
        QTRY_VERIFY(state("isFullyExpanded").toBool());
        int moves = 0;
        bool stretched = false;
        QVERIFY2(m_desktop->dragFromSource(QStringLiteral(TALVO_E2E_DRAGSOURCE), {u"--urls"_s, dropped},
                                           QPoint(200, 600), kFavoritesDrop,
                                           [&] {
                                               stretched = stretched || state("isFileDragActive").toBool();
                                               return ++moves > 4;
                                           }),
                 qPrintable(m_desktop->error()));
        QVERIFY(!stretched);
        QTRY_COMPARE_WITH_TIMEOUT(preference(u"TalvoFavoriteApps"_s), QStringList({entry, dropped}), 3000);
        QCOMPARE(state("itemCount"), QVariant(0));
    }
};

QTEST_GUILESS_MAIN(TestShortcutsDesktop)
#include "tst_shortcutsdesktop.moc"
