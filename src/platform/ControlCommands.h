#pragma once

#include "platform/PlatformResult.h"

#include <QStringList>

namespace talvo {

// What the control interface's commands ask of the running program. Each
// answers success when done, or a failure with the reason it refused (one
// line, shown to the caller); a refused command changes nothing.
//
// Main thread only.
class ControlCommands
{
public:
    virtual ~ControlCommands() = default;

    // Opens the notch on "home", "tray" or "shortcuts".
    virtual PlatformResult<> open(const QString &tab) = 0;
    virtual PlatformResult<> collapse() = 0;
    // Absolute paths of files or folders the user can read, added in order.
    virtual PlatformResult<> addPaths(const QStringList &paths) = 0;
    virtual PlatformResult<> addText(const QString &text) = 0;
    // Opens settings; on a page when `page` names one ("home", "general",
    // "widgets", "about"), on the current one when empty.
    virtual PlatformResult<> showSettings(const QString &page) = 0;
    virtual PlatformResult<> quit() = 0;
};

} // namespace talvo
