#include "fakes/FakeApplicationCatalog.h"
#include "fakes/FakeFileOpener.h"
#include "fakes/FakePowerSource.h"
#include "panel/BatteryStatus.h"
#include "panel/MusicAppLauncher.h"
#include "panel/MusicCardModel.h"
#include "panel/NotchPanelModel.h"
#include "platform/linux/UPowerPowerSource.h"

#include <QSignalSpy>
#include <QTest>

using namespace talvo;

// The open panel's rules: cards, dividers and tab titles from the widget
// order, the tray's title, the music card's choices and artwork, the battery
// indicator and the music launch buttons.
class TestPanelRules : public QObject
{
    Q_OBJECT
private slots:
    void cardsFollowTheWidgetOrder_data()
    {
        QTest::addColumn<QString>("order");
        QTest::addColumn<bool>("frameless");
        QTest::addColumn<QStringList>("kinds");
        QTest::addColumn<QList<bool>>("dividers");
        QTest::addColumn<bool>("titlesWithLabels");

        QTest::newRow("empty") << "" << true << QStringList{} << QList<bool>{} << false;
        QTest::newRow("only commas") << ",,," << true << QStringList{} << QList<bool>{} << false;
        QTest::newRow("two commas between") << "music,,weather" << true << QStringList{"music", "weather"}
                                            << QList<bool>{true, false} << false;
        // A leading blank is not trimmed: an empty slot that still counts.
        QTest::newRow("leading blank") << "music, weather,calendar" << true
                                       << QStringList{"music", "", "calendar"} << QList<bool>{true, true, false}
                                       << true;
        QTest::newRow("framed: no dividers") << "music,weather,calendar" << false
                                             << QStringList{"music", "weather", "calendar"}
                                             << QList<bool>{false, false, false} << true;
        QTest::newRow("single card") << "clipboard" << true << QStringList{"clipboard"} << QList<bool>{false}
                                     << false;
    }
    void cardsFollowTheWidgetOrder()
    {
        QFETCH(QString, order);
        QFETCH(bool, frameless);
        QFETCH(QStringList, kinds);
        QFETCH(QList<bool>, dividers);
        QFETCH(bool, titlesWithLabels);

        NotchPanelModel model;
        model.setEnableFramelessWidgets(frameless);
        model.setActiveWidgetsOrder(order);
        const QList<NotchPanelModel::Card> cards = model.cardList();
        QCOMPARE(cards.size(), kinds.size());
        for (int i = 0; i < cards.size(); ++i) {
            QCOMPARE(cards[i].kind, kinds[i]);
            QCOMPARE(cards[i].dividerAfter, dividers[i]);
            QCOMPARE(cards[i].index, i);
            QCOMPARE(cards[i].count, int(kinds.size()));
        }
        QCOMPARE(model.showsWidgetsEmptyState(), kinds.isEmpty());
        QCOMPARE(model.showsTabTitles(), titlesWithLabels);
        model.setShowTabLabels(false);
        QVERIFY(!model.showsTabTitles());
    }

    void cardWidthsShareTheRow_data()
    {
        QTest::addColumn<QString>("order");
        QTest::addColumn<bool>("frameless");
        QTest::addColumn<QList<qreal>>("widths");
        // 796 wide, spacing 16; a divider takes 0.5 and one more spacing.
        QTest::newRow("framed three, weather capped") << "music,weather,calendar" << false
                                                      << QList<qreal>{267, 230, 267};
        QTest::newRow("frameless three") << "music,weather,calendar" << true
                                         << QList<qreal>{250.5, 230, 250.5};
        QTest::newRow("two without weather") << "music,calendar" << false << QList<qreal>{390, 390};
        QTest::newRow("weather alone is capped") << "weather" << false << QList<qreal>{230};
    }
    void cardWidthsShareTheRow()
    {
        QFETCH(QString, order);
        QFETCH(bool, frameless);
        QFETCH(QList<qreal>, widths);
        NotchPanelModel model;
        model.setEnableFramelessWidgets(frameless);
        model.setActiveWidgetsOrder(order);
        QCOMPARE(NotchPanelModel::cardWidthsFor(model.cardList(), 796, 16), widths);
    }

