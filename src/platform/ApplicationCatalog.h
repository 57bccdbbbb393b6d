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

    // The first of these desktop file ids ("spotify.desktop") that is
    // installed; empty when none is.
    virtual QString installedApplication(const QStringList &desktopFileIds) const = 0;
    // The desktop file id of the application the desktop opens files of this
    // content type with ("audio/mpeg"); empty when there is none.
    virtual QString defaultApplicationFor(const QString &contentType) const = 0;
    // Starts the application with this desktop file id the way the desktop's
    // launcher does. False when it is not installed or could not start.
    virtual bool launch(const QString &desktopFileId) = 0;
};

} // namespace talvo
