#include "platform/linux/DesktopSettingsOpener.h"

#include <QTest>

using namespace talvo;
using Command = DesktopSettingsOpener::Command;

class TestDesktopSettingsOpener : public QObject
{
    Q_OBJECT
private slots:
    void locationPageByDesktop_data()
    {
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<bool>("opens");
        QTest::newRow("GNOME") << QStringLiteral("GNOME") << true;
        QTest::newRow("Ubuntu's GNOME") << QStringLiteral("ubuntu:GNOME") << true;
        QTest::newRow("Budgie on GNOME") << QStringLiteral("Budgie:GNOME") << true;
        QTest::newRow("Plasma") << QStringLiteral("KDE") << false;
        QTest::newRow("unset") << QString() << false;
        QTest::newRow("name inside another") << QStringLiteral("NOTGNOME") << false;
    }
    void locationPageByDesktop()
    {
        QFETCH(QString, desktop);
        QFETCH(bool, opens);
        QList<Command> launched;
        DesktopSettingsOpener opener(desktop, [&launched](const Command &command) {
            launched.append(command);
            return true;
        });
        QCOMPARE(opener.open(SystemSettingsOpener::Page::LocationPrivacy), opens);
        QCOMPARE(launched.size(), opens ? 1 : 0);
        if (opens)
            QCOMPARE(launched.constFirst(),
                     (Command{QStringLiteral("gnome-control-center"), {QStringLiteral("location")}}));
    }

    void missingProgramOpensNothing()
    {
        DesktopSettingsOpener opener(QStringLiteral("GNOME"), [](const Command &) { return false; });
        QVERIFY(!opener.open(SystemSettingsOpener::Page::LocationPrivacy));
        QVERIFY(!DesktopSettingsOpener::startDetached({QStringLiteral("talvo-no-such-program-here"), {}}));
    }
};

QTEST_GUILESS_MAIN(TestDesktopSettingsOpener)
#include "tst_desktopsettingsopener.moc"
