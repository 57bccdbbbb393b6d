#include "NotchEventModel.h"

#include "platform/CalendarStore.h"

#include <QUuid>

namespace talvo {

QString NotchEventModel::untitled()
{
    return QStringLiteral("Untitled");
}

QColor NotchEventModel::defaultCalendarColor()
{
    // The platform blue in its dark appearance, which is what the black notch uses.
    return QColor(0x0A, 0x84, 0xFF);
}

NotchEventModel NotchEventModel::fromStore(const CalendarEvent &event)
{
    NotchEventModel model;
    model.id = event.identifier.isEmpty() ? QUuid::createUuid().toString(QUuid::WithoutBraces) : event.identifier;
    model.title = event.title.isEmpty() ? untitled() : event.title;
    model.start = event.start;
    model.end = event.end;
    model.isAllDay = event.isAllDay;
    model.calendarColor = event.calendarColor.isValid() ? event.calendarColor : defaultCalendarColor();
    return model;
}

bool NotchEventModel::sameContent(const NotchEventModel &other) const
{
    return id == other.id && title == other.title && start == other.start && end == other.end
           && isAllDay == other.isAllDay && calendarColor == other.calendarColor;
}

} // namespace talvo
