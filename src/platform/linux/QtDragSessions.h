#pragma once

#include "platform/DragSessions.h"

#include <QObject>

namespace talvo {

class Scheduler;

// Drag sessions through Qt's drag and drop (XDND on X11). Qt proposes move
// while Shift is held and copy otherwise, as the interface asks.
class QtDragSessions final : public QObject, public DragSessions
{
    Q_OBJECT
public:
    explicit QtDragSessions(Scheduler &scheduler, QObject *parent = nullptr);

    void start(Request request, Began began, Ended ended) override;

private:
    void run(Request request, const Began &began, const Ended &ended);

    Scheduler &m_scheduler;
};

} // namespace talvo
