// What is new in this version, shown on the settings window's Home page.
#include "SettingsController.h"

namespace talvo {

QStringList SettingsController::releaseNotes()
{
    return {
        tr("New: Edit Widgets button right in the notch shelf for quick access"),
        tr("New: a banner in the notch shelf lets you know when an update is ready"),
        tr("Fixed: update checks failing to reach the release feed"),
        tr("Fixed: Spotify album art not appearing in the Music widget"),
        tr("Fixed: calendar folder and location access getting stuck after granting"),
        tr("Cleaner Weather widget appearance in Frameless mode"),
    };
}

} // namespace talvo
