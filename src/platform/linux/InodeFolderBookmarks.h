#pragma once

#include "platform/FolderBookmarks.h"

namespace talvo {

// A bookmark is a small JSON document holding the folder's path and its
// identity on disk (device, inode and, where the file system records one, the
// birth time, since a freed inode number goes to the next new file). Resolving looks at the path first: a
// folder there is the answer, stale when its identity changed. When the path
// holds no folder, the folder is looked for by identity near its old place
// (renamed in place, moved into a neighbouring folder or up a level); found
// there it is stale, else the bookmark fails.
//
// Linux has no access grants to start or stop: both calls do nothing.
class InodeFolderBookmarks final : public FolderBookmarks
{
public:
    BookmarkCreation createBookmark(const QString &folderPath) const override;
    BookmarkResolution resolveBookmark(const QByteArray &data) const override;
    bool startAccessing(const QString &) override { return false; }
    void stopAccessing(const QString &) override {}
};

} // namespace talvo
