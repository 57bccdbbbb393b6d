#pragma once

#include <QUrl>

namespace talvo {

// Opens a file with the application the desktop chooses for it.
//
// Main thread only. Returns whether the desktop accepted the request (the
// application may still fail later, which nobody reports).
class FileOpener
{
public:
    virtual ~FileOpener() = default;
    virtual bool open(const QUrl &url) = 0;
};

} // namespace talvo
