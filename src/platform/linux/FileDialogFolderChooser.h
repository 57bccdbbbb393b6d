#pragma once

#include "platform/FolderChooser.h"

namespace talvo {

// Qt's file dialog in folder mode. Qt hands it to the desktop portal when the
// platform theme uses one (sandboxed or configured), else shows its own.
// Needs a QApplication.
class FileDialogFolderChooser final : public FolderChooser
{
public:
    std::optional<QString> chooseFolder(const FolderChooserRequest &request) override;
    // The XDG download directory, when it exists.
    std::optional<QString> downloadsFolder() const override;
};

} // namespace talvo
