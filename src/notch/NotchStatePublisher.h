#pragma once

#include <QObject>

namespace talvo {

class ControlBus;
class NotchViewModel;
class NotchWindowController;

// Mirrors the notch's state onto the control bus as read-only values, so that
// tools and the whole-program tests can watch it: the hover, expansion and
// drag flags, the active tab's raw value, the shelf's item count and items (as
// ShelfItem::summary() lines), the outline in Qt's global coordinates
// ([x, y, width, height]) and whether the window lets the pointer through.
// It also takes the bus's request for the first-run greeting to the window
// controller.
//
// Main thread only.
class NotchStatePublisher : public QObject
{
    Q_OBJECT
public:
    NotchStatePublisher(NotchViewModel &viewModel, NotchWindowController &controller, ControlBus &bus,
                        QObject *parent = nullptr);

private:
    void publishAll();

    NotchViewModel &m_viewModel;
    NotchWindowController &m_controller;
    ControlBus &m_bus;
};

} // namespace talvo
