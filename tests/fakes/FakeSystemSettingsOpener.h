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
        return true;
    }

    QList<Page> opened;
};

} // namespace talvo
