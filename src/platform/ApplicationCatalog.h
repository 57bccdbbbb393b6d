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

    struct Application
    {
        QString name;
        QString entryPath;
        bool operator==(const Application &) const = default;
    };
    // The applications the desktop's menus show (not NoDisplay, not Hidden),
    // sorted by name; one per desktop file id, as the XDG folders' order decides.
    virtual QList<Application> installedApplications() const = 0;
    // An entry's name as a menu shows it: its Name in the user's language, else
    // its Name, else the file name without ".desktop".
    virtual QString displayName(const QString &entryPath) const = 0;
    // Starts the application of the entry file at this path as the desktop's
    // launcher does. False when the file is missing or nothing could start.
    virtual bool launchEntry(const QString &entryPath) = 0;
};

} // namespace talvo
