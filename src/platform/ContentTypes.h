#pragma once

#include <QString>

namespace talvo {

// Content types of files and the theme icons that stand for them. Answers come
// from the file name alone: nothing here opens or reads a file. The names
// returned are icon names that the current icon theme (or its fallback)
// resolves, so a view can draw them with QIcon::fromTheme / Image sources.
//
// Main thread (icon themes are looked up through QIcon); the answers do not
// change while the program runs.
class ContentTypes
{
public:
    virtual ~ContentTypes() = default;

    // Icon of the data type registered for `extension` (already lower-cased,
    // without the dot); the generic data icon when no data type matches,
    // including for an empty extension.
    virtual QString iconNameForExtension(const QString &extension) const = 0;
    // Icon of the folder type.
    virtual QString folderIconName() const = 0;
    // Icon of generic data (a file of unknown kind).
    virtual QString genericDataIconName() const = 0;
};

} // namespace talvo
