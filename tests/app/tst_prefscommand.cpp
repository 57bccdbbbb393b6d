#include "app/PrefsCommand.h"
#include "platform/linux/JsonFilePreferencesStorage.h"
#include "preferences/Preferences.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

using namespace talvo;

namespace {
struct CommandResult
{
    int code;
    QString out;
    QString err;
};

// Runs the real `talvo prefs` with its own configuration folder.
CommandResult runTalvo(const QString &configHome, const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(TALVO_BINARY), QStringList{QStringLiteral("prefs")} + arguments);
    if (!process.waitForFinished(30000))
        return {-1, {}, QStringLiteral("timed out")};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}
} // namespace

class TestPrefsCommand : public QObject
{
    Q_OBJECT
private slots:
    void setThenGetRoundTripsEachType_data()
    {
        QTest::addColumn<QStringList>("setArguments");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("printed");
        QTest::addColumn<QVariant>("stored");
        QTest::newRow("bool by table") << QStringList{QStringLiteral("enableGlassUI"), QStringLiteral("true")}
                                       << QStringLiteral("enableGlassUI") << QStringLiteral("true") << QVariant(true);
        QTest::newRow("bool explicit") << QStringList{QStringLiteral("--bool"), QStringLiteral("myFlag"), QStringLiteral("no")}
                                       << QStringLiteral("myFlag") << QStringLiteral("false") << QVariant(false);
        QTest::newRow("text") << QStringList{QStringLiteral("shelfStyle"), QStringLiteral("floating")}
                              << QStringLiteral("shelfStyle") << QStringLiteral("floating")
                              << QVariant(QStringLiteral("floating"));
        QTest::newRow("text that looks like a bool") << QStringList{QStringLiteral("--text"), QStringLiteral("scratchpadText"), QStringLiteral("true")}
                                                     << QStringLiteral("scratchpadText") << QStringLiteral("true")
                                                     << QVariant(QStringLiteral("true"));
        QTest::newRow("list") << QStringList{QStringLiteral("--list"), QStringLiteral("TalvoFavoriteApps"), QStringLiteral("/a b.desktop"), QStringLiteral("/c.desktop")}
                              << QStringLiteral("TalvoFavoriteApps") << QStringLiteral(R"(["/a b.desktop","/c.desktop"])")
                              << QVariant(QStringList{QStringLiteral("/a b.desktop"), QStringLiteral("/c.desktop")});
        QTest::newRow("data") << QStringList{QStringLiteral("DownloadsFolderBookmark"), QStringLiteral("AAH/")}
                              << QStringLiteral("DownloadsFolderBookmark") << QStringLiteral("AAH/")
                              << QVariant(QByteArray("\x00\x01\xff", 3));
    }
    void setThenGetRoundTripsEachType()
    {
        QFETCH(QStringList, setArguments);
        QFETCH(QString, key);
        QFETCH(QString, printed);
        QTemporaryDir home;
        const CommandResult set = runTalvo(home.path(), QStringList{QStringLiteral("set")} + setArguments);
        QCOMPARE(set.code, 0);
        QCOMPARE(set.out, QString());
        const CommandResult get = runTalvo(home.path(), {QStringLiteral("get"), key});
        QCOMPARE(get.code, 0);
        QCOMPARE(get.out, printed + QLatin1Char('\n'));

        JsonFilePreferencesStorage storage(home.filePath(QStringLiteral("talvo/preferences.json")));
        Preferences prefs(storage);
        QTEST(prefs.objectForKey(key), "stored");

        QCOMPARE(runTalvo(home.path(), {QStringLiteral("delete"), key}).code, 0);
        JsonFilePreferencesStorage after(home.filePath(QStringLiteral("talvo/preferences.json")));
        QVERIFY(!Preferences(after).contains(key));
    }

    void badInputIsRefused_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("code");
        QTest::newRow("no verb") << QStringList{} << 2;
        QTest::newRow("unknown verb") << QStringList{QStringLiteral("frobnicate")} << 2;
        QTest::newRow("bool not a bool") << QStringList{QStringLiteral("set"), QStringLiteral("enableGlassUI"), QStringLiteral("maybe")} << 2;
        QTest::newRow("bad base64") << QStringList{QStringLiteral("set"), QStringLiteral("DownloadsFolderBookmark"), QStringLiteral("!!!")} << 2;
        QTest::newRow("unknown type") << QStringList{QStringLiteral("set"), QStringLiteral("--int"), QStringLiteral("k"), QStringLiteral("1")} << 2;
        QTest::newRow("text with two values") << QStringList{QStringLiteral("set"), QStringLiteral("shelfStyle"), QStringLiteral("a"), QStringLiteral("b")} << 2;
        QTest::newRow("get unset key without default") << QStringList{QStringLiteral("get"), QStringLiteral("RecentPickedColors")} << 1;
    }
    void badInputIsRefused()
    {
        QFETCH(QStringList, arguments);
        QTemporaryDir home;
        JsonFilePreferencesStorage storage(home.filePath(QStringLiteral("preferences.json")));
        Preferences prefs(storage);
        QString outText, errText;
        QTextStream out(&outText), err(&errText);
        QTEST(runPrefsCommand(arguments, prefs, out, err), "code");
        QVERIFY(!errText.isEmpty());
        QVERIFY(prefs.keys().isEmpty());
    }

    void listShowsDefaultsAndUnknownKeys()
    {
        QTemporaryDir home;
        QCOMPARE(runTalvo(home.path(), {QStringLiteral("set"), QStringLiteral("--text"), QStringLiteral("zExtra"), QStringLiteral("v")}).code, 0);
        const CommandResult list = runTalvo(home.path(), {QStringLiteral("list")});
        QCOMPARE(list.code, 0);
        QVERIFY(list.out.contains(QStringLiteral("shelfStyle\tattached\t(default)\n")));
        QVERIFY(list.out.contains(QStringLiteral("RecentPickedColors\t\t(not set)\n")));
        QVERIFY(list.out.endsWith(QStringLiteral("zExtra\tv\n")));
    }
};

QTEST_GUILESS_MAIN(TestPrefsCommand)
#include "tst_prefscommand.moc"
