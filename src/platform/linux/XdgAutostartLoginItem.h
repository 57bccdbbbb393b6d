#pragma once

#include "platform/AppWindows.h"

#include <QHash>

namespace talvo {

// Launch at login through the XDG autostart folder: an entry
// $XDG_CONFIG_HOME/autostart/com.talvo.Talvo.desktop that starts `executable`.
// "Enabled" means the entry exists and the user has not turned it off
// (Hidden=true, or the desktop's X-GNOME-Autostart-enabled=false).
class XdgAutostartLoginItem final : public LoginItemService
{
public:
    XdgAutostartLoginItem(QString autostartFolder, QString executable);
    static QString defaultFolder();

    Status status() const override;
    std::optional<QString> registerItem() override;
    std::optional<QString> unregisterItem() override;

    QString entryPath() const;
    // Earlier versions named the entry talvo.desktop: moves it to the current
    // name once, keeping the user's choice (an entry turned off stays off).
    // Returns why it failed, if it did; the old entry then stays.
    std::optional<QString> migrateLegacyEntry();

private:
    QString m_folder;
    QString m_executable;
};

// Desktop-entry helpers shared by the autostart item and the launcher entry.
namespace DesktopEntry {
// Far more than any real entry holds.
inline constexpr qint64 kMaxEntryBytes = 256 * 1024;
// The [Desktop Entry] group's key/value pairs (later duplicates win); nothing
// unless `path` is a regular file, and only its first kMaxEntryBytes.
QHash<QString, QString> read(const QString &path);
// The text of Talvo's entry for `executable` (quoted as the Exec rules want).
QByteArray talvoEntry(const QString &executable, bool autostart);
// Installs (or refreshes) Talvo's launcher entry and icon under `dataHome`
// so that launchers and the autostart entry can start it, and removes the
// launcher an earlier version wrote under its old name.
void installLauncher(const QString &dataHome, const QString &executable);
} // namespace DesktopEntry

} // namespace talvo
