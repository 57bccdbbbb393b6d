#pragma once

#include <QString>

#include <optional>

namespace talvo {

struct FolderChooserRequest
{
    QString message;        // tells the user why a folder is asked for
    QString prompt;         // title of the confirming button
    QString startDirectory; // empty: wherever the chooser likes
};

// Lets the user pick one folder (files cannot be chosen), and knows where the user's Downloads folder is.
//
// Main thread only. chooseFolder() is modal: it returns once the user has
// decided, running a nested event loop meanwhile.
class FolderChooser
{
public:
    virtual ~FolderChooser() = default;

    // The absolute path the user confirmed; nothing when the user cancelled.
    virtual std::optional<QString> chooseFolder(const FolderChooserRequest &request) = 0;
    // The user's Downloads folder when the desktop names one that exists.
    virtual std::optional<QString> downloadsFolder() const = 0;
};

} // namespace talvo
