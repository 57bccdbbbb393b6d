#pragma once

#include "platform/InputVolume.h"

#include <QElapsedTimer>
#include <QMutex>
#include <QString>

#include <optional>

struct pa_mainloop;
struct pa_context;
struct pa_operation;

namespace talvo {

// The default input (the "@DEFAULT_SOURCE@" of PulseAudio or PipeWire's Pulse
// server): its volume is the average over its channels, in percent of the
// nominal volume. One connection is kept and re-made after the server goes
// away. Every call is bounded in time; thread-safe.
//
// After a failed attempt to connect, calls fail at once with the same error
// until `retryAfterMs` have passed: without a sound server, each attempt would
// read the client configuration and set up a shared memory pool again, every
// time the microphone is polled.
class PulseAudioInput final : public InputVolume
{
public:
    explicit PulseAudioInput(int timeoutMs = 1000, int retryAfterMs = 10000);
    ~PulseAudioInput() override;

    PulseAudioInput(const PulseAudioInput &) = delete;
    PulseAudioInput &operator=(const PulseAudioInput &) = delete;

    PlatformResult<int> volumePercent() override;
    PlatformResult<> setVolumePercent(int percent) override;
    PlatformResult<bool> isMuted() override;
    PlatformResult<> setMuted(bool muted) override;

private:
    struct Source;
    // The default input's volume and mute flag; the mutex is held.
    PlatformResult<Source> readSource();
    // Waits for an operation that reports success; the mutex is held.
    PlatformResult<> finish(pa_operation *operation, int *success);
    bool connect();
    bool connectNow();
    void disconnect();
    template <typename Done>
    bool iterateUntil(Done done);

    QMutex m_mutex;
    int m_timeoutMs;
    int m_retryAfterMs;
    QElapsedTimer m_sinceFailedConnect;
    pa_mainloop *m_loop = nullptr;
    pa_context *m_context = nullptr;
    QString m_lastError;
};

} // namespace talvo
