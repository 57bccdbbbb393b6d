#include "Application.h"

#include "app/AppControlCommands.h"
#include "app/AppDelegate.h"
#include "app/HeapReleaseSchedule.h"
#include "app/TalvoUpdater.h"
#include "settings/SettingsController.h"
#include "settings/WidgetOrdering.h"
#include "onboarding/OnboardingModel.h"
#include "notch/DropDetectionView.h"
#include "notch/NotchGreetingSequence.h"
#include "notch/NotchStatePublisher.h"
#include "notch/NotchViewModel.h"
#include "notch/NotchWindowController.h"
#include "notch/ShelfDragOutLink.h"
#include "platform/ApplicationId.h"
#include "platform/Log.h"
#include "platform/QtScheduler.h"
#include "platform/SerialWorkQueue.h"
#include "platform/ThreadTimerQueue.h"
#include "platform/linux/CanberraSoundPlayer.h"
#include "platform/linux/DBusControlBus.h"
#include "panel/BatteryStatus.h"
#include "panel/FavoriteAppsModel.h"
#include "panel/ShortcutActionsModel.h"
#include "panel/ClipboardCardModel.h"
#include "panel/ColorPickerModel.h"
#include "panel/RecentFilesCardModel.h"
#include "panel/ScratchpadNote.h"
#include "panel/MusicAppLauncher.h"
#include "platform/linux/DesktopApplicationCatalog.h"
#include "platform/linux/DesktopEntryIcon.h"
#include "platform/linux/DesktopFileOpener.h"
#include "platform/linux/DisplayLoss.h"
#include "platform/linux/FreedesktopContentTypes.h"
#include "platform/linux/FreedesktopThumbnailer.h"
#include "platform/linux/FunctionImageProvider.h"
#include "platform/linux/HeapRelease.h"
#include "platform/linux/HelperFolderChooser.h"
#include "platform/linux/HelperStatusItemHost.h"
#include "platform/linux/IcalCalendarStore.h"
#include "platform/linux/InodeFolderBookmarks.h"
#include "platform/linux/JsonFilePreferencesStorage.h"
#include "platform/linux/LinuxSystemActions.h"
#include "platform/linux/LinuxSystemEvents.h"
#include "platform/linux/MprisMediaPlayers.h"
#include "platform/linux/NetworkHttpClient.h"
#include "platform/linux/NominatimReverseGeocoder.h"
#include "platform/linux/NullHapticFeedback.h"
#include "platform/linux/PosixFolderLister.h"
#include "platform/linux/PulseAudioInput.h"
#include "platform/linux/QtPositioningLocationService.h"
#include "platform/linux/QtClipboard.h"
#include "platform/linux/QtDragSessions.h"
#include "platform/linux/QtScreens.h"
#include "platform/linux/QuickAppWindows.h"
#include "platform/linux/ScreenColorSampler.h"
#include "platform/linux/ServiceAddresses.h"
#include "platform/linux/DesktopSettingsOpener.h"
#include "platform/linux/DisplayCheck.h"
#include "platform/linux/UPowerPowerSource.h"
#include "platform/linux/X11DragSelection.h"
#include "platform/linux/X11EventMonitors.h"
#include "platform/linux/X11NotchWindow.h"
#include "platform/linux/X11Pointer.h"
#include "platform/linux/XcbConnection.h"
#include "platform/linux/XdgAutostartLoginItem.h"
#include "preferences/PreferenceKeys.h"
#include "preferences/Preferences.h"
#include "shelf/ShelfDragOut.h"
#include "shelf/ShelfImage.h"
#include "sources/ClipboardManager.h"
#include "sources/MicManager.h"
#include "sources/NotchCalendarManager.h"
#include "sources/NowPlayingManager.h"
#include "sources/RecentFilesManager.h"
#include "sources/WeatherManager.h"
#include "platform/QmlInstances.h"
#include "ui/QmlScheduler.h"

#include <QCoreApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QStandardPaths>

#include <algorithm>

namespace talvo {

namespace {

// The program that shows the folder dialog and the tray icon; it is built and
// installed beside this one.
QString helperProgram()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/talvo-helper");
}

} // namespace

// The notch window with its view model and the services they use.
struct Application::Notch
{
    Notch(Scheduler &scheduler, Preferences &preferences, ControlBus &bus)
        : thumbnailer(scheduler)
        , viewModel(scheduler, preferences, contentTypes, thumbnailer, sounds, applications)
        , controller(viewModel, preferences,
                     NotchPlatform{scheduler, monitorQueue, screens, pointer, eventMonitors, dragSelection, window,
                                   systemEvents, haptics})
        , publisher(viewModel, controller, bus)
        , dragSessions(scheduler)
        , dropView(&controller, &viewModel, scheduler, haptics)
        , dragOut(viewModel.items(), dragSessions, contentTypes)
        , greeting(scheduler)
    {
        window.window()->installEventFilter(&dropView);
        linkShelfDragOut(dragOut, viewModel, controller);
    }

