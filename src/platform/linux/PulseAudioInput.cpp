#include "PulseAudioInput.h"

#include <QDeadlineTimer>
#include <QString>

#include <pulse/context.h>
#include <pulse/error.h>
#include <pulse/introspect.h>
#include <pulse/mainloop.h>
#include <pulse/volume.h>

#include <algorithm>
#include <cmath>

namespace talvo {

namespace {
const char *const kDefaultSource = "@DEFAULT_SOURCE@";

struct SourceQuery
{
    bool done = false;
    bool found = false;
    pa_cvolume volume{};
    bool muted = false;
};

void onSourceInfo(pa_context *, const pa_source_info *info, int eol, void *userdata)
{
    auto *query = static_cast<SourceQuery *>(userdata);
    if (eol != 0) {
        query->done = true;
        return;
    }
    if (info) {
        query->found = true;
        query->volume = info->volume;
        query->muted = info->mute != 0;
    }
}

void onSuccess(pa_context *, int success, void *userdata)
{
    *static_cast<int *>(userdata) = success ? 1 : 0;
}
} // namespace

struct PulseAudioInput::Source
{
    pa_cvolume volume{};
    bool muted = false;
};

PulseAudioInput::PulseAudioInput(int timeoutMs, int retryAfterMs)
    : m_timeoutMs(timeoutMs), m_retryAfterMs(retryAfterMs)
{
}

PulseAudioInput::~PulseAudioInput()
{
    QMutexLocker lock(&m_mutex);
    disconnect();
}

template <typename Done>
bool PulseAudioInput::iterateUntil(Done done)
{
    QDeadlineTimer deadline(m_timeoutMs);
    while (!done()) {
        const qint64 remaining = deadline.remainingTime();
        if (remaining <= 0) {
            m_lastError = QStringLiteral("the sound server did not answer in time");
            return false;
        }
        if (pa_mainloop_prepare(m_loop, int(remaining * 1000)) < 0 || pa_mainloop_poll(m_loop) < 0
            || pa_mainloop_dispatch(m_loop) < 0) {
            m_lastError = QStringLiteral("the sound server connection failed");
            return false;
        }
        const pa_context_state_t state = pa_context_get_state(m_context);
        if (!PA_CONTEXT_IS_GOOD(state)) {
            m_lastError = QString::fromUtf8(pa_strerror(pa_context_errno(m_context)));
            return false;
        }
    }
    return true;
}

bool PulseAudioInput::connect()
{
    if (m_context && pa_context_get_state(m_context) == PA_CONTEXT_READY)
        return true;
    disconnect();
    if (m_sinceFailedConnect.isValid() && m_sinceFailedConnect.elapsed() < m_retryAfterMs)
        return false; // m_lastError still says why
    if (!connectNow()) {
        m_sinceFailedConnect.start();
        return false;
    }
    m_sinceFailedConnect.invalidate();
    return true;
}

bool PulseAudioInput::connectNow()
{
    m_loop = pa_mainloop_new();
    m_context = pa_context_new(pa_mainloop_get_api(m_loop), "Talvo");
    if (!m_context || pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        m_lastError = m_context ? QString::fromUtf8(pa_strerror(pa_context_errno(m_context)))
                                : QStringLiteral("cannot create a sound server context");
        disconnect();
        return false;
    }
    if (!iterateUntil([this] { return pa_context_get_state(m_context) == PA_CONTEXT_READY; })) {
        disconnect();
        return false;
    }
    return true;
}

void PulseAudioInput::disconnect()
{
    if (m_context) {
        pa_context_disconnect(m_context);
        pa_context_unref(m_context);
        m_context = nullptr;
    }
    if (m_loop) {
        pa_mainloop_free(m_loop);
        m_loop = nullptr;
    }
}

PlatformResult<PulseAudioInput::Source> PulseAudioInput::readSource()
{
    if (!connect())
        return PlatformResult<Source>::failure(m_lastError);
    SourceQuery query;
    pa_operation *op = pa_context_get_source_info_by_name(m_context, kDefaultSource, onSourceInfo, &query);
    if (!op)
        return PlatformResult<Source>::failure(QString::fromUtf8(pa_strerror(pa_context_errno(m_context))));
    const bool finished = iterateUntil([&] { return query.done; });
    pa_operation_cancel(op);
    pa_operation_unref(op);
    if (!finished) {
        disconnect();
        return PlatformResult<Source>::failure(m_lastError);
    }
    if (!query.found)
        return PlatformResult<Source>::failure(QStringLiteral("there is no default input"));
    return PlatformResult<Source>::success(Source{query.volume, query.muted});
}

PlatformResult<> PulseAudioInput::finish(pa_operation *operation, int *success)
{
    if (!operation)
        return PlatformResult<>::failure(QString::fromUtf8(pa_strerror(pa_context_errno(m_context))));
    const bool finished = iterateUntil([&] { return *success >= 0; });
    pa_operation_cancel(operation);
    pa_operation_unref(operation);
    if (!finished) {
        disconnect();
        return PlatformResult<>::failure(m_lastError);
    }
    if (*success != 1)
        return PlatformResult<>::failure(QString::fromUtf8(pa_strerror(pa_context_errno(m_context))));
    return PlatformResult<>::success();
}

PlatformResult<int> PulseAudioInput::volumePercent()
{
    QMutexLocker lock(&m_mutex);
    const auto source = readSource();
    if (!source.succeeded())
        return PlatformResult<int>::failure(source.error);
    const double average = double(pa_cvolume_avg(&source.value->volume));
    return PlatformResult<int>::success(int(std::lround(average * 100.0 / double(PA_VOLUME_NORM))));
}

PlatformResult<> PulseAudioInput::setVolumePercent(int percent)
{
    QMutexLocker lock(&m_mutex);
    const auto source = readSource();
    if (!source.succeeded())
        return PlatformResult<>::failure(source.error);
    // Boosted volumes go through unchanged, up to the most the server takes.
    const double raw = std::round(double(PA_VOLUME_NORM) * std::max(percent, 0) / 100.0);
    pa_cvolume volume = source.value->volume;
    pa_cvolume_set(&volume, volume.channels, pa_volume_t(std::min(raw, double(PA_VOLUME_MAX))));
    int success = -1;
    return finish(pa_context_set_source_volume_by_name(m_context, kDefaultSource, &volume, onSuccess, &success),
                  &success);
}

PlatformResult<bool> PulseAudioInput::isMuted()
{
    QMutexLocker lock(&m_mutex);
    const auto source = readSource();
    if (!source.succeeded())
        return PlatformResult<bool>::failure(source.error);
    return PlatformResult<bool>::success(source.value->muted);
}

PlatformResult<> PulseAudioInput::setMuted(bool muted)
{
    QMutexLocker lock(&m_mutex);
    if (!connect())
        return PlatformResult<>::failure(m_lastError);
    int success = -1;
    return finish(pa_context_set_source_mute_by_name(m_context, kDefaultSource, muted ? 1 : 0, onSuccess, &success),
                  &success);
}

} // namespace talvo
