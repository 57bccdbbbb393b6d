#include "platform/linux/DesktopApplicationCatalog.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace talvo;
using namespace Qt::StringLiterals;

namespace {

// A whole XDG tree in a temporary folder: user and system configuration and
// data folders, with the environment pointing at them.
struct XdgTree
{
    XdgTree()
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(path("config")));
        qputenv("XDG_CONFIG_DIRS", QFile::encodeName(path("etc")));
        qputenv("XDG_DATA_HOME", QFile::encodeName(path("home-data")));
        qputenv("XDG_DATA_DIRS", QFile::encodeName(path("usr-local") + u':' + path("usr")));
        qunsetenv("XDG_CURRENT_DESKTOP");
    }

    QString path(const QString &relative) const { return root.filePath(relative); }

    QString write(const QString &relative, const QByteArray &content = "[Desktop Entry]\nType=Application\n")
    {
        const QString file = path(relative);
        QDir().mkpath(QFileInfo(file).path());
        QFile out(file);
        out.open(QIODevice::WriteOnly);
        out.write(content);
        return file;
    }

    QTemporaryDir root;
};

const QByteArray kHttpFirefox = "[Default Applications]\nx-scheme-handler/http=firefox-esr.desktop\n";

} // namespace

class TestDesktopApplicationCatalog : public QObject
{
    Q_OBJECT
private slots:
    void defaultBrowser_data()
    {
        using Files = QList<std::pair<QString, QByteArray>>; // relative path, content
        QTest::addColumn<Files>("files");
        QTest::addColumn<QString>("answer"); // what the fallback says; asked only when no list answers
        QTest::addColumn<QString>("expected"); // relative to the tree; empty: none
        const QString firefox = u"usr/applications/firefox-esr.desktop"_s;
        const QString chromium = u"usr/applications/chromium.desktop"_s;
        const QByteArray http = "[Default Applications]\nx-scheme-handler/http=";
        QTest::newRow("user list") << Files{{"config/mimeapps.list", kHttpFirefox}} << "" << firefox;
        QTest::newRow("desktop-specific list first")
            << Files{{"config/mimeapps.list", kHttpFirefox}, {"config/gnome-mimeapps.list", http + "chromium.desktop\n"}}
            << "" << chromium;
        QTest::newRow("first installed of several")
            << Files{{"config/mimeapps.list", http + " gone.desktop; chromium.desktop;firefox-esr.desktop\n"}} << ""
            << chromium;
        QTest::newRow("uninstalled in user list, system list next")
            << Files{{"config/mimeapps.list", http + "gone.desktop\n"}, {"usr/applications/mimeapps.list", kHttpFirefox}}
            << "" << firefox;
        QTest::newRow("entry in a subfolder")
            << Files{{"usr/applications/kde4/konqueror.desktop", {}}, {"etc/mimeapps.list", http + "kde4-konqueror.desktop\n"}}
            << "" << "usr/applications/kde4/konqueror.desktop";
        QTest::newRow("user entry shadows system entry")
            << Files{{"home-data/applications/firefox-esr.desktop", {}}, {"config/mimeapps.list", kHttpFirefox}} << ""
            << "home-data/applications/firefox-esr.desktop";
        QTest::newRow("other sections ignored")
            << Files{{"config/mimeapps.list", "[Added Associations]\nx-scheme-handler/http=chromium.desktop\n"
                                              "[Default Applications]\ntext/html=chromium.desktop\n"
                                              "x-scheme-handler/http=firefox-esr.desktop\n"}}
            << "" << firefox;
        QTest::newRow("no list: the fallback answers") << Files{} << "chromium.desktop" << chromium;
        QTest::newRow("the fallback names a missing entry") << Files{} << "gone.desktop" << "";
        static const char junk[] = "\xff\xfe\0garbage[Default Applications\nx-scheme-handler/http\n=firefox-esr.desktop\n";
        QTest::newRow("malformed list") << Files{{"config/mimeapps.list", QByteArray(junk, sizeof(junk) - 1)}} << ""
                                        << "";
        QTest::newRow("path instead of id")
            << Files{{"config/mimeapps.list", http + "../applications/firefox-esr.desktop;<root>/" + chromium.toUtf8() + "\n"}}
            << "" << "";
    }
    void defaultBrowser()
    {
        using Files = QList<std::pair<QString, QByteArray>>;
        QFETCH(Files, files);
        QFETCH(QString, answer);
        QFETCH(QString, expected);
        XdgTree tree;
        tree.write(u"usr/applications/firefox-esr.desktop"_s);
        tree.write(u"usr/applications/chromium.desktop"_s);
        qputenv("XDG_CURRENT_DESKTOP", "ubuntu:GNOME");
        const QByteArray root = QFile::encodeName(tree.root.path());
        for (const auto &[path, content] : files)
            content.isEmpty() ? tree.write(path) : tree.write(path, QByteArray(content).replace("<root>", root));
        int queries = 0;
        DesktopApplicationCatalog catalog([&] {
            ++queries;
            return answer;
        });
        QCOMPARE(catalog.defaultBrowserEntry(), expected.isEmpty() ? QString() : tree.path(expected));
        QCOMPARE(queries > 0, expected.isEmpty() || !answer.isEmpty());
    }

