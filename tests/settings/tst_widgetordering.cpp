#include "fakes/FakeHapticFeedback.h"
#include "fakes/FakeSoundPlayer.h"
#include "fakes/MemoryPreferencesStorage.h"
#include "preferences/Preferences.h"
#include "settings/WidgetOrdering.h"

#include <QSignalSpy>
#include <QTest>

using namespace talvo;

// Each operation on the stored order, written as "stored text | operation"
// and the text stored afterwards.
class TestWidgetOrdering : public QObject
{
    Q_OBJECT

private slots:
    void operations_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("expected");

        // toggle: a fourth displaces the oldest, never fewer than two.
        QTest::newRow("fourth displaces oldest") << "music,weather,calendar" << "toggle scratchpad"
                                                 << "weather,calendar,scratchpad";
        QTest::newRow("third is appended") << "music,weather" << "toggle clipboard" << "music,weather,clipboard";
        QTest::newRow("last two stay") << "music,weather" << "toggle weather" << "music,weather";
        QTest::newRow("three down to two") << "music,weather,calendar" << "toggle weather" << "music,calendar";
        QTest::newRow("duplicates all removed") << "music,weather,music" << "toggle music" << "weather";
        QTest::newRow("empty piece dropped") << "music,,weather" << "toggle calendar" << "music,weather,calendar";
        QTest::newRow("nothing stored") << "(absent)" << "toggle scratchpad" << "weather,calendar,scratchpad";
        QTest::newRow("empty text") << "" << "toggle scratchpad" << "scratchpad";
        // chevrons: the ends of the row do nothing.
        QTest::newRow("left") << "music,weather,calendar" << "left 1" << "weather,music,calendar";
        QTest::newRow("left of first") << "music,weather,calendar" << "left 0" << "music,weather,calendar";
        QTest::newRow("left past end") << "music,weather,calendar" << "left 3" << "music,weather,calendar";
        QTest::newRow("right") << "music,weather,calendar" << "right 1" << "music,calendar,weather";
        QTest::newRow("right of last") << "music,weather,calendar" << "right 2" << "music,weather,calendar";
        QTest::newRow("right of negative") << "music,weather,calendar" << "right -1" << "music,weather,calendar";
        QTest::newRow("right with two commas") << "music,,weather" << "right 0" << "weather,music";
        // drag over a slot: the dragged widget takes the target's place.
        QTest::newRow("first onto last") << "A,B,C" << "drag A C" << "B,C,A";
        QTest::newRow("last onto first") << "A,B,C" << "drag C A" << "C,A,B";
        QTest::newRow("first onto second") << "A,B,C" << "drag A B" << "B,A,C";
        QTest::newRow("onto itself") << "A,B,C" << "drag B B" << "A,B,C";
        QTest::newRow("foreign text") << "A,B,C" << "drag hello B" << "A,B,C";
        QTest::newRow("onto a slot not shown") << "A,B,C" << "drag A D" << "A,B,C";
        // reset restores three even from two.
        QTest::newRow("reset") << "clipboard,scratchpad" << "reset" << "music,weather,calendar";
    }

    void operations()
    {
        QFETCH(QString, stored);
        QFETCH(QString, operation);
        QFETCH(QString, expected);
        MemoryPreferencesStorage storage(stored == "(absent)" ? QJsonObject{}
                                                          : QJsonObject{{"activeWidgetsOrder", stored}});
        Preferences preferences(storage);
        FakeSoundPlayer sounds;
        FakeHapticFeedback haptics;
        WidgetOrdering ordering(preferences, sounds, haptics);

        const QStringList words = operation.split(' ');
        if (words[0] == "toggle")
            ordering.toggleWidget(words[1]);
        else if (words[0] == "left")
            ordering.moveLeft(words[1].toInt());
        else if (words[0] == "right")
            ordering.moveRight(words[1].toInt());
        else if (words[0] == "drag")
            ordering.dropEntered(words[2], words[1]);
        else
            ordering.resetToDefaults();

        QCOMPARE(preferences.value(PrefKey::activeWidgetsOrder), expected);
        QCOMPARE(sounds.played, words[0] == "reset" ? QStringList{"Glass"} : QStringList{});
        QCOMPARE(haptics.performed, words[0] == "reset" ? 1 : 0);
    }

    // The page keeps no copy: a change made elsewhere is what the next
    // operation starts from, and it is announced.
    void outsideChangesShowAtOnce()
    {
        MemoryPreferencesStorage storage;
        Preferences preferences(storage);
        FakeSoundPlayer sounds;
        FakeHapticFeedback haptics;
        WidgetOrdering ordering(preferences, sounds, haptics);
        QSignalSpy changed(&ordering, &WidgetOrdering::activeWidgetsChanged);

        preferences.setObject(QStringLiteral("clipboard,scratchpad"), QStringLiteral("activeWidgetsOrder"));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(ordering.activeWidgets(), (QStringList{"clipboard", "scratchpad"}));
        ordering.moveRight(0);
        QCOMPARE(ordering.activeWidgets(), (QStringList{"scratchpad", "clipboard"}));
        preferences.setBool(true, QStringLiteral("enableGlassUI"));
        QCOMPARE(changed.count(), 2);
    }
};

QTEST_GUILESS_MAIN(TestWidgetOrdering)
#include "tst_widgetordering.moc"
