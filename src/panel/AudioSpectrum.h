#pragma once

#include "platform/Scheduler.h"

#include <QColor>
#include <QList>
#include <QObject>
#include <QQmlParserStatus>
#include <QtQml/qqmlregistration.h>

#include <functional>

namespace talvo {

// The five-bar equaliser beside the now-playing display. Idle, every bar
// stands at kIdleScale; while playing, every kStepInterval each bar is given a
// new random height between kIdleScale and 1, which the view animates to over
// one step. The colours follow the player: green for Spotify, red otherwise.
//
//     AudioSpectrum { playing: NowPlayingManager.isPlaying; appName: NowPlayingManager.appName }
//
// Main thread only. At most one step timer runs, and only while playing.
class AudioSpectrum : public QObject, public QQmlParserStatus
{
    Q_OBJECT
    Q_INTERFACES(QQmlParserStatus)
    QML_ELEMENT
    Q_PROPERTY(bool playing READ isPlaying WRITE setPlaying NOTIFY playingChanged)
    Q_PROPERTY(QString appName READ appName WRITE updateColors NOTIFY appNameChanged)
    // Vertical scale of each bar, left to right.
    Q_PROPERTY(QList<qreal> scales READ scales NOTIFY scalesChanged)
    // True while the bars move: the view animates scale changes only then, so
    // stopping drops the bars at once.
    Q_PROPERTY(bool animating READ isAnimating NOTIFY animatingChanged)
    // The bar's gradient runs from `baseColor` at its foot to `tipColor`; the
    // glow around it is `glowColor`.
    Q_PROPERTY(QColor baseColor READ baseColor NOTIFY colorsChanged)
    Q_PROPERTY(QColor tipColor READ tipColor NOTIFY colorsChanged)
    Q_PROPERTY(QColor glowColor READ glowColor NOTIFY colorsChanged)
    Q_PROPERTY(int stepMs READ stepMs CONSTANT)

public:
    static constexpr int kBarCount = 5;
    static constexpr qreal kIdleScale = 0.3;
    static constexpr Scheduler::Duration kStepInterval{280};

    // For QML: the scheduler comes from the engine (see QmlScheduler.h).
    explicit AudioSpectrum(QObject *parent = nullptr);
    // `random` answers uniformly in [0, 1].
    AudioSpectrum(Scheduler &scheduler, std::function<qreal()> random, QObject *parent = nullptr);
    ~AudioSpectrum() override;

    bool isPlaying() const { return m_playing; }
    void setPlaying(bool playing);
    QString appName() const { return m_appName; }
    void updateColors(const QString &appName);

    QList<qreal> scales() const { return m_scales; }
    bool isAnimating() const { return m_timer.isActive(); }
    QColor baseColor() const { return m_baseColor; }
    QColor tipColor() const { return m_tipColor; }
    QColor glowColor() const { return m_glowColor; }
    int stepMs() const { return int(kStepInterval.count()); }

    void classBegin() override {}
    void componentComplete() override;

signals:
    void playingChanged();
    void appNameChanged();
    void scalesChanged();
    void animatingChanged();
    void colorsChanged();

private:
    void start();
    void stop();
    void step();
    void setScales(const QList<qreal> &scales);

    Scheduler *m_scheduler = nullptr;
    std::function<qreal()> m_random;
    bool m_playing = false;
    QString m_appName;
    QList<qreal> m_scales;
    TimerHandle m_timer;
    QColor m_baseColor;
    QColor m_tipColor;
    QColor m_glowColor;
};

} // namespace talvo
