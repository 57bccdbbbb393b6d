#include "MicManager.h"

#include "platform/InputVolume.h"
#include "platform/Log.h"
#include "platform/WorkQueue.h"
#include "platform/QmlInstances.h"

#include <optional>

namespace talvo {

namespace {

struct Muting
{
    PlatformResult<int> read;
    PlatformResult<> set;
};

// What unmuting did: the volume is set only when it was 0, the flag cleared
// only when it was set; a failed read counts as needing both.
struct Unmuting
{
    std::optional<PlatformResult<>> setVolume;
    std::optional<PlatformResult<>> clearFlag;
};

struct Reading
{
    PlatformResult<int> volume;
    PlatformResult<bool> flag;
};

} // namespace

MicManager::MicManager(InputVolume &input, WorkQueue &queue, Scheduler &scheduler, QObject *parent)
    : QObject(parent), m_input(input), m_queue(queue), m_scheduler(scheduler)
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

int MicManager::volumeFrom(const PlatformResult<int> &read, const QString &action)
{
    if (read.succeeded()) {
        m_loggedError.clear();
        return *read.value;
    }
    if (read.error != m_loggedError) {
        qCWarning(lcMicrophone).noquote() << action + QStringLiteral(" failed: ") + read.error;
        m_loggedError = read.error;
    }
    return 100;
}

void MicManager::report(const PlatformResult<> &set, const QString &action)
{
    if (set.succeeded())
        return;
    qCWarning(lcMicrophone).noquote() << action + QStringLiteral(" failed: ") + set.error;
}

void MicManager::toggleMute()
{
    InputVolume &input = m_input;
    if (m_isMuted) {
        const int restored = m_previousVolume > 0 ? m_previousVolume : 100;
        runOnQueue<Unmuting>(
            m_queue, m_scheduler, this,
            [&input, restored] {
                const PlatformResult<int> volume = input.volumePercent();
                const PlatformResult<bool> flag = input.isMuted();
                Unmuting unmuting;
                if (!volume.succeeded() || *volume.value == 0)
                    unmuting.setVolume = input.setVolumePercent(restored);
                if (!flag.succeeded() || *flag.value)
                    unmuting.clearFlag = input.setMuted(false);
                return unmuting;
            },
            [this](const Unmuting &unmuting) {
                if (unmuting.setVolume)
                    report(*unmuting.setVolume, QStringLiteral("unmute"));
                if (unmuting.clearFlag)
                    report(*unmuting.clearFlag, QStringLiteral("clearing the mute flag"));
                setMuted(false);
            });
        return;
    }
    runOnQueue<Muting>(
        m_queue, m_scheduler, this, [&input] { return Muting{input.volumePercent(), input.setVolumePercent(0)}; },
        [this](const Muting &muting) {
            const int volume = volumeFrom(muting.read, QStringLiteral("reading the input volume"));
            if (volume > 0)
                m_previousVolume = volume;
            report(muting.set, QStringLiteral("mute"));
            setMuted(true);
        });
}

void MicManager::poll()
{
    InputVolume &input = m_input;
    runOnQueue<Reading>(
        m_queue, m_scheduler, this, [&input] { return Reading{input.volumePercent(), input.isMuted()}; },
        [this](const Reading &read) {
            // A desktop without a sound server has no input to mute: the poll
            // reads it as live and says nothing (a toggle reports the failure).
            const int volume = read.volume.succeeded() ? *read.volume.value : 100;
            const bool flag = read.flag.succeeded() && *read.flag.value;
            if (volume > 0)
                m_previousVolume = volume;
            setMuted(volume == 0 || flag);
        });
}

void MicManager::setMuted(bool muted)
{
    if (m_isMuted == muted)
        return;
    m_isMuted = muted;
    emit isMutedChanged();
}

} // namespace talvo