    // The shelf items' pictures for `image://shelf/<item id>`.
    QImage shelfIcon(const QString &id, QSize requestedSize) const
    {
        const int side = requestedSize.isValid() ? qMax(requestedSize.width(), requestedSize.height()) : 80;
        return viewModel.items()->icon(id, side);
    }

    XcbConnection x11;
    ThreadTimerQueue monitorQueue{QStringLiteral("com.talvo.notchmonitor")};
    SerialWorkQueue soundQueue{QStringLiteral("com.talvo.sounds")};
    FreedesktopContentTypes contentTypes;
    FreedesktopThumbnailer thumbnailer;
    CanberraSoundPlayer sounds{soundQueue};
    DesktopApplicationCatalog applications;
    QtScreens screens;
    X11Pointer pointer{x11};
    X11EventMonitors eventMonitors{x11};
    X11DragSelection dragSelection{x11};
    X11NotchWindow window{x11};
    LinuxSystemEvents systemEvents{x11};
    NullHapticFeedback haptics;
    NotchViewModel viewModel;
    NotchWindowController controller;
    NotchStatePublisher publisher;
    QtDragSessions dragSessions;
    DropDetectionView dropView;
    ShelfDragOut dragOut;
    NotchGreetingSequence greeting;
};

// Start-up, the application's own windows, the microphone and update checks.
struct Application::Shell
{
    // The notch window is shown before its first frame, ahead of the shell.
    Shell(Scheduler &scheduler, Preferences &preferences, QQmlEngine &engine, Notch &notch,
          std::function<void()> quit)
        : mic(microphone, micQueue, scheduler)
        , http(scheduler)
        , updater(http, scheduler, opener, updateFeedUrl(), QStringLiteral(TALVO_VERSION))
        , windowFactory(engine, windowState)
        , delegate(AppDelegate::Services{preferences, scheduler, mic, statusItems, loginItem, windowFactory, {},
                                         [this] { updater.start(); }})
        , widgetOrdering(preferences, notch.sounds, notch.haptics)
        , settings(SettingsController::Services{
              preferences, scheduler, notch.viewModel, notch.screens, loginItem, opener,
              [this] {
                  if (updater.feedUrl().isEmpty())
                      return false;
                  updater.checkForUpdates();
                  return true;
              },
              std::move(quit), QStringLiteral(TALVO_VERSION), QUrl(QStringLiteral(TALVO_WEBSITE_URL))})
        , onboarding(OnboardingModel::Services{preferences, notch.screens, settings,
                                               [&notch] { notch.controller.showOnboardingGreeting(); }})
    {
        QObject::connect(&delegate, &AppDelegate::settingsTabRequested, &settings, &SettingsController::showPage);
    }

    PulseAudioInput microphone;
    SerialWorkQueue micQueue{QStringLiteral("com.talvo.microphone")};
    MicManager mic;
    NetworkHttpClient http;
    DesktopFileOpener opener;
    TalvoUpdater updater;
    HelperStatusItemHost statusItems{helperProgram()};
    XdgAutostartLoginItem loginItem{XdgAutostartLoginItem::defaultFolder(), QCoreApplication::applicationFilePath()};
    WindowStateStore windowState{WindowStateStore::defaultFilePath()};
    QuickAppWindowFactory windowFactory;
    AppDelegate delegate;
    WidgetOrdering widgetOrdering;
    SettingsController settings;
    OnboardingModel onboarding;
};

// What the players play, over MPRIS, with the HTTP client of the shell.
struct Application::NowPlaying
{
    NowPlaying(Scheduler &scheduler, Shell &shell)
        : manager(std::make_unique<NowPlayingManager>(players, shell.http, playerQueue, scheduler))
    {
    }

    MprisMediaPlayers players{QDBusConnection::sessionBus()};
    SerialWorkQueue playerQueue{QStringLiteral("com.talvo.artfetch")};
    std::unique_ptr<NowPlayingManager> manager;
};

