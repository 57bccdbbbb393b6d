#pragma once

#include "platform/Scheduler.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

class QQmlEngine;
class QJSEngine;

namespace talvo {

class ScriptRunner;

// Mutes and unmutes the microphone by setting the system input volume, and
// keeps `isMuted` in step with the real volume (polled every 2 s), also when
// another program changes it. Volume is 0-100; 0 means muted.
//
// Main thread only; the volume scripts run on it (they answer in milliseconds).
class MicManager : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(bool isMuted READ isMuted NOTIFY isMutedChanged)
public:
    MicManager(ScriptRunner &scripts, Scheduler &scheduler, QObject *parent = nullptr);
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
    int readInputVolume();
    void setInputVolume(int volume);
    void setMuted(bool muted);

    ScriptRunner &m_scripts;
    Scheduler &m_scheduler;
    bool m_isMuted = false;
    int m_previousVolume = 100;
    TimerHandle m_pollTimer;
};

} // namespace talvo
