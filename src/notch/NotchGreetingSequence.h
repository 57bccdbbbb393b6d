#pragma once

#include "platform/Scheduler.h"

#include <QObject>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

class QQmlEngine;
class QJSEngine;

namespace talvo {

// The first-run greeting's words, passed once each, 0.6 s apart, ending on the
// last. The greeting view calls start() every time it appears, so each showing
// begins again at the first word.
//
// Steps of an earlier showing that are still pending when the greeting starts
// again do nothing: only the latest start() moves the index.
//
// Main thread only.
class NotchGreetingSequence : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(QStringList greetings READ greetings CONSTANT)
    Q_PROPERTY(int currentIndex READ currentIndex NOTIFY currentIndexChanged)
    Q_PROPERTY(QString currentGreeting READ currentGreeting NOTIFY currentIndexChanged)

public:
    static constexpr Scheduler::Duration kStepInterval{600};

    static QStringList defaultGreetings();

    explicit NotchGreetingSequence(Scheduler &scheduler, QStringList greetings = defaultGreetings(),
                                   QObject *parent = nullptr);

    // QML gets the instance the application built (see QmlInstances.h).
    static NotchGreetingSequence *create(QQmlEngine *qmlEngine, QJSEngine *jsEngine);

    QStringList greetings() const { return m_greetings; }
    int currentIndex() const { return m_currentIndex; }
    QString currentGreeting() const;

    // Back to the first greeting; then greeting i follows i × kStepInterval later.
    Q_INVOKABLE void start();

signals:
    void currentIndexChanged();

private:
    void setCurrentIndex(int index);

    Scheduler &m_scheduler;
    QStringList m_greetings;
    int m_currentIndex = 0;
    quint64 m_showing = 0;
};

} // namespace talvo