    void trayTitleAndBanner()
    {
        NotchPanelModel model;
        QSignalSpy outputs(&model, &NotchPanelModel::outputsChanged);
        QCOMPARE(model.trayTitle(), QStringLiteral("Tray Dropzone"));
        QVERIFY(!model.showsClearAll());
        model.setItemCount(1);
        QCOMPARE(model.trayTitle(), QStringLiteral("1 item"));
        QVERIFY(model.showsClearAll());
        model.setItemCount(2);
        QCOMPARE(model.trayTitle(), QStringLiteral("2 items"));
        model.setItemCount(2);
        QCOMPARE(outputs.count(), 2);
        QVERIFY(!model.showsUpdateBanner());
        model.setUpdateAvailable(true);
        QVERIFY(model.showsUpdateBanner());
    }

    void musicCardTexts_data()
    {
        QTest::addColumn<bool>("playing");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("artist");
        QTest::addColumn<QString>("player");
        QTest::addColumn<bool>("showsNowPlaying");
        QTest::addColumn<QStringList>("texts"); // title, artist, player, play/pause symbol

        QTest::newRow("nothing") << false << "" << "" << "" << false
                                 << QStringList{"Not Playing", "Unknown Artist", "Media", "play.fill"};
        QTest::newRow("paused with a title") << false << "Song" << "Band" << "Spotify" << true
                                             << QStringList{"Song", "Band", "Spotify", "play.fill"};
        QTest::newRow("playing, no title") << true << "" << "" << "" << true
                                           << QStringList{"Not Playing", "Unknown Artist", "Media", "pause.fill"};
    }
    void musicCardTexts()
    {
        QFETCH(bool, playing);
        QFETCH(QString, title);
        QFETCH(QString, artist);
        QFETCH(QString, player);
        QFETCH(bool, showsNowPlaying);
        QFETCH(QStringList, texts);
        MusicCardModel model;
        model.setIsPlaying(playing);
        model.setSongTitle(title);
        model.setArtistName(artist);
        model.setAppName(player);
        QCOMPARE(model.showsNowPlaying(), showsNowPlaying);
        QCOMPARE((QStringList{model.titleText(), model.artistText(), model.playerText(), model.playPauseSymbol()}),
                 texts);
    }

