#pragma once

#include "platform/Scheduler.h"
#include "platform/Screens.h"

#include <QObject>
#include <QStringList>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

#include <functional>
#include <optional>

class QQmlEngine;
class QJSEngine;

namespace talvo {

class FileOpener;
class LoginItemService;
class NotchViewModel;
class Preferences;

// What the settings window shows and does beyond binding preferences: the
// page on show, the General page's choices that preview on the notch, the
// shelf-style warning for screens with a camera housing, launch at login, and
// the Home and About pages' actions.
//
// Main thread only.
class SettingsController : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(SettingsTab selectedTab READ selectedTab WRITE setSelectedTab NOTIFY selectedTabChanged)
    Q_PROPERTY(QStringList tabTitles READ tabTitles CONSTANT)
    Q_PROPERTY(bool hasPhysicalNotch READ hasPhysicalNotch NOTIFY hasPhysicalNotchChanged)
    Q_PROPERTY(bool showingShelfAlert READ showingShelfAlert NOTIFY shelfAlertChanged)
    Q_PROPERTY(QString pendingShelfSelection READ pendingShelfSelection NOTIFY shelfAlertChanged)
    Q_PROPERTY(QString shelfAlertText READ shelfAlertText NOTIFY hasPhysicalNotchChanged)
    Q_PROPERTY(bool launchAtLogin READ launchAtLogin WRITE setLaunchAtLogin NOTIFY launchAtLoginChanged)
    Q_PROPERTY(QString appVersion READ appVersion CONSTANT)
    Q_PROPERTY(QStringList releaseNotes READ releaseNotes CONSTANT)
    Q_PROPERTY(QUrl websiteUrl READ websiteUrl CONSTANT)
    Q_PROPERTY(QString updateMessage READ updateMessage NOTIFY updateMessageChanged)
public:
    enum class SettingsTab { Home, General, Widgets, About };
    Q_ENUM(SettingsTab)

    struct Services
    {
        Preferences &preferences;
        Scheduler &scheduler;
        NotchViewModel &viewModel;
        Screens &screens;
        LoginItemService &loginItem;
        FileOpener &opener;
        // Starts an update check; false when no update feed is configured.
        std::function<bool()> checkForUpdates;
        std::function<void()> quit;
        QString version;
        QUrl websiteUrl; // empty: no web site
    };

    explicit SettingsController(Services services, QObject *parent = nullptr);

    // QML gets the instance the application built (see QmlInstances.h).
    static SettingsController *create(QQmlEngine *qmlEngine, QJSEngine *jsEngine);

    // The window was created: Home page, fresh camera housing and login state.
    Q_INVOKABLE void windowOpened();
    // Shows the page with this display name (untranslated: "Widgets", ...);
    // any other name is ignored.
    Q_INVOKABLE void showPage(const QString &name);

    SettingsTab selectedTab() const { return m_selectedTab; }
    void setSelectedTab(SettingsTab tab);
    static QStringList tabTitles();
    static QString rawValue(SettingsTab tab);
    static std::optional<SettingsTab> tabFromRawValue(const QString &raw);

    bool hasPhysicalNotch() const { return m_hasPhysicalNotch; }
    // A screen with both auxiliary top areas has a camera housing between them.
    static bool hasCameraHousing(const QList<ScreenInfo> &screens);
    // The warning shown before a shelf style that does not suit the hardware.
    static QString shelfAlertMessage(bool hasPhysicalNotch);
    bool showingShelfAlert() const { return m_showingShelfAlert; }
    QString pendingShelfSelection() const { return m_pendingShelfSelection; }
    QString shelfAlertText() const { return shelfAlertMessage(m_hasPhysicalNotch); }

    static constexpr Scheduler::Duration kPreviewDuration{3000};

    // Opens the notch for kPreviewDuration to show an appearance change; a
    // newer preview replaces the pending close of an earlier one, and the
    // close still comes after the window has gone.
    Q_INVOKABLE void previewNotch();
    // Appearance choices: each stores its preference and previews the notch.
    Q_INVOKABLE void chooseTargetDisplay(const QString &display);
    Q_INVOKABLE void chooseGlassUI(bool glass);
    Q_INVOKABLE void chooseFramelessWidgets(bool frameless);
    // "floating" on a screen with a camera housing, when not stored already,
    // asks first (showingShelfAlert); anything else stores and previews.
    Q_INVOKABLE void chooseShelfStyle(const QString &style);
    Q_INVOKABLE void confirmShelfChange();
    Q_INVOKABLE void cancelShelfChange();

    bool launchAtLogin() const { return m_launchAtLogin; }
    // Registers or removes the login item; on failure the switch shows the
    // item's real state again.
    void setLaunchAtLogin(bool enabled);

    QString appVersion() const { return m_services.version; }
    static QStringList releaseNotes();
    QUrl websiteUrl() const { return m_services.websiteUrl; }
    QString updateMessage() const { return m_updateMessage; }
    Q_INVOKABLE void checkForUpdates();
    Q_INVOKABLE void visitWebsite();
    Q_INVOKABLE void quit();

signals:
    void selectedTabChanged();
    void hasPhysicalNotchChanged();
    void shelfAlertChanged();
    void launchAtLoginChanged();
    void updateMessageChanged();

private:
    void storeShelfStyle(const QString &style);
    void setShelfAlert(bool showing, const QString &pending);
    void refreshLaunchAtLogin();

    Services m_services;
    SettingsTab m_selectedTab = SettingsTab::Home;
    bool m_hasPhysicalNotch = false;
    bool m_showingShelfAlert = false;
    QString m_pendingShelfSelection;
    bool m_launchAtLogin = false;
    QString m_updateMessage;
    TimerHandle m_previewClose;
};

} // namespace talvo
