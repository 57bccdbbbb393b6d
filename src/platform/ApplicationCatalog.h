#pragma once

#include <QStringList>

namespace talvo {

// The applications installed on this machine. An application is named by the
// full path of its desktop entry (a ".desktop" file).
//
// Main thread.
class ApplicationCatalog
{
public:
    virtual ~ApplicationCatalog() = default;

    // The favourites a user starts with: the entries of the default web browser
    // and of the desktop's settings application, in that order, leaving out the
    // ones this machine does not have.
    virtual QStringList defaultFavoriteApps() const = 0;
};

} // namespace talvo
