#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

namespace talvo {

struct FolderEntry
{
    QString path;                     // absolute
    std::optional<bool> isDirectory;  // nothing when it could not be read
    QDateTime modified;               // content modification time; invalid when unreadable
};

struct FolderListing
{
    bool ok = false;
    QList<FolderEntry> entries; // in no particular order
    QString error;              // why listing failed, for the log
};

// Lists the direct contents of a folder, without hidden entries and without
// descending into sub-folders. Symbolic links are described by what they
// point to.
//
// Thread-safe; blocks on the file system, so run it on a worker queue.
class FolderLister
{
public:
    virtual ~FolderLister() = default;
    virtual FolderListing list(const QString &folderPath) const = 0;
};

} // namespace talvo
