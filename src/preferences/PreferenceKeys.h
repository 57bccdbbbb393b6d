#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace talvo {

// Every key of the preferences store, with its type and the default a reader
// uses when the key is absent or holds a value of another type. Readers pass
// the key (and so its default) at the point of use; nothing writes a default
// back.

struct BoolKey
{
    const char *name;
    bool defaultValue;
};

struct TextKey
{
    const char *name;
    const char *defaultValue;
};

struct TextListKey
{
    const char *name; // absent: the reader decides (see the key's owner)
};

struct DataKey
{
    const char *name; // absent: no data
};

namespace PrefKey {
inline constexpr BoolKey hasCompletedOnboarding{"hasCompletedOnboarding", false};
inline constexpr BoolKey didConfigureLaunchAtLoginDefault{"didConfigureLaunchAtLoginDefault", false};
// Anything but a Boolean reads as the default, true.
inline constexpr BoolKey showMicMenuBarIcon{"showMicMenuBarIcon", true};
// "attached" or "floating"; any other text behaves as "attached".
inline constexpr TextKey shelfStyle{"shelfStyle", "attached"};
inline constexpr BoolKey hasSelectedShelfStyle{"hasSelectedShelfStyle", false};
// "main" or "active"; any other text behaves as "main".
inline constexpr TextKey targetDisplay{"targetDisplay", "main"};
// Comma-separated widget identifiers in display order.
inline constexpr TextKey activeWidgetsOrder{"activeWidgetsOrder", "music,weather,calendar"};
inline constexpr BoolKey enableGlassUI{"enableGlassUI", false};
inline constexpr BoolKey showTabLabels{"showTabLabels", true};
inline constexpr BoolKey enableFramelessWidgets{"enableFramelessWidgets", true};
inline constexpr TextKey scratchpadText{"scratchpadText", ""};
// Full paths of desktop entries, at most 6; when absent the shelf's favourites
// fall back to the desktop's browser and settings entries.
inline constexpr TextListKey favoriteApps{"TalvoFavoriteApps"};
// "#RRGGBB" in upper case, most recent first, at most 5.
inline constexpr TextListKey recentPickedColors{"RecentPickedColors"};
inline constexpr DataKey downloadsFolderBookmark{"DownloadsFolderBookmark"};
// Calendar folders (vdir) and single .ics files read beside Talvo's own
// calendar; absent means none.
inline constexpr TextListKey calendarSources{"calendarSources"};
} // namespace PrefKey

enum class PreferenceType { Bool, Text, TextList, Data };

struct PreferenceKeyInfo
{
    QString name;
    PreferenceType type;
    QVariant defaultValue; // invalid when the key has no fixed default
};

// The table of all keys, in the order above.
const QList<PreferenceKeyInfo> &allPreferenceKeys();
// The entry for a key, or nullptr for a key the program does not know.
const PreferenceKeyInfo *preferenceKeyInfo(const QString &name);

} // namespace talvo
