#pragma once

namespace talvo {

// Opens pages of the desktop's own settings application, where the desktop
// has one. Main thread only; returns at once without waiting for the page.
class SystemSettingsOpener
{
public:
    enum class Page {
        LocationPrivacy, // which programs may use the location service
        CalendarPrivacy, // which programs may read calendars
    };

    virtual ~SystemSettingsOpener() = default;
    // Whether a page was asked to open; false when the desktop has no such page.
    virtual bool open(Page page) = 0;
};

} // namespace talvo