    void clockDropsSeconds_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::newRow("C") << "C" << "09:05";
        QTest::newRow("en_US") << "en_US" << "9:05 am";
        QTest::newRow("de_DE") << "de_DE" << "09:05";
    }
    void clockDropsSeconds()
    {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        const QLocale l(locale);
        const QString shown = l.toString(QTime(9, 5, 42), MusicCardModel::clockFormat(l));
        QCOMPARE(shown.toLower().replace(QChar(0x202f), u' '), text);
    }

    void framelessArtworkByPosition_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("count");
        QTest::addColumn<QRectF>("rect");
        QTest::addColumn<QList<qreal>>("mask");
        // A 200-wide card, 100 high: the artwork is 135 high, centred, lifted 18.
        QTest::newRow("single") << 0 << 1 << QRectF(-48, -35.5, 232, 135) << QList<qreal>{0.85, 0};
        QTest::newRow("first") << 0 << 3 << QRectF(-48, -35.5, 232, 135) << QList<qreal>{0.85, 0};
        QTest::newRow("middle") << 1 << 3 << QRectF(-80, -35.5, 280, 135) << QList<qreal>{0, 0.85, 0};
        QTest::newRow("last") << 2 << 3 << QRectF(-16, -35.5, 232, 135) << QList<qreal>{0, 0.85};
    }
    void framelessArtworkByPosition()
    {
        QFETCH(int, index);
        QFETCH(int, count);
        QFETCH(QRectF, rect);
        QFETCH(QList<qreal>, mask);
        MusicCardModel model;
        model.setHasAlbumArt(true);
        model.setIndex(index);
        model.setCount(count);
        model.setCardWidth(200);
        QCOMPARE(model.background(), MusicCardModel::Background::FramelessArtwork);
        QCOMPARE(model.artworkRect(), rect);
        QCOMPARE(model.artworkMask(), mask);
        QCOMPARE(model.artworkBlur(), 45.0);

        // Framed: the card's own frame, no mask; without artwork, plain or none.
        model.setFrameless(false);
        QCOMPARE(model.artworkRect(), QRectF(0, 0, 200, 100));
        QVERIFY(model.artworkMask().isEmpty());
        model.setHasAlbumArt(false);
        QCOMPARE(model.background(), MusicCardModel::Background::Plain);
        model.setFrameless(true);
        QCOMPARE(model.background(), MusicCardModel::Background::None);
    }

    void batteryIndicator_data()
    {
        QTest::addColumn<double>("level");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("symbol");
        QTest::newRow("full") << 1.0 << "100%" << "battery.100";
        QTest::newRow("0.9 is not above 0.9") << 0.9 << "90%" << "battery.75";
        QTest::newRow("0.29 reads 29") << 0.29 << "29%" << "battery.50";
        QTest::newRow("0.25") << 0.25 << "25%" << "battery.25";
        QTest::newRow("0.1 is not above 0.1") << 0.1 << "10%" << "battery.0";
    }
    void batteryIndicator()
    {
        QFETCH(double, level);
        QFETCH(QString, text);
        QFETCH(QString, symbol);
        FakePowerSource source;
        BatteryStatus status(source);
        QVERIFY(!status.shown());
        QSignalSpy changed(&status, &BatteryStatus::changed);
        source.setLevel(level);
        QCOMPARE(changed.count(), 1);
        QVERIFY(status.shown());
        QCOMPARE(status.text(), text);
        QCOMPARE(status.symbol(), symbol);
    }

    void upowerDisplayDevice_data()
    {
        QTest::addColumn<QVariantMap>("properties");
        QTest::addColumn<double>("level"); // -1: none
        QTest::newRow("battery") << QVariantMap{{"IsPresent", true}, {"Percentage", 42.0}}
                                 << 0.42;
        QTest::newRow("no battery") << QVariantMap{{"IsPresent", false}, {"Percentage", 0.0}}
                                    << -1.0;
        QTest::newRow("no percentage") << QVariantMap{{"IsPresent", true}} << -1.0;
        QTest::newRow("out of range") << QVariantMap{{"IsPresent", true}, {"Percentage", 140.0}}
                                      << 1.0;
    }
    void upowerDisplayDevice()
    {
        QFETCH(QVariantMap, properties);
        QFETCH(double, level);
        QCOMPARE(UPowerPowerSource::levelFrom(properties).value_or(-1.0), level);
    }

    void launchButtons_data()
    {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("launched");
        QTest::addColumn<QList<QUrl>>("opened");
        QTest::addColumn<QString>("fallback"); // the button's symbol when its application is missing

        QTest::newRow("flatpak spotify") << QStringList{"com.spotify.Client.desktop"} << "spotify"
                                         << QStringList{"com.spotify.Client.desktop"} << QList<QUrl>{} << "";
        QTest::newRow("no spotify: web player") << QStringList{} << "spotify" << QStringList{}
                                                << QList<QUrl>{MusicAppLauncher::spotifyWebPlayer()} << "waveform";
        QTest::newRow("music player") << QStringList{"org.gnome.Rhythmbox3.desktop"} << "music"
                                      << QStringList{"org.gnome.Rhythmbox3.desktop"} << QList<QUrl>{} << "";
        QTest::newRow("no music player: nothing") << QStringList{} << "music" << QStringList{} << QList<QUrl>{}
                                                  << "music.note";
    }
    void launchButtons()
    {
        QFETCH(QStringList, installed);
        QFETCH(QString, button);
        QFETCH(QStringList, launched);
        QFETCH(QList<QUrl>, opened);
        QFETCH(QString, fallback);
        FakeApplicationCatalog catalog;
        FakeFileOpener opener;
        catalog.installed = installed;
        if (installed.contains(QStringLiteral("org.gnome.Rhythmbox3.desktop")))
            catalog.defaultsByType.insert(QStringLiteral("audio/flac"), QStringLiteral("org.gnome.Rhythmbox3.desktop"));
        MusicAppLauncher launcher(catalog, opener);
        launcher.launch(button);
        QCOMPARE(catalog.launched, launched);
        QCOMPARE(opener.opened, opened);
        const auto buttons = launcher.buttonList();
        const auto it = std::ranges::find(buttons, button, &MusicAppLauncher::Button::id);
        QVERIFY(it != buttons.end());
        QCOMPARE(it->application.isEmpty(), !fallback.isEmpty());
        if (!fallback.isEmpty())
            QCOMPARE(it->fallbackSymbol, fallback);
    }
};

QTEST_GUILESS_MAIN(TestPanelRules)
#include "tst_panelrules.moc"