// The panel's data sources and the small services of its header and cards,
// one instance each, shared by the panel and the settings and first-run
// windows. The weather is read once at start-up; the clipboard poll and the
// Downloads refresh start only when their cards ask for them.
struct Application::Sources
{
    Sources(Scheduler &scheduler, Preferences &preferences, Notch &notch, Shell &shell)
        : location(scheduler, {})
        , geocoder(shell.http, scheduler, geocoderServiceBase(), serviceUserAgent())
        , weather(location, geocoder, shell.http, settingsOpener, scheduler, forecastServiceBase())
        , calendarStore(scheduler, calendarQueue)
        , calendar(calendarStore, preferences, scheduler)
        , clipboard(systemClipboard, scheduler, clipboardQueue)
        , folderChooser(helperProgram())
        , recentFiles(preferences, scheduler, folderQueue, folderChooser, bookmarks, folderLister, shell.opener)
        , battery(powerSource)
        , musicApps(notch.applications, shell.opener)
        , shortcutActions(systemActions, systemActionQueue, shell.mic)
        , favoriteApps(notch.viewModel, notch.applications, shell.windowFactory)
        , scratchpad(preferences, scheduler, notch.sounds, notch.haptics)
        , clipboardCard(clipboard, notch.sounds, notch.haptics, scheduler)
        , recentFilesCard(recentFiles, notch.dragSessions, notch.contentTypes, scheduler)
        , colorPicker(preferences, systemClipboard, notch.sounds, notch.haptics, scheduler, colorSampler,
                      &notch.viewModel)
    {
        calendarStore.setFolderChooser(&folderChooser);
    }

    QtPositioningLocationService location;
    NominatimReverseGeocoder geocoder;
    DesktopSettingsOpener settingsOpener;
    WeatherManager weather;
    SerialWorkQueue calendarQueue{QStringLiteral("com.talvo.calendar")};
    IcalCalendarStore calendarStore;
    NotchCalendarManager calendar;
    QtClipboard systemClipboard;
    SerialWorkQueue clipboardQueue{QStringLiteral("com.talvo.clipboard")};
    ClipboardManager clipboard;
    SerialWorkQueue folderQueue{QStringLiteral("com.talvo.downloads")};
    HelperFolderChooser folderChooser;
    InodeFolderBookmarks bookmarks;
    PosixFolderLister folderLister;
    RecentFilesManager recentFiles;
    UPowerPowerSource powerSource;
    BatteryStatus battery;
    MusicAppLauncher musicApps;
    LinuxSystemActions systemActions;
    SerialWorkQueue systemActionQueue{QStringLiteral("com.talvo.systemactions")};
    ShortcutActionsModel shortcutActions;
    FavoriteAppsModel favoriteApps;
    // The utility cards.
    ScratchpadNote scratchpad;
    ClipboardCardModel clipboardCard;
    RecentFilesCardModel recentFilesCard;
    ScreenColorSampler colorSampler;
    ColorPickerModel colorPicker;
};

Application::Application(QObject *parent)
    : QObject(parent)
    , m_scheduler(std::make_unique<QtScheduler>())
    , m_preferencesStorage(
          std::make_unique<JsonFilePreferencesStorage>(JsonFilePreferencesStorage::defaultFilePath()))
    , m_preferences(std::make_unique<Preferences>(*m_preferencesStorage))
    , m_engine(std::make_unique<QQmlEngine>())
    , m_controlBus(std::make_unique<DBusControlBus>())
{
    // The module's QML files live in the resources; without this the engine
    // finds them only next to the executable.
    m_engine->addImportPath(QStringLiteral("qrc:/qt/qml"));
    provideToQml(*m_engine, m_preferences.get());
}

Application::~Application()
{
    // The notch's QML goes first, while the objects it shows and the window
    // that draws it still exist.
    if (m_notch)
        m_notch->window.clearContent();
}

void Application::quit()
{
    if (!m_notch || !m_notch->window.window()->isVisible()) {
        QCoreApplication::quit();
        return;
    }
    m_notch->window.clearContent();
    QQuickWindow *window = m_notch->window.window();
    connect(window, &QQuickWindow::frameSwapped, QCoreApplication::instance(), &QCoreApplication::quit,
            Qt::QueuedConnection);
    window->update();
    // A window the server no longer shows draws no frame.
    QTimer::singleShot(500, QCoreApplication::instance(), &QCoreApplication::quit);
}

