#include "ShortcutActionsModel.h"

#include "platform/Log.h"
#include "platform/QmlInstances.h"
#include "platform/SystemActions.h"
#include "platform/WorkQueue.h"
#include "sources/MicManager.h"

#include <QCoreApplication>

#include <functional>

namespace talvo {

namespace {

struct DesktopAction
{
    const char *id;
    const char *title;
    const char *symbol;
    PlatformResult<> (SystemActions::*run)();
};

// The grid's reading order; the microphone sits between them (see buttons()).
constexpr DesktopAction kLock{"lock", QT_TRANSLATE_NOOP("ShortcutActionsModel", "Lock Screen"), "lock.fill",
                              &SystemActions::lockScreen};
constexpr DesktopAction kSleep{"sleep", QT_TRANSLATE_NOOP("ShortcutActionsModel", "Sleep"), "moon.zzz.fill",
                               &SystemActions::suspend};
constexpr DesktopAction kDarkMode{"darkMode", QT_TRANSLATE_NOOP("ShortcutActionsModel", "Dark Mode"),
                                  "circle.lefthalf.filled", &SystemActions::toggleDarkMode};
constexpr DesktopAction kEmptyTrash{"emptyTrash", QT_TRANSLATE_NOOP("ShortcutActionsModel", "Empty Trash"),
                                    "trash.fill", &SystemActions::emptyTrash};
constexpr const DesktopAction *kDesktopActions[] = {&kLock, &kSleep, &kDarkMode, &kEmptyTrash};

QVariantMap button(const QString &id, const QString &title, const QString &symbol, bool isRed, bool spansRow = false)
{
    return {{QStringLiteral("id"), id},         {QStringLiteral("title"), title},
            {QStringLiteral("symbol"), symbol}, {QStringLiteral("isRed"), isRed},
            {QStringLiteral("spansRow"), spansRow}};
}

QString translated(const char *text)
{
    return QCoreApplication::translate("ShortcutActionsModel", text);
}

} // namespace

ShortcutActionsModel::ShortcutActionsModel(SystemActions &actions, WorkQueue &queue, MicManager &mic, QObject *parent)
    : QObject(parent), m_actions(actions), m_queue(queue), m_mic(mic)
{
    connect(&m_mic, &MicManager::isMutedChanged, this, &ShortcutActionsModel::buttonsChanged);
}

ShortcutActionsModel *ShortcutActionsModel::create(QQmlEngine *qmlEngine, QJSEngine *)
{
    return providedInstance<ShortcutActionsModel>(qmlEngine);
}

QVariantList ShortcutActionsModel::buttons() const
{
    const bool muted = m_mic.isMuted();
    const auto plain = [](const DesktopAction &action, bool spansRow = false) {
        return button(QLatin1String(action.id), translated(action.title), QLatin1String(action.symbol), false, spansRow);
    };
    return {plain(kLock),
            plain(kSleep),
            button(QStringLiteral("mic"), muted ? tr("Unmute Mic") : tr("Mute Mic"),
                   muted ? QStringLiteral("mic.slash.fill") : QStringLiteral("mic.fill"), muted),
            plain(kDarkMode),
            plain(kEmptyTrash, true)};
}

void ShortcutActionsModel::trigger(const QString &id)
{
    if (id == u"mic") {
        m_mic.toggleMute();
        return;
    }
    for (const DesktopAction *action : kDesktopActions) {
        if (id != QLatin1String(action->id))
            continue;
        // The click returns at once; the desktop answers on the queue.
        m_queue.dispatch([&actions = m_actions, action] {
            const PlatformResult<> result = (actions.*(action->run))();
            if (!result.succeeded())
                qCWarning(lcApp).noquote() << QStringLiteral("%1 failed: %2").arg(QLatin1String(action->title), result.error);
        });
        return;
    }
    qCWarning(lcApp).noquote() << QStringLiteral("No system action \"%1\"").arg(id);
}

} // namespace talvo
