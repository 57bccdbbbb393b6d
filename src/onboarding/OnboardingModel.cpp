#include "OnboardingModel.h"

#include "platform/Log.h"
#include "platform/QmlInstances.h"
#include "preferences/Preferences.h"
#include "settings/SettingsController.h"
#include "settings/WidgetOrdering.h"

namespace talvo {

namespace {

const QString kAttached = QStringLiteral("attached");
const QString kFloating = QStringLiteral("floating");

QString keyName(const auto &key)
{
    return QString::fromLatin1(key.name);
}

} // namespace

OnboardingModel::OnboardingModel(Services services, QObject *parent)
    : QObject(parent), m_services(std::move(services))
{
}

OnboardingModel *OnboardingModel::create(QQmlEngine *qmlEngine, QJSEngine *)
{
    return providedInstance<OnboardingModel>(qmlEngine);
}

void OnboardingModel::windowOpened()
{
    setShelfAlert(false, {});
    setPage(Welcome, true);
}

void OnboardingModel::next()
{
    if (m_currentPage < kPageCount - 1)
        setPage(m_currentPage + 1, true);
}

void OnboardingModel::back()
{
    if (m_currentPage > 0)
        setPage(m_currentPage - 1, false);
}

void OnboardingModel::setPage(int page, bool forward)
{
    if (page == m_currentPage && forward == m_goingForward)
        return;
    m_currentPage = page;
    m_goingForward = forward;
    emit currentPageChanged();
    if (page == ShelfStyle)
        preselectShelfStyle();
}

void OnboardingModel::greet()
{
    if (m_services.greet)
        m_services.greet();
}

// The shelf page looks at the screens each time it shows; only its first
// showing ever stores the style that suits them.
void OnboardingModel::preselectShelfStyle()
{
    const bool housing = SettingsController::hasCameraHousing(m_services.screens.screens());
    if (housing != m_hasPhysicalNotch) {
        m_hasPhysicalNotch = housing;
        emit hasPhysicalNotchChanged();
    }
    Preferences &prefs = m_services.preferences;
    if (prefs.value(PrefKey::hasSelectedShelfStyle))
        return;
    prefs.setObject(recommendedShelfStyle(), keyName(PrefKey::shelfStyle));
    prefs.setBool(true, keyName(PrefKey::hasSelectedShelfStyle));
}

QString OnboardingModel::recommendedShelfStyle() const
{
    return m_hasPhysicalNotch ? kAttached : kFloating;
}

QString OnboardingModel::shelfAlertText() const
{
    return SettingsController::shelfAlertMessage(m_hasPhysicalNotch);
}

void OnboardingModel::chooseShelfStyle(const QString &style)
{
    if (style != kAttached && style != kFloating) {
        qCWarning(lcApp).noquote() << QStringLiteral("Ignoring unknown shelf style \"%1\"").arg(style);
        return;
    }
    if (style == recommendedShelfStyle() || style == m_services.preferences.value(PrefKey::shelfStyle)) {
        storeShelfStyle(style);
        return;
    }
    setShelfAlert(true, style);
}

void OnboardingModel::confirmShelfChange()
{
    const QString pending = m_pendingShelfSelection;
    setShelfAlert(false, {});
    if (!pending.isEmpty())
        storeShelfStyle(pending);
}

void OnboardingModel::cancelShelfChange()
{
    setShelfAlert(false, {});
}

void OnboardingModel::storeShelfStyle(const QString &style)
{
    m_services.preferences.setObject(style, keyName(PrefKey::shelfStyle));
}

void OnboardingModel::setShelfAlert(bool showing, const QString &pending)
{
    if (showing == m_showingShelfAlert && pending == m_pendingShelfSelection)
        return;
    m_showingShelfAlert = showing;
    m_pendingShelfSelection = pending;
    emit shelfAlertChanged();
}

void OnboardingModel::chooseTargetDisplay(const QString &display)
{
    if (display != QLatin1String("main") && display != QLatin1String("active")) {
        qCWarning(lcApp).noquote() << QStringLiteral("Ignoring unknown target display \"%1\"").arg(display);
        return;
    }
    m_services.preferences.setObject(display, keyName(PrefKey::targetDisplay));
}

void OnboardingModel::chooseGlassUI(bool glass)
{
    m_services.preferences.setBool(glass, keyName(PrefKey::enableGlassUI));
    m_services.settings.previewNotch();
}

void OnboardingModel::toggleWidget(const QString &id)
{
    const QStringList stored =
        m_services.preferences.value(PrefKey::activeWidgetsOrder).split(QLatin1Char(','), Qt::SkipEmptyParts);
    const QStringList list = WidgetOrdering::toggled(stored, id);
    if (list != stored)
        m_services.preferences.setObject(list.join(QLatin1Char(',')), keyName(PrefKey::activeWidgetsOrder));
    m_services.settings.previewNotch();
}

void OnboardingModel::complete()
{
    m_services.preferences.setBool(true, keyName(PrefKey::hasCompletedOnboarding));
    emit closeRequested();
}

void OnboardingModel::close()
{
    emit closeRequested();
}

} // namespace talvo
