#pragma once

#include "platform/FolderChooser.h"

namespace talvo {

// Qt's file dialog in folder mode, shown modally; the absolute path the user
// confirmed, nothing when cancelled. Qt hands it to the desktop portal when
// the platform theme uses one (inside a Flatpak or when configured), else shows its own.
// Needs a QApplication.
std::optional<QString> chooseFolderWithDialog(const FolderChooserRequest &request);

} // namespace talvo
