#include "RainShower.h"

#include "ui/QmlScheduler.h"

#include <QRandomGenerator>

namespace talvo {

QList<RainDrop> RainShower::generate(int count, QRandomGenerator &random)
{
    QList<RainDrop> drops;
    drops.reserve(count);
    for (int i = 0; i < count; ++i)
        drops.append(RainDrop::random(random));
    return drops;
}

RainShower::RainShower(QObject *parent) : QObject(parent), m_random(QRandomGenerator::global()) {}

RainShower::RainShower(Scheduler &scheduler, QRandomGenerator &random, QObject *parent)
    : QObject(parent), m_scheduler(&scheduler), m_random(&random)
{
}

void RainShower::componentComplete()
{
    if (!m_scheduler)
        m_scheduler = schedulerForQml(qmlEngine(this));
}

void RainShower::start()
{
    if (m_drops.isEmpty()) {
        m_drops = generate(kDropCount, *m_random);
        emit dropsChanged();
    }
    // Without a scheduler the drops stay at their start.
    if (m_falling || m_start.isActive() || !m_scheduler)
        return;
    m_start = m_scheduler->after(kStartDelay, this, [this] {
        m_falling = true;
        emit fallingChanged();
    });
}

QPointF RainShower::centreOf(int index, qreal width, qreal height, bool falling) const
{
    if (index < 0 || index >= m_drops.size())
        return {};
    return m_drops.at(index).centre(QSizeF(width, height), falling);
}

QVariantList RainShower::dropsVariant() const
{
    QVariantList list;
    for (const RainDrop &drop : m_drops)
        list.append(drop.toVariant());
    return list;
}

} // namespace talvo
