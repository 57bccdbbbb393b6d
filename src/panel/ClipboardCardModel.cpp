#include "ClipboardCardModel.h"

#include "platform/HapticFeedback.h"
#include "platform/QmlInstances.h"
#include "platform/SoundPlayer.h"
#include "sources/ClipboardManager.h"

#include <QUrl>

namespace talvo {

namespace {

ClipboardType typeFromRaw(const QString &raw)
{
    for (ClipboardType type : {ClipboardType::link, ClipboardType::image, ClipboardType::color}) {
        if (rawValue(type) == raw)
            return type;
    }
    return ClipboardType::text;
}

} // namespace

ClipboardCardModel::ClipboardCardModel(ClipboardManager &manager, SoundPlayer &sounds, HapticFeedback &haptics,
                                       Scheduler &scheduler, QObject *parent)
    : QObject(parent), m_manager(manager), m_sounds(sounds), m_haptics(haptics), m_scheduler(scheduler)
{
}

ClipboardCardModel *ClipboardCardModel::create(QQmlEngine *qmlEngine, QJSEngine *)
{
    return providedInstance<ClipboardCardModel>(qmlEngine);
}

QString ClipboardCardModel::title(const QString &type, const QString &text)
{
    return title(typeFromRaw(type), text);
}

QString ClipboardCardModel::title(ClipboardType type, const QString &text)
{
    const QString trimmed = text.trimmed();
    switch (type) {
    case ClipboardType::text:
        return trimmed.isEmpty() ? tr("Text") : trimmed;
    case ClipboardType::link: {
        if (trimmed.isEmpty())
            return tr("Link");
        const QString host = QUrl(trimmed, QUrl::StrictMode).host();
        return host.isEmpty() ? trimmed : host;
    }
    case ClipboardType::image:
        return tr("Copied Image");
    case ClipboardType::color:
        return trimmed.isEmpty() ? tr("Color") : trimmed;
    }
    return trimmed;
}

QString ClipboardCardModel::kindLabel(const QString &type)
{
    switch (typeFromRaw(type)) {
    case ClipboardType::text:
        return tr("TEXT");
    case ClipboardType::link:
        return tr("LINK");
    case ClipboardType::image:
        return tr("IMAGE");
    case ClipboardType::color:
        return tr("COLOR");
    }
    return tr("TEXT");
}

void ClipboardCardModel::cardShown()
{
    if (m_shownCards++ == 0)
        m_manager.startMonitoring();
}

void ClipboardCardModel::cardHidden()
{
    if (m_shownCards > 0 && --m_shownCards == 0)
        m_manager.stopMonitoring();
}

void ClipboardCardModel::copyBack(const QString &id)
{
    m_manager.copyToPasteboard(id);
    m_sounds.play(QStringLiteral("Glass"));
    m_haptics.perform();
    // A second click restarts the row's second.
    m_justCopied.value(id).cancel();
    m_justCopied.insert(id, m_scheduler.after(kCopiedDuration, this, [this, id] {
        m_justCopied.remove(id);
        emit justCopiedIdsChanged();
    }));
    emit justCopiedIdsChanged();
}

} // namespace talvo
