#pragma once

namespace talvo {

// Opens pages of the desktop's own settings application, where the desktop
// has one. Main thread only; returns at once without waiting for the page.
class SystemSettingsOpener
{
public:
    enum class Page {
        LocationPrivacy, // whether and by which programs the location service may be used
    };

    virtual ~SystemSettingsOpener() = default;
    // Whether a page was asked to open; false when the desktop has no such page.
    virtual bool open(Page page) = 0;
};

} // namespace talvo
