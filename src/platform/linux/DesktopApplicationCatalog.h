#pragma once

#include "platform/ApplicationCatalog.h"

#include <functional>

namespace talvo {

// Applications as desktop entries found in the XDG application folders
// ($XDG_DATA_HOME/applications, then each of $XDG_DATA_DIRS).
//
// The default browser is the handler of "x-scheme-handler/http" in the
// mimeapps.list files, read in the order the XDG MIME-applications rules give
// (desktop-specific files before generic ones, configuration before data
// folders); an entry that is not installed is skipped. When no list names an
// installed browser, the first installed application that handles http in
// the desktop database (mimeinfo.cache) is taken, as the XDG rules do for a
// type without a default.
// The settings application is the first installed of the known desktops'
// settings entries, the current desktop's ($XDG_CURRENT_DESKTOP) first.
// Launching goes through GIO's launcher (`gio launch`), out of process.
class DesktopApplicationCatalog final : public ApplicationCatalog
{
public:
    // Answers a desktop file id ("firefox-esr.desktop") or nothing.
    using BrowserQuery = std::function<QString()>;

    // Falls back to firstInstalledBrowser().
    DesktopApplicationCatalog();
    explicit DesktopApplicationCatalog(BrowserQuery fallbackBrowserQuery);

    QStringList defaultFavoriteApps() const override;
    QString installedApplication(const QStringList &desktopFileIds) const override;
    // The mimeapps.list choice, else the first installed claimant (mimeinfo.cache).
    QString defaultApplicationFor(const QString &contentType) const override;
    // Through `gio launch` (Exec field codes, DBusActivatable, the startup
    // notification id), as the desktop's own launchers do; false when the
    // entry is not installed or the launcher cannot be started.
    bool launch(const QString &desktopFileId) override;
    QList<Application> installedApplications() const override;
    QString displayName(const QString &entryPath) const override;
    bool launchEntry(const QString &entryPath) override;

    // Full paths; empty when there is none.
    QString defaultBrowserEntry() const;
    QString settingsEntry() const;

    // Full path of the installed entry with this desktop file id (an entry in
    // a subfolder has the folder in its id: "kde4/okular.desktop" is
    // "kde4-okular.desktop"); empty when none is installed.
    static QString entryPath(const QString &desktopFileId);
    // The handlers a mimeapps.list (or mimeinfo.cache) names for `mimeType`
    // in `section` ("Default Applications", "MIME Cache"), in order.
    // Unreadable or malformed files give nothing.
    static QStringList handlers(const QString &listPath, const QString &section, const QString &mimeType);
    // The first installed handler of http that the desktop database names,
    // as a desktop file id; empty when none.
    static QString firstInstalledBrowser();
    // The first installed application whose entry claims the type.
    static QString firstInstalledHandler(const QString &contentType);

private:
    BrowserQuery m_fallbackBrowserQuery;
};

} // namespace talvo
