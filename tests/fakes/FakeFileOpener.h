#pragma once

#include "platform/FileOpener.h"

#include <QList>

namespace talvo {

// Records what it was asked to open.
class FakeFileOpener final : public FileOpener
{
public:
    bool open(const QUrl &url) override
    {
        opened.append(url);
        return true;
    }
    QList<QUrl> opened;
};

} // namespace talvo