    // Without a default, the desktop database's first installed http handler;
    // the user's database before the system's.
    void fallbackBrowserFromTheDesktopDatabase_data()
    {
        QTest::addColumn<QByteArray>("userCache");
        QTest::addColumn<QByteArray>("systemCache");
        QTest::addColumn<QString>("expected");
        const QByteArray http = "[MIME Cache]\ntext/html=firefox-esr.desktop;\nx-scheme-handler/http=";
        QTest::newRow("system database") << QByteArray() << http + "chromium.desktop;firefox-esr.desktop;\n"
                                         << "chromium.desktop";
        QTest::newRow("uninstalled skipped") << QByteArray() << http + "gone.desktop;firefox-esr.desktop;\n"
                                             << "firefox-esr.desktop";
        QTest::newRow("user database first") << http + "firefox-esr.desktop;\n" << http + "chromium.desktop;\n"
                                             << "firefox-esr.desktop";
        QTest::newRow("other types only") << QByteArray() << QByteArray("[MIME Cache]\ntext/html=chromium.desktop;\n")
                                          << "";
        QTest::newRow("wrong section") << QByteArray()
                                       << QByteArray("[Default Applications]\nx-scheme-handler/http=chromium.desktop\n")
                                       << "";
    }
    void fallbackBrowserFromTheDesktopDatabase()
    {
        QFETCH(QByteArray, userCache);
        QFETCH(QByteArray, systemCache);
        XdgTree tree;
        tree.write(u"usr/applications/firefox-esr.desktop"_s);
        tree.write(u"usr/applications/chromium.desktop"_s);
        if (!userCache.isEmpty())
            tree.write(u"home-data/applications/mimeinfo.cache"_s, userCache);
        tree.write(u"usr/applications/mimeinfo.cache"_s, systemCache);
        QTEST(DesktopApplicationCatalog::firstInstalledBrowser(), "expected");
    }

    void settingsApplication_data()
    {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QByteArray>("desktop");
        QTest::addColumn<QString>("expected");
        const QString gcc = QStringLiteral("gnome-control-center.desktop");
        const QString gnome = QStringLiteral("org.gnome.Settings.desktop");
        const QString kde = QStringLiteral("systemsettings.desktop");
        const QString xfce = QStringLiteral("xfce-settings-manager.desktop");
        QTest::newRow("list order without a desktop") << QStringList{xfce, kde, gcc} << QByteArray() << gcc;
        QTest::newRow("current desktop's first") << QStringList{gcc, kde} << QByteArray("KDE") << kde;
        QTest::newRow("desktop name in any case") << QStringList{gcc, xfce} << QByteArray("xfce") << xfce;
        QTest::newRow("current desktop has none") << QStringList{xfce} << QByteArray("GNOME") << xfce;
        QTest::newRow("none installed") << QStringList() << QByteArray("GNOME") << QString();
    }
    void settingsApplication()
    {
        QFETCH(QStringList, installed);
        QFETCH(QByteArray, desktop);
        QFETCH(QString, expected);
        XdgTree tree;
        for (const QString &id : installed)
            tree.write(QStringLiteral("usr/applications/") + id);
        if (!desktop.isEmpty())
            qputenv("XDG_CURRENT_DESKTOP", desktop);
        DesktopApplicationCatalog catalog([] { return QString(); });
        QCOMPARE(catalog.settingsEntry(),
                 expected.isEmpty() ? QString() : tree.path(QStringLiteral("usr/applications/") + expected));
    }

    void defaultFavoritesAreBrowserThenSettings()
    {
        XdgTree tree;
        const QString browser = tree.write(QStringLiteral("usr/applications/firefox-esr.desktop"));
        const QString settings = tree.write(QStringLiteral("usr/applications/org.gnome.Settings.desktop"));
        tree.write(QStringLiteral("config/mimeapps.list"), kHttpFirefox);
        // A folder named like an entry is not one.
        QVERIFY(QDir().mkpath(tree.path(QStringLiteral("home-data/applications/org.gnome.Settings.desktop"))));
        DesktopApplicationCatalog catalog([] { return QString(); });
        QCOMPARE(catalog.defaultFavoriteApps(), (QStringList{browser, settings}));

        QVERIFY(QFile::remove(browser));
        QCOMPARE(catalog.defaultFavoriteApps(), QStringList{settings});
    }

    // The launch runs the real `gio launch`.
    void musicPlayerIsFoundAndLaunchedLikeTheDesktopDoes()
    {
        XdgTree tree;
        const QString marker = tree.path(QStringLiteral("launched"));
        tree.write(QStringLiteral("usr/applications/org.example.Player.desktop"),
                   "[Desktop Entry]\nType=Application\nName=Player\nMimeType=audio/mpeg;\nExec=touch " + QFile::encodeName(marker)
                       + " %U\n");
        tree.write(QStringLiteral("config/mimeapps.list"),
                   "[Default Applications]\naudio/mpeg=org.example.Player.desktop\n");
        DesktopApplicationCatalog catalog([] { return QString(); });
        QCOMPARE(catalog.defaultApplicationFor(QStringLiteral("audio/mpeg")), QStringLiteral("org.example.Player.desktop"));
        QCOMPARE(catalog.installedApplication({QStringLiteral("spotify.desktop"), QStringLiteral("org.example.Player.desktop")}),
                 QStringLiteral("org.example.Player.desktop"));
        QVERIFY(catalog.launch(QStringLiteral("org.example.Player.desktop")));
        QTRY_VERIFY(QFileInfo::exists(marker));
        QVERIFY(!catalog.launch(QStringLiteral("spotify.desktop")));
    }
};

QTEST_GUILESS_MAIN(TestDesktopApplicationCatalog)
#include "tst_desktopapplicationcatalog.moc"
