#pragma once

#include "RainDrop.h"
#include "platform/Scheduler.h"

#include <QObject>
#include <QQmlParserStatus>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

class QRandomGenerator;

namespace talvo {

// The rain scene's drops and its one deferred start. When the scene appears
// it draws kDropCount drops (once), and kStartDelay later sets `falling`, so
// the first frame shows every streak at its start and the falls animate from
// there. All motion after that belongs to the view's animations.
//
//     RainShower { id: shower; onAppeared: ... }   // start() when shown
class RainShower : public QObject, public QQmlParserStatus
{
    Q_OBJECT
    QML_ELEMENT
    Q_INTERFACES(QQmlParserStatus)
    Q_PROPERTY(QVariantList drops READ dropsVariant NOTIFY dropsChanged)
    Q_PROPERTY(int count READ count NOTIFY dropsChanged)
    Q_PROPERTY(bool falling READ falling NOTIFY fallingChanged)

public:
    static constexpr int kDropCount = 25;
    static constexpr Scheduler::Duration kStartDelay{50};

    static QList<RainDrop> generate(int count, QRandomGenerator &random);

    explicit RainShower(QObject *parent = nullptr);
    // Tests give the scheduler and the random source; QML finds the
    // application's scheduler on the engine and uses the global generator.
    RainShower(Scheduler &scheduler, QRandomGenerator &random, QObject *parent = nullptr);

    void classBegin() override {}
    void componentComplete() override;

    // Draws the drops when there are none and schedules the start.
    Q_INVOKABLE void start();
    // Where a drop's streak is centred in an area `width` × `height`.
    Q_INVOKABLE QPointF centreOf(int index, qreal width, qreal height, bool falling) const;

    const QList<RainDrop> &dropList() const { return m_drops; }
    QVariantList dropsVariant() const;
    int count() const { return int(m_drops.size()); }
    bool falling() const { return m_falling; }

signals:
    void dropsChanged();
    void fallingChanged();

private:
    Scheduler *m_scheduler = nullptr;
    QRandomGenerator *m_random = nullptr;
    QList<RainDrop> m_drops;
    bool m_falling = false;
    TimerHandle m_start;
};

} // namespace talvo