void Application::start()
{
    // The session bus connects on a worker while the notch window is being
    // made (which loads the graphics driver): claiming the name below then
    // finds the connection ready.
    DBusControlBus::connectInBackground();
    // Only what the collapsed notch's first frame needs comes before it; the
    // rest follows the frame (finishLaunching()).
    // One instance per session: a second launch hands over and leaves before
    // it builds anything.
    if (!m_controlBus->registerInstance()) {
        m_controlBus->activateRunningInstance();
        QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);
        return;
    }
    m_notch = std::make_unique<Notch>(*m_scheduler, *m_preferences, *m_controlBus);
    if (runsThroughXWayland())
        m_notch->controller.setHotZoneAlwaysActive(true);
    provideToQml(*m_engine, &m_notch->viewModel);
    provideToQml(*m_engine, &m_notch->controller);
    provideToQml(*m_engine, &m_notch->dragOut);
    m_engine->addImageProvider(QStringLiteral("shelf"),
                               new FunctionImageProvider([notch = m_notch.get()](const QString &id, QSize size) {
                                   return notch->shelfIcon(id, size);
                               }));
    provideToQml(*m_engine, &m_notch->greeting);
    provideToQml(*m_engine, &m_notch->publisher);
    provideSchedulerToQml(*m_engine, *m_scheduler);
    // The rest follows the first frame (or a second, should no frame come),
    // and comes at once when the notch opens before: the panel uses it.
    // Connected ahead of the view, which then finds it in place.
    const auto finish = [this] {
        if (!m_shell)
            finishLaunching();
    };
    connect(&m_notch->viewModel, &NotchViewModel::isFullyExpandedChanged, this, finish);
    connect(m_notch->window.window(), &QQuickWindow::frameSwapped, this, finish, Qt::QueuedConnection);
    m_scheduler->after(std::chrono::seconds(1), this, finish);
    // The player's state reaches the view once the player services exist.
    m_notch->controller.loadContent(*m_engine, {});
    // With the glass look the open body is translucent: the compositor blurs
    // what lies behind its outline where it can.
    const auto updateBlur = [this] {
        const NotchViewModel &vm = m_notch->viewModel;
        const bool open = vm.isFullyExpanded() || vm.isFileDragActive() || vm.isDragTargetActive();
        if (open && m_preferences->value(PrefKey::enableGlassUI))
            m_notch->window.setBlurBehindRegion(QRegion(m_notch->controller.notchRect().toAlignedRect()));
        else
            m_notch->window.setBlurBehindRegion(std::nullopt);
    };
    connect(&m_notch->controller, &NotchWindowController::notchRectChanged, this, updateBlur);
    // Freed memory goes back to the system once the panel has gone and while
    // the notch stays closed.
    auto *heapRelease = new HeapReleaseSchedule(*m_scheduler, releaseFreeHeap, this);
    connect(&m_notch->publisher, &NotchStatePublisher::panelPresentChanged, heapRelease,
            &HeapReleaseSchedule::setPanelPresent);
    connect(m_preferences.get(), &Preferences::changed, this, updateBlur);
    // A second launch asks this one to show its settings (once they can be).
    connect(m_controlBus.get(), &ControlBus::activationRequested, this, [this] {
        m_notch->controller.watchdog().recover();
        if (m_shell)
            m_shell->delegate.showSettings();
        else
            m_activationPending = true;
    });
    m_commands = std::make_unique<AppControlCommands>(
        m_notch->controller,
        [this](const QString &page) {
            if (!m_shell)
                finishLaunching();
            if (page.isEmpty())
                m_shell->delegate.showSettings();
            else
                m_shell->delegate.showSettingsTab(page);
        },
        [this] {
            // After the caller's answer has gone out.
            QMetaObject::invokeMethod(this, &Application::quit, Qt::QueuedConnection);
        });
    m_controlBus->setCommands(m_commands.get());
    m_notch->controller.showWindow();
}

