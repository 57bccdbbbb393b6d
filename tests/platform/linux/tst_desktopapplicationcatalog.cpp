#include "platform/linux/DesktopApplicationCatalog.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace talvo;

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
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("expected"); // relative to the tree; empty: none
        QTest::newRow("user list") << "user" << "usr/applications/firefox-esr.desktop";
        QTest::newRow("desktop-specific list first") << "desktop" << "usr/applications/chromium.desktop";
        QTest::newRow("first installed of several") << "several" << "usr/applications/chromium.desktop";
        QTest::newRow("uninstalled in user list, system list next") << "fallthrough"
                                                                      << "usr/applications/firefox-esr.desktop";
        QTest::newRow("entry in a subfolder") << "subfolder" << "usr/applications/kde4/konqueror.desktop";
        QTest::newRow("user entry shadows system entry") << "shadow" << "home-data/applications/firefox-esr.desktop";
        QTest::newRow("other sections ignored") << "section" << "usr/applications/firefox-esr.desktop";
        QTest::newRow("no list: xdg-settings answers") << "query" << "usr/applications/chromium.desktop";
        QTest::newRow("xdg-settings names a missing entry") << "query missing" << "";
        QTest::newRow("malformed list") << "malformed" << "";
        QTest::newRow("path instead of id") << "path id" << "";
    }
    void defaultBrowser()
    {
        QFETCH(QString, setup);
        QFETCH(QString, expected);
        XdgTree tree;
        tree.write(QStringLiteral("usr/applications/firefox-esr.desktop"));
        tree.write(QStringLiteral("usr/applications/chromium.desktop"));
        QString answer;
        if (setup == QLatin1String("user")) {
            tree.write(QStringLiteral("config/mimeapps.list"), kHttpFirefox);
        } else if (setup == QLatin1String("desktop")) {
            qputenv("XDG_CURRENT_DESKTOP", "ubuntu:GNOME");
            tree.write(QStringLiteral("config/mimeapps.list"), kHttpFirefox);
            tree.write(QStringLiteral("config/gnome-mimeapps.list"),
                       "[Default Applications]\nx-scheme-handler/http=chromium.desktop\n");
        } else if (setup == QLatin1String("several")) {
            tree.write(QStringLiteral("config/mimeapps.list"),
                       "[Default Applications]\nx-scheme-handler/http = gone.desktop; chromium.desktop;firefox-esr.desktop\n");
        } else if (setup == QLatin1String("fallthrough")) {
            tree.write(QStringLiteral("config/mimeapps.list"),
                       "[Default Applications]\nx-scheme-handler/http=gone.desktop\n");
            tree.write(QStringLiteral("usr/applications/mimeapps.list"), kHttpFirefox);
        } else if (setup == QLatin1String("subfolder")) {
            tree.write(QStringLiteral("usr/applications/kde4/konqueror.desktop"));
            tree.write(QStringLiteral("etc/mimeapps.list"),
                       "[Default Applications]\nx-scheme-handler/http=kde4-konqueror.desktop\n");
        } else if (setup == QLatin1String("shadow")) {
            tree.write(QStringLiteral("home-data/applications/firefox-esr.desktop"));
            tree.write(QStringLiteral("config/mimeapps.list"), kHttpFirefox);
        } else if (setup == QLatin1String("section")) {
            tree.write(QStringLiteral("config/mimeapps.list"),
                       "[Added Associations]\nx-scheme-handler/http=chromium.desktop\n"
                       "[Default Applications]\ntext/html=chromium.desktop\nx-scheme-handler/http=firefox-esr.desktop\n");
        } else if (setup == QLatin1String("query")) {
            answer = QStringLiteral("chromium.desktop");
        } else if (setup == QLatin1String("query missing")) {
            answer = QStringLiteral("gone.desktop");
        } else if (setup == QLatin1String("malformed")) {
            static const char junk[] = "\xff\xfe\0garbage[Default Applications\nx-scheme-handler/http\n=firefox-esr.desktop\n";
            tree.write(QStringLiteral("config/mimeapps.list"), QByteArray(junk, sizeof(junk) - 1));
        } else if (setup == QLatin1String("path id")) {
            tree.write(QStringLiteral("config/mimeapps.list"),
                       "[Default Applications]\nx-scheme-handler/http=../applications/firefox-esr.desktop;"
                       + QFile::encodeName(tree.path(QStringLiteral("usr/applications/chromium.desktop"))) + "\n");
        }
        int queries = 0;
        DesktopApplicationCatalog catalog([&] {
            ++queries;
            return answer;
        });
        const QString browser = catalog.defaultBrowserEntry();
        QCOMPARE(browser, expected.isEmpty() ? QString() : tree.path(expected));
        // The slow process call only when no list answers.
        QCOMPARE(queries > 0, setup.startsWith(QLatin1String("query")) || setup == QLatin1String("malformed")
                                  || setup == QLatin1String("path id"));
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
        QTest::newRow("only GNOME's") << QStringList{gnome} << QByteArray() << gnome;
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
};

QTEST_GUILESS_MAIN(TestDesktopApplicationCatalog)
#include "tst_desktopapplicationcatalog.moc"
