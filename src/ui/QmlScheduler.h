#pragma once

#include "platform/Scheduler.h"

#include <QQmlEngine>

namespace talvo {

// Views that keep time of their own (an animation step, a sequence of
// greetings) are created by QML, not by the composition root, so they find
// the application's scheduler on their engine. Without one they stay still.
inline void provideSchedulerToQml(QQmlEngine &engine, Scheduler &scheduler)
{
    engine.setProperty("talvo::Scheduler", QVariant::fromValue(static_cast<void *>(&scheduler)));
}

inline Scheduler *schedulerForQml(const QQmlEngine *engine)
{
    if (!engine)
        return nullptr;
    return static_cast<Scheduler *>(engine->property("talvo::Scheduler").value<void *>());
}

} // namespace talvo
