#include "AudioSpectrum.h"

#include "ui/QmlScheduler.h"

#include <QRandomGenerator>

namespace talvo {

namespace {
// The desktop palette's cyan, teal and purple as they read on black.
const QColor kCyan = QColor::fromRgb(100, 210, 255);
const QColor kTeal = QColor::fromRgb(64, 200, 224);
const QColor kPurple = QColor::fromRgb(191, 90, 242);
const QColor kSpotifyGreen = QColor::fromRgb(29, 185, 84);
const QColor kMusicRed = QColor::fromRgb(252, 60, 68);
} // namespace

AudioSpectrum::AudioSpectrum(QObject *parent)
    : QObject(parent)
    , m_random([] { return QRandomGenerator::global()->generateDouble(); })
    , m_scales(kBarCount, kIdleScale)
    , m_baseColor(kCyan)
    , m_tipColor(kPurple)
    , m_glowColor(kCyan)
{
}

AudioSpectrum::AudioSpectrum(Scheduler &scheduler, std::function<qreal()> random, QObject *parent)
    : AudioSpectrum(parent)
{
    m_scheduler = &scheduler;
    m_random = std::move(random);
}

AudioSpectrum::~AudioSpectrum()
{
    m_timer.cancel();
}

void AudioSpectrum::componentComplete()
{
    if (!m_scheduler)
        m_scheduler = schedulerForQml(qmlEngine(this));
    if (m_playing)
        start();
}

void AudioSpectrum::updateColors(const QString &appName)
{
    const bool spotify = appName == u"Spotify";
    const QColor base = spotify ? kSpotifyGreen : kMusicRed;
    const QColor tip = spotify ? kTeal : kPurple;
    if (m_appName != appName) {
        m_appName = appName;
        emit appNameChanged();
    }
    if (m_baseColor == base && m_tipColor == tip && m_glowColor == base)
        return;
    m_baseColor = base;
    m_tipColor = tip;
    m_glowColor = base;
    emit colorsChanged();
}

void AudioSpectrum::setPlaying(bool playing)
{
    if (m_playing != playing) {
        m_playing = playing;
        emit playingChanged();
    }
    if (playing)
        start();
    else
        stop();
}

void AudioSpectrum::start()
{
    if (m_timer.isActive() || !m_scheduler)
        return;
    m_timer = m_scheduler->every(kStepInterval, this, [this] { step(); });
    emit animatingChanged();
    step();
}

void AudioSpectrum::stop()
{
    if (m_timer.isActive()) {
        m_timer.cancel();
        emit animatingChanged();
    }
    setScales(QList<qreal>(kBarCount, kIdleScale));
}

void AudioSpectrum::step()
{
    QList<qreal> scales;
    scales.reserve(kBarCount);
    for (int i = 0; i < kBarCount; ++i)
        scales.append(kIdleScale + (1.0 - kIdleScale) * std::clamp(m_random(), 0.0, 1.0));
    setScales(scales);
}

void AudioSpectrum::setScales(const QList<qreal> &scales)
{
    if (m_scales == scales)
        return;
    m_scales = scales;
    emit scalesChanged();
}

} // namespace talvo
