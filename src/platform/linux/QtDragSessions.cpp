#include "QtDragSessions.h"

#include "platform/Scheduler.h"

#include <QDrag>
#include <QGuiApplication>
#include <QPixmap>

namespace talvo {

QtDragSessions::QtDragSessions(Scheduler &scheduler, QObject *parent) : QObject(parent), m_scheduler(scheduler) {}

void QtDragSessions::start(Request request, Began began, Ended ended)
{
    // QDrag::exec() runs a nested event loop until the drop. Started from the
    // caller's pointer handler it would hold that handler (and the view that
    // runs it) on the stack while the notch changes shape and may destroy it.
    auto pending = std::make_shared<Request>(std::move(request));
    m_scheduler.post(this, [this, pending, began = std::move(began), ended = std::move(ended)] {
        run(std::move(*pending), began, ended);
    });
}

void QtDragSessions::run(Request request, const Began &began, const Ended &ended)
{
    // Released already (a quick flick): a session now would wait for the
    // next press to drop.
    if (QGuiApplication::mouseButtons() == Qt::NoButton) {
        began();
        ended(Qt::IgnoreAction);
        return;
    }
    auto *drag = new QDrag(this); // Qt deletes it once the session is over
    drag->setMimeData(request.data.release());
    if (!request.picture.isNull()) {
        drag->setPixmap(QPixmap::fromImage(request.picture));
        drag->setHotSpot(request.hotSpot);
    }
    began();
    const Qt::DropAction action = drag->exec(request.allowedActions, request.defaultAction);
    ended(action);
}

} // namespace talvo
