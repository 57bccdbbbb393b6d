#pragma once

#include "platform/PlatformResult.h"
#include "platform/Scheduler.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

class QQmlEngine;
class QJSEngine;

namespace talvo {

class InputVolume;
class WorkQueue;

// Mutes the microphone by setting the default input's volume to 0, and keeps
// `isMuted` in step with the input (polled every 2 s), also when another
// program changes it: the input is muted when its volume is 0 or its mute
// flag is set (the desktop's mute key sets the flag and keeps the volume).
// Unmuting clears the flag and gives a volume of 0 back the volume it had
// before, which may be above 100 % on a boosted input.
//
// Main thread only. Every call to the input runs on `queue`, in order, and
// its outcome comes back on the main thread; a failure is logged once until
// the input answers again.
class MicManager : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(bool isMuted READ isMuted NOTIFY isMutedChanged)
public:
    MicManager(InputVolume &input, WorkQueue &queue, Scheduler &scheduler, QObject *parent = nullptr);
    ~MicManager() override;

    static MicManager *create(QQmlEngine *qmlEngine, QJSEngine *jsEngine);

    bool isMuted() const { return m_isMuted; }
    int previousVolume() const { return m_previousVolume; }

    Q_INVOKABLE void toggleMute();
    void poll();

    static constexpr std::chrono::milliseconds pollInterval{2000};

signals:
    void isMutedChanged();

private:
    // Any failure to read reads as full volume: the microphone then counts as live.
    int volumeFrom(const PlatformResult<int> &read, const QString &action);
    // A failed set shows at the next poll, which corrects the flag.
    void report(const PlatformResult<> &set, const QString &action);
    void setMuted(bool muted);

    InputVolume &m_input;
    WorkQueue &m_queue;
    Scheduler &m_scheduler;
    bool m_isMuted = false;
    int m_previousVolume = 100;
    QString m_loggedError; // the failure logged last, until a call succeeds
    TimerHandle m_pollTimer;
};

} // namespace talvo
