#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace talvo {

struct BookmarkCreation
{
    std::optional<QByteArray> data; // nothing on failure
    QString error;                  // why it failed, for the log
};

struct BookmarkResolution
{
    std::optional<QString> path; // absolute folder path; nothing on failure
    // The folder was found but the data no longer describes it exactly (it
    // moved, or another folder now stands at its path): store a fresh bookmark.
    bool isStale = false;
    QString error; // why it failed, for the log
};

// Durable references to folders the user granted. A bookmark is opaque data
// that finds its folder again after the folder was renamed or moved, and
// fails once the folder is gone. Access to a folder may have to be started
// before reading it and stopped afterwards.
//
// Every call is thread-safe and may block on the file system, so callers on
// the main thread should prefer a worker queue.
class FolderBookmarks
{
public:
    virtual ~FolderBookmarks() = default;

    virtual BookmarkCreation createBookmark(const QString &folderPath) const = 0;
    virtual BookmarkResolution resolveBookmark(const QByteArray &data) const = 0;
    // Returns whether access was granted by this call; only then must
    // stopAccessing() follow.
    virtual bool startAccessing(const QString &folderPath) = 0;
    virtual void stopAccessing(const QString &folderPath) = 0;
};

} // namespace talvo
