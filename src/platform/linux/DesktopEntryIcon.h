#pragma once

#include <QImage>
#include <QString>

namespace talvo {

// The icon an installed application's desktop entry names (the entry found as
// DesktopApplicationCatalog::entryPath() finds it).
// An "Icon" that is an absolute path is read from that file; a name is looked
// up in the icon theme, then in /usr/share/pixmaps.
//
// Main thread (the icon theme is not thread-safe).
struct DesktopEntryIcon
{
    static constexpr qint64 kMaxEntryBytes = 256 * 1024;
    static constexpr qint64 kMaxImageBytes = 4 * 1024 * 1024;

    // `desktopEntry` is a desktop file id with or without ".desktop", or the
    // full path of an entry file; a null
    // image when there is no such entry, it names no icon, or the icon is
    // missing or unreadable. The image is at most `size` pixels on a side.
    static QImage load(const QString &desktopEntry, int size);
    // The "Icon" value of the [Desktop Entry] group of an entry file.
    static QString iconName(const QString &entryPath);
};

} // namespace talvo