void Application::finishLaunching()
{
    disconnect(m_notch->window.window(), &QQuickWindow::frameSwapped, this, nullptr);
    // Run from a build, Talvo puts its own launcher entry in the user's menu;
    // installed, the package's entry is the one.
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString entryName = QStringLiteral("applications/%1.desktop").arg(QLatin1String(kApplicationId));
    const QStringList entries = QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, entryName);
    if (std::all_of(entries.cbegin(), entries.cend(), [&](const QString &path) { return path.startsWith(dataHome); }))
        DesktopEntry::installLauncher(dataHome, QCoreApplication::applicationFilePath());
    m_shell = std::make_unique<Shell>(*m_scheduler, *m_preferences, *m_engine, *m_notch, [this] { quit(); });
    provideToQml(*m_engine, &m_shell->delegate);
    provideToQml(*m_engine, &m_shell->mic);
    provideToQml(*m_engine, &m_shell->updater);
    provideToQml(*m_engine, &m_shell->widgetOrdering);
    provideToQml(*m_engine, &m_shell->settings);
    provideToQml(*m_engine, &m_shell->onboarding);
    // The settings page on show, for tools and the whole-program tests.
    const auto publishSettingsPage = [this] {
        m_controlBus->publish(QStringLiteral("settingsPage"),
                              SettingsController::rawValue(m_shell->settings.selectedTab()));
    };
    connect(&m_shell->settings, &SettingsController::selectedTabChanged, this, publishSettingsPage);
    publishSettingsPage();
    // The same for the first-run flow's page.
    const auto publishOnboardingPage = [this] {
        m_controlBus->publish(QStringLiteral("onboardingPage"), m_shell->onboarding.currentPage());
    };
    connect(&m_shell->onboarding, &OnboardingModel::currentPageChanged, this, publishOnboardingPage);
    publishOnboardingPage();
    m_nowPlaying = std::make_unique<NowPlaying>(*m_scheduler, *m_shell);
    provideToQml(*m_engine, m_nowPlaying->manager.get());
    m_sources = std::make_unique<Sources>(*m_scheduler, *m_preferences, *m_notch, *m_shell);
    provideToQml(*m_engine, &m_sources->weather);
    provideToQml(*m_engine, &m_sources->calendar);
    provideToQml(*m_engine, &m_sources->clipboard);
    provideToQml(*m_engine, &m_sources->recentFiles);
    provideToQml(*m_engine, &m_sources->battery);
    provideToQml(*m_engine, &m_sources->musicApps);
    provideToQml(*m_engine, &m_sources->shortcutActions);
    provideToQml(*m_engine, &m_sources->favoriteApps);
    provideToQml(*m_engine, &m_sources->scratchpad);
    provideToQml(*m_engine, &m_sources->clipboardCard);
    provideToQml(*m_engine, &m_sources->recentFilesCard);
    provideToQml(*m_engine, &m_sources->colorPicker);
    // Nothing typed into the scratchpad is lost at quit (SIGTERM and SIGINT quit too).
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, &m_sources->scratchpad,
            &ScratchpadNote::flush);
    // ... nor when the X server goes away.
    installDisplayLossHandler([this] { m_sources->scratchpad.flush(); });
    // Theme icons by name for `image://fileicon/<icon name>`.
    m_engine->addImageProvider(QStringLiteral("fileicon"), new FunctionImageProvider([](const QString &name, QSize size) {
                                   const int side = size.isValid() ? qMax(size.width(), size.height()) : 32;
                                   return ShelfImage::themeIcon(name).rendered(side, 1.0);
                               }));
    // Application icons by desktop file id for `image://appicon/<id>`.
    m_engine->addImageProvider(QStringLiteral("appicon"), new FunctionImageProvider([](const QString &id, QSize size) {
                                   const int side = size.isValid() ? qMax(size.width(), size.height()) : 64;
                                   return DesktopEntryIcon::load(id, side);
                               }));
    // The notch widens for the peek while a track plays that the user has not dismissed.
    const auto updateMusicShowing = [this] {
        const NowPlayingManager &nowPlaying = *m_nowPlaying->manager;
        m_notch->controller.setMusicShowing(nowPlaying.isPlaying() && !nowPlaying.isClosedForCurrentTrack());
    };
    connect(m_nowPlaying->manager.get(), &NowPlayingManager::isPlayingChanged, this, updateMusicShowing);
    connect(m_nowPlaying->manager.get(), &NowPlayingManager::isClosedForCurrentTrackChanged, this, updateMusicShowing);
    if (QQuickItem *content = m_notch->window.content())
        content->setProperty("nowPlaying", QVariant::fromValue<QObject *>(m_nowPlaying->manager.get()));
    if (const auto error = m_shell->loginItem.migrateLegacyEntry())
        qCWarning(lcDesktop).noquote() << QStringLiteral("Cannot move the login entry to its new name: ") + *error;
    m_shell->delegate.applicationDidFinishLaunching();
    if (std::exchange(m_activationPending, false))
        m_shell->delegate.showSettings();
    // The open panel's types are compiled when the pointer first comes to the
    // notch, while it peeks, so that the first opening moves as smoothly as the
    // later ones. Only the types: the panel itself exists only while the notch
    // is open, and a notch never used carries none of it.
    connect(&m_notch->viewModel, &NotchViewModel::isHoveringChanged, this, [this] {
        if (m_panelTypes || !m_notch->viewModel.isHovering())
            return;
        m_panelTypes = std::make_unique<QQmlComponent>(
            m_engine.get(), QUrl(QStringLiteral("qrc:/qt/qml/Talvo/panel/NotchCalendarPanelView.qml")),
            QQmlComponent::Asynchronous);
    });
}

} // namespace talvo
