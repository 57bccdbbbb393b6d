#include "SettingsController.h"

#include "notch/NotchViewModel.h"
#include "platform/AppWindows.h"
#include "platform/FileOpener.h"
#include "platform/Log.h"
#include "platform/QmlInstances.h"
#include "platform/Screens.h"
#include "preferences/Preferences.h"

#include <algorithm>

namespace talvo {

namespace {

const QString kAttached = QStringLiteral("attached");
const QString kFloating = QStringLiteral("floating");

// The page titles, in sidebar order; the untranslated text is the page's name.
constexpr std::array kTabTitles{QT_TRANSLATE_NOOP("SettingsController", "Home"),
                                QT_TRANSLATE_NOOP("SettingsController", "General"),
                                QT_TRANSLATE_NOOP("SettingsController", "Widgets"),
                                QT_TRANSLATE_NOOP("SettingsController", "About")};

} // namespace

SettingsController::SettingsController(Services services, QObject *parent)
    : QObject(parent), m_services(std::move(services))
{
}

SettingsController *SettingsController::create(QQmlEngine *qmlEngine, QJSEngine *)
{
    return providedInstance<SettingsController>(qmlEngine);
}

void SettingsController::windowOpened()
{
    setSelectedTab(SettingsTab::Home);
    setShelfAlert(false, {});
    const bool housing = hasCameraHousing(m_services.screens.screens());
    if (housing != m_hasPhysicalNotch) {
        m_hasPhysicalNotch = housing;
        emit hasPhysicalNotchChanged();
    }
    refreshLaunchAtLogin();
    if (!m_updateMessage.isEmpty()) {
        m_updateMessage.clear();
        emit updateMessageChanged();
    }
}

bool SettingsController::hasCameraHousing(const QList<ScreenInfo> &screens)
{
    return std::any_of(screens.begin(), screens.end(), [](const ScreenInfo &screen) {
        return screen.auxiliaryTopLeftArea && screen.auxiliaryTopRightArea;
    });
}

QString SettingsController::shelfAlertMessage(bool hasPhysicalNotch)
{
    return hasPhysicalNotch ? tr("Your screen has a camera housing. 'Floating Island' might look out of place.")
                            : tr("Your screen has no camera housing. 'Hardware Notch' might look out of place.");
}

QString SettingsController::rawValue(SettingsTab tab)
{
    return QString::fromLatin1(kTabTitles[size_t(tab)]);
}

std::optional<SettingsController::SettingsTab> SettingsController::tabFromRawValue(const QString &raw)
{
    for (size_t i = 0; i < kTabTitles.size(); ++i) {
        if (raw == QLatin1String(kTabTitles[i]))
            return SettingsTab(i);
    }
    return std::nullopt;
}

QStringList SettingsController::tabTitles()
{
    QStringList titles;
    for (const char *title : kTabTitles)
        titles.append(tr(title));
    return titles;
}

void SettingsController::showPage(const QString &name)
{
    if (const auto tab = tabFromRawValue(name))
        setSelectedTab(*tab);
}

void SettingsController::setSelectedTab(SettingsTab tab)
{
    if (tab == m_selectedTab)
        return;
    m_selectedTab = tab;
    emit selectedTabChanged();
}

void SettingsController::previewNotch()
{
    m_previewClose.cancel();
    NotchViewModel &vm = m_services.viewModel;
    vm.setIsForcedOpen(true);
    vm.setIsHovering(true);
    vm.setIsFullyExpanded(true);
    m_previewClose = m_services.scheduler.after(kPreviewDuration, this, [this] {
        NotchViewModel &vm = m_services.viewModel;
        vm.setIsForcedOpen(false);
        vm.setIsHovering(false);
        vm.setIsFullyExpanded(false);
    });
}

void SettingsController::chooseTargetDisplay(const QString &display)
{
    m_services.preferences.setObject(display, QString::fromLatin1(PrefKey::targetDisplay.name));
    previewNotch();
}

void SettingsController::chooseGlassUI(bool glass)
{
    m_services.preferences.setBool(glass, QString::fromLatin1(PrefKey::enableGlassUI.name));
    previewNotch();
}

void SettingsController::chooseFramelessWidgets(bool frameless)
{
    m_services.preferences.setBool(frameless, QString::fromLatin1(PrefKey::enableFramelessWidgets.name));
    previewNotch();
}

void SettingsController::chooseShelfStyle(const QString &style)
{
    if (style != kAttached && style != kFloating)
        return;
    const bool alreadyStored = m_services.preferences.value(PrefKey::shelfStyle) == style;
    if (style == kFloating && m_hasPhysicalNotch && !alreadyStored) {
        setShelfAlert(true, style);
        return;
    }
    storeShelfStyle(style);
}

void SettingsController::confirmShelfChange()
{
    const QString pending = m_pendingShelfSelection;
    setShelfAlert(false, {});
    if (!pending.isEmpty())
        storeShelfStyle(pending);
}

void SettingsController::cancelShelfChange()
{
    setShelfAlert(false, {});
}

void SettingsController::storeShelfStyle(const QString &style)
{
    m_services.preferences.setObject(style, QString::fromLatin1(PrefKey::shelfStyle.name));
    previewNotch();
}

void SettingsController::setShelfAlert(bool showing, const QString &pending)
{
    if (showing == m_showingShelfAlert && pending == m_pendingShelfSelection)
        return;
    m_showingShelfAlert = showing;
    m_pendingShelfSelection = pending;
    emit shelfAlertChanged();
}

void SettingsController::setLaunchAtLogin(bool enabled)
{
    LoginItemService &item = m_services.loginItem;
    const std::optional<QString> error = enabled ? item.registerItem() : item.unregisterItem();
    if (error) {
        qCWarning(lcApp).noquote() << (enabled ? QStringLiteral("Failed to register the login item: ")
                                               : QStringLiteral("Failed to remove the login item: "))
                                          + *error;
        refreshLaunchAtLogin();
    } else {
        m_launchAtLogin = enabled;
    }
    // Also when unchanged: the switch the user flipped shows the real state again.
    emit launchAtLoginChanged();
}

void SettingsController::refreshLaunchAtLogin()
{
    const bool enabled = m_services.loginItem.status() == LoginItemService::Status::Enabled;
    if (enabled == m_launchAtLogin)
        return;
    m_launchAtLogin = enabled;
    emit launchAtLoginChanged();
}

void SettingsController::checkForUpdates()
{
    const bool started = m_services.checkForUpdates && m_services.checkForUpdates();
    m_updateMessage = started ? tr("Checking for updates…")
                              : tr("Update checks are off: this build has no update feed.");
    emit updateMessageChanged();
}

void SettingsController::visitWebsite()
{
    if (m_services.websiteUrl.isValid() && !m_services.websiteUrl.isEmpty())
        m_services.opener.open(m_services.websiteUrl);
}

void SettingsController::quit()
{
    if (m_services.quit)
        m_services.quit();
}

} // namespace talvo
