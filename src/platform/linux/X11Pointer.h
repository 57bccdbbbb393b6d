#pragma once

#include "platform/Pointer.h"

namespace talvo {

class XcbConnection;

// Asks the X server where the pointer is and which buttons are held.
class X11Pointer final : public Pointer
{
public:
    explicit X11Pointer(XcbConnection &connection) : m_connection(connection) {}

    QPointF position() const override;
    Qt::MouseButtons pressedButtons() const override;

private:
    struct State
    {
        QPointF position;
        Qt::MouseButtons buttons;
    };
    State query() const;

    XcbConnection &m_connection;
};

} // namespace talvo
