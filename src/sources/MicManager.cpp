#include "MicManager.h"

#include "platform/ScriptRunner.h"
#include "ui/QmlInstances.h"

namespace talvo {

static const QString kReadVolumeScript = QStringLiteral("input volume of (get volume settings)");
static const QString kSetVolumeScript = QStringLiteral("set volume input volume ");

MicManager::MicManager(ScriptRunner &scripts, Scheduler &scheduler, QObject *parent)
    : QObject(parent), m_scripts(scripts), m_scheduler(scheduler)
{
    poll();
    m_pollTimer = m_scheduler.every(pollInterval, this, [this] { m_scheduler.post(this, [this] { poll(); }); });
}

MicManager::~MicManager()
{
    m_pollTimer.cancel();
}

MicManager *MicManager::create(QQmlEngine *qmlEngine, QJSEngine *)
{
    return providedInstance<MicManager>(qmlEngine);
}

int MicManager::readInputVolume()
{
    // Any failure reads as full volume: the microphone then counts as live.
    const ScriptResult result = m_scripts.runScript(kReadVolumeScript);
    return result.reply ? result.reply->int32Value : 100;
}

void MicManager::setInputVolume(int volume)
{
    // A failed set shows at the next poll, which corrects the flag.
    m_scripts.runScript(kSetVolumeScript + QString::number(volume));
}

void MicManager::toggleMute()
{
    if (m_isMuted) {
        setInputVolume(m_previousVolume > 0 ? m_previousVolume : 100);
        setMuted(false);
        return;
    }
    const int volume = readInputVolume();
    if (volume > 0)
        m_previousVolume = volume;
    setInputVolume(0);
    setMuted(true);
}

void MicManager::poll()
{
    const int volume = readInputVolume();
    if (volume == 0) {
        setMuted(true);
        return;
    }
    setMuted(false);
    m_previousVolume = volume;
}

void MicManager::setMuted(bool muted)
{
    if (m_isMuted == muted)
        return;
    m_isMuted = muted;
    emit isMutedChanged();
}

} // namespace talvo
