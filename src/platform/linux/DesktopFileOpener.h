#pragma once

#include "platform/FileOpener.h"

namespace talvo {

// Opens with the desktop's default application (xdg-open's choice, through
// the portal where one runs).
class DesktopFileOpener final : public FileOpener
{
public:
    bool open(const QUrl &url) override;
};

} // namespace talvo
