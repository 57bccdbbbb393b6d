#include "fakes/MemoryPreferencesStorage.h"
#include "preferences/PreferenceValue.h"
#include "preferences/Preferences.h"

#include <QJsonArray>
#include <QSignalSpy>
#include <QTest>

using namespace talvo;

class TestPreferences : public QObject
{
    Q_OBJECT
private slots:
    void freshStoreReadsEveryDefault_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("hasCompletedOnboarding") << QStringLiteral("hasCompletedOnboarding") << QVariant(false);
        QTest::newRow("didConfigureLaunchAtLoginDefault") << QStringLiteral("didConfigureLaunchAtLoginDefault") << QVariant(false);
        QTest::newRow("showMicMenuBarIcon") << QStringLiteral("showMicMenuBarIcon") << QVariant(true);
        QTest::newRow("shelfStyle") << QStringLiteral("shelfStyle") << QVariant(QStringLiteral("attached"));
        QTest::newRow("hasSelectedShelfStyle") << QStringLiteral("hasSelectedShelfStyle") << QVariant(false);
        QTest::newRow("targetDisplay") << QStringLiteral("targetDisplay") << QVariant(QStringLiteral("main"));
        QTest::newRow("activeWidgetsOrder") << QStringLiteral("activeWidgetsOrder") << QVariant(QStringLiteral("music,weather,calendar"));
        QTest::newRow("enableGlassUI") << QStringLiteral("enableGlassUI") << QVariant(false);
        QTest::newRow("showTabLabels") << QStringLiteral("showTabLabels") << QVariant(true);
        QTest::newRow("enableFramelessWidgets") << QStringLiteral("enableFramelessWidgets") << QVariant(true);
        QTest::newRow("scratchpadText") << QStringLiteral("scratchpadText") << QVariant(QString());
        QTest::newRow("TalvoFavoriteApps") << QStringLiteral("TalvoFavoriteApps") << QVariant();
        QTest::newRow("RecentPickedColors") << QStringLiteral("RecentPickedColors") << QVariant();
        QTest::newRow("DownloadsFolderBookmark") << QStringLiteral("DownloadsFolderBookmark") << QVariant();
        QTest::newRow("calendarSources") << QStringLiteral("calendarSources") << QVariant();
    }
    void freshStoreReadsEveryDefault()
    {
        QFETCH(QString, key);
        QFETCH(QVariant, expected);
        MemoryPreferencesStorage storage;
        Preferences prefs(storage);
        const PreferenceKeyInfo *info = preferenceKeyInfo(key);
        QVERIFY(info);
        QCOMPARE(info->defaultValue, expected);
        switch (info->type) {
        case PreferenceType::Bool:
            QCOMPARE(prefs.boolForKey(key, info->defaultValue.toBool()), expected.toBool());
            break;
        case PreferenceType::Text:
            QCOMPARE(prefs.stringForKey(key, info->defaultValue.toString()), expected.toString());
            break;
        case PreferenceType::TextList:
            QVERIFY(!prefs.stringArrayForKey(key));
            break;
        case PreferenceType::Data:
            QVERIFY(!prefs.dataForKey(key));
            break;
        }
        // Reading never writes a default back.
        QCOMPARE(storage.saveCount, 0);
        QVERIFY(!prefs.contains(key));
    }

    void illTypedValuesReadAsDefaults()
    {
        MemoryPreferencesStorage storage(QJsonObject{
            {QStringLiteral("shelfStyle"), 3},
            {QStringLiteral("hasCompletedOnboarding"), QStringLiteral("yes")},
            {QStringLiteral("TalvoFavoriteApps"), QJsonArray{QStringLiteral("/a.desktop"), 5}},
            {QStringLiteral("DownloadsFolderBookmark"), QStringLiteral("/home/u/Downloads")},
            {QStringLiteral("showTabLabels"), QJsonValue::Null},
            {QStringLiteral("RecentPickedColors"), QStringLiteral("#FFFFFF")},
        });
        Preferences prefs(storage);
        QCOMPARE(prefs.value(PrefKey::shelfStyle), QStringLiteral("attached"));
        QCOMPARE(prefs.value(PrefKey::hasCompletedOnboarding), false);
        QVERIFY(!prefs.value(PrefKey::favoriteApps));
        QVERIFY(!prefs.value(PrefKey::downloadsFolderBookmark));
        QCOMPARE(prefs.value(PrefKey::showTabLabels), true);
        QVERIFY(!prefs.value(PrefKey::recentPickedColors));
        // An empty list is still a list of text.
        prefs.setObject(QStringList{}, QStringLiteral("TalvoFavoriteApps"));
        QCOMPARE(prefs.value(PrefKey::favoriteApps), QStringList{});
    }

    void everyWriteSignalsOnceAndPerKeyOnlyOnRealChange()
    {
        MemoryPreferencesStorage storage;
        Preferences prefs(storage);
        QSignalSpy changed(&prefs, &Preferences::changed);
        QSignalSpy keyChanged(&prefs, &Preferences::keyChanged);
        prefs.setBool(true, QStringLiteral("enableGlassUI"));
        prefs.setBool(true, QStringLiteral("enableGlassUI"));
        prefs.removeObjectForKey(QStringLiteral("enableGlassUI"));
        prefs.removeObjectForKey(QStringLiteral("enableGlassUI"));
        QCOMPARE(changed.count(), 4);
        QCOMPARE(keyChanged.count(), 2);
        QCOMPARE(storage.saveCount, 4);
    }

    void outsideChangeSignalsOnceWhenContentDiffers()
    {
        MemoryPreferencesStorage storage(QJsonObject{{QStringLiteral("shelfStyle"), QStringLiteral("floating")}});
        Preferences prefs(storage);
        QSignalSpy changed(&prefs, &Preferences::changed);
        QSignalSpy keyChanged(&prefs, &Preferences::keyChanged);
        storage.changeOutside(storage.stored());
        QCOMPARE(changed.count(), 0);
        storage.changeOutside(QJsonObject{{QStringLiteral("targetDisplay"), QStringLiteral("active")}});
        QCOMPARE(changed.count(), 1);
        QCOMPARE(keyChanged.count(), 2); // shelfStyle went away, targetDisplay came
        QCOMPARE(prefs.value(PrefKey::shelfStyle), QStringLiteral("attached"));
    }

    void failedSaveKeepsTheNewValueInMemory()
    {
        MemoryPreferencesStorage storage;
        storage.failSaves = true;
        Preferences prefs(storage);
        QVERIFY(!prefs.setObject(QStringLiteral("floating"), QStringLiteral("shelfStyle")));
        QCOMPARE(prefs.value(PrefKey::shelfStyle), QStringLiteral("floating"));
        QVERIFY(storage.stored().isEmpty());
    }

    void bindingReadsWritesAndFollowsTheKey()
    {
        MemoryPreferencesStorage storage(QJsonObject{{QStringLiteral("enableGlassUI"), QStringLiteral("bogus")}});
        Preferences prefs(storage);
        PreferenceValue a;
        PreferenceValue b;
        for (PreferenceValue *binding : {&a, &b}) {
            binding->setKey(QStringLiteral("enableGlassUI"));
            binding->setDefaultValue(false);
            binding->setPreferences(&prefs);
        }
        QCOMPARE(a.value(), QVariant(false)); // ill-typed: the default
        QSignalSpy bChanged(&b, &PreferenceValue::valueChanged);
        a.setValue(true);
        QCOMPARE(bChanged.count(), 1);
        QCOMPARE(b.value(), QVariant(true));
        QCOMPARE(storage.stored().value(QStringLiteral("enableGlassUI")).toBool(), true);

        // Without a default of its own a binding takes the key table's.
        PreferenceValue tableDefault;
        tableDefault.setKey(QStringLiteral("shelfStyle"));
        tableDefault.setPreferences(&prefs);
        QCOMPARE(tableDefault.value(), QVariant(QStringLiteral("attached")));
        prefs.setObject(true, QStringLiteral("shelfStyle")); // ill-typed
        QCOMPARE(tableDefault.value(), QVariant(QStringLiteral("attached")));
        prefs.setObject(QStringLiteral("floating"), QStringLiteral("shelfStyle"));
        QCOMPARE(tableDefault.value(), QVariant(QStringLiteral("floating")));

        PreferenceValue list;
        list.setKey(QStringLiteral("RecentPickedColors"));
        list.setDefaultValue(QVariantList{});
        list.setPreferences(&prefs);
        list.setValue(QVariantList{QStringLiteral("#FF0000")});
        QCOMPARE(prefs.value(PrefKey::recentPickedColors), QStringList{QStringLiteral("#FF0000")});
    }
};

QTEST_GUILESS_MAIN(TestPreferences)
#include "tst_preferences.moc"
