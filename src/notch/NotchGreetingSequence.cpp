#include "NotchGreetingSequence.h"

#include "platform/QmlInstances.h"

namespace talvo {

QStringList NotchGreetingSequence::defaultGreetings()
{
    return {QStringLiteral("hello"), QStringLiteral("bonjour"), QStringLiteral("hola"), QStringLiteral("ciao"),
            QStringLiteral("hallo"), QStringLiteral("hej"),     QStringLiteral("welcome")};
}

NotchGreetingSequence::NotchGreetingSequence(Scheduler &scheduler, QStringList greetings, QObject *parent)
    : QObject(parent), m_scheduler(scheduler), m_greetings(std::move(greetings))
{
}

NotchGreetingSequence *NotchGreetingSequence::create(QQmlEngine *qmlEngine, QJSEngine *)
{
    return providedInstance<NotchGreetingSequence>(qmlEngine);
}

QString NotchGreetingSequence::currentGreeting() const
{
    return m_greetings.value(m_currentIndex);
}

void NotchGreetingSequence::start()
{
    const quint64 showing = ++m_showing;
    setCurrentIndex(0);
    for (int i = 1; i < m_greetings.size(); ++i) {
        m_scheduler.after(kStepInterval * i, this, [this, showing, i] {
            if (showing == m_showing)
                setCurrentIndex(i);
        });
    }
}

void NotchGreetingSequence::setCurrentIndex(int index)
{
    if (index == m_currentIndex)
        return;
    m_currentIndex = index;
    emit currentIndexChanged();
}

} // namespace talvo
