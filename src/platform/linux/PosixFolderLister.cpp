#include "PosixFolderLister.h"

#include <QFile>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <memory>

namespace talvo {

namespace {

QString describeError(const QString &path, int error)
{
    return QStringLiteral("%1: %2").arg(path, qt_error_string(error));
}

struct DirCloser
{
    void operator()(DIR *dir) const { closedir(dir); }
};

} // namespace

FolderListing PosixFolderLister::list(const QString &folderPath) const
{
    FolderListing listing;
    std::unique_ptr<DIR, DirCloser> dir(opendir(QFile::encodeName(folderPath).constData()));
    if (!dir) {
        listing.error = describeError(folderPath, errno);
        return listing;
    }
    const int fd = dirfd(dir.get());
    const QString prefix = folderPath.endsWith(u'/') ? folderPath : folderPath + u'/';
    for (;;) {
        errno = 0;
        const dirent *entry = readdir(dir.get());
        if (!entry) {
            if (errno != 0) {
                listing.error = describeError(folderPath, errno);
                listing.entries.clear();
                return listing;
            }
            break;
        }
        if (entry->d_name[0] == '.')
            continue; // hidden, and "." and ".."
        FolderEntry item;
        item.path = prefix + QFile::decodeName(entry->d_name);
        // Following links: a link to a folder is a folder to the user. A
        // dangling one keeps unknown kind and date.
        struct stat info;
        if (fstatat(fd, entry->d_name, &info, 0) == 0) {
            item.isDirectory = S_ISDIR(info.st_mode);
            const qint64 ms = qint64(info.st_mtim.tv_sec) * 1000 + info.st_mtim.tv_nsec / 1000000;
            // UTC: no time-zone work per entry, and safe off the main thread.
            item.modified = QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC);
        }
        listing.entries.append(std::move(item));
    }
    listing.ok = true;
    return listing;
}

} // namespace talvo
