#pragma once

#include "platform/SystemSettingsOpener.h"

#include <QList>

namespace talvo {

// Records the settings pages the program opens.
class FakeSystemSettingsOpener final : public SystemSettingsOpener
{
public:
    bool open(Page page) override
    {
        opened.append(page);
        return pageExists;
    }

    QList<Page> opened;
    bool pageExists = true;
};

} // namespace talvo
