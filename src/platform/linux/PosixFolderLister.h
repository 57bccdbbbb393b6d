#pragma once

#include "platform/FolderLister.h"

namespace talvo {

// Lists with readdir and one stat per entry. Hidden means a name beginning
// with a dot, as every Linux file manager has it.
class PosixFolderLister final : public FolderLister
{
public:
    FolderListing list(const QString &folderPath) const override;
};

} // namespace talvo
