#include "InodeFolderBookmarks.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <memory>

namespace talvo {

namespace {

constexpr auto formatName = "talvo-folder-bookmark";
constexpr int formatVersion = 1;

// The search for a moved folder reads at most this many directory entries,
// so a bookmark of a vanished folder costs little on every refresh.
constexpr int searchBudget = 20000;

// Device and inode name a folder while it exists, but Linux hands a freed
// inode number to the next new file at once: a folder made after the granted
// one was deleted may carry its number. The birth time tells the two apart
// where the file system records one (0: unknown, as in bookmarks made before
// it was stored).
struct Identity
{
    quint64 device = 0;
    quint64 inode = 0;
    quint64 bornNs = 0;

    bool operator==(const Identity &other) const
    {
        return device == other.device && inode == other.inode
               && (bornNs == 0 || other.bornNs == 0 || bornNs == other.bornNs);
    }
};

// The identity of what `name` (relative to `dirFd`) is, when it is a folder;
// errno tells why not.
std::optional<Identity> identityAt(int dirFd, const QByteArray &name, int flags, int *error)
{
    struct statx info;
    if (statx(dirFd, name.constData(), flags, STATX_TYPE | STATX_INO | STATX_BTIME, &info) != 0) {
        *error = errno;
        return std::nullopt;
    }
    if (!S_ISDIR(info.stx_mode)) {
        *error = ENOTDIR;
        return std::nullopt;
    }
    const quint64 born = (info.stx_mask & STATX_BTIME)
                             ? quint64(info.stx_btime.tv_sec) * 1000000000u + info.stx_btime.tv_nsec
                             : 0;
    return Identity{quint64(makedev(info.stx_dev_major, info.stx_dev_minor)), quint64(info.stx_ino), born};
}

struct DirCloser
{
    void operator()(DIR *dir) const { closedir(dir); }
};

QString describeError(const QString &path, int error)
{
    return QStringLiteral("%1: %2").arg(path, qt_error_string(error));
}

// The identity of the folder at `path`, following links; errno tells why not.
std::optional<Identity> folderIdentity(const QString &path, int *error)
{
    return identityAt(AT_FDCWD, QFile::encodeName(path), 0, error);
}

QString parentOf(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash <= 0 ? QStringLiteral("/") : path.left(slash);
}

QString childOf(const QString &folder, const char *name)
{
    const QString base = folder.endsWith(u'/') ? folder : folder + u'/';
    return base + QFile::decodeName(name);
}

class MovedFolderSearch
{
public:
    explicit MovedFolderSearch(Identity wanted) : m_wanted(wanted) {}

    // Looks through `folder` and its sub-folders on the wanted device, one
    // level deep, leaving out `skip` (a subtree already searched).
    std::optional<QString> search(const QString &folder, const QString &skip)
    {
        QStringList subfolders;
        if (auto found = scan(folder, skip, &subfolders))
            return found;
        for (const QString &subfolder : std::as_const(subfolders)) {
            if (auto found = scan(subfolder, skip, nullptr))
                return found;
        }
        return std::nullopt;
    }

    bool exhausted() const { return m_budget <= 0; }

private:
    std::optional<QString> scan(const QString &folder, const QString &skip, QStringList *subfolders)
    {
        std::unique_ptr<DIR, DirCloser> dir(opendir(QFile::encodeName(folder).constData()));
        if (!dir)
            return std::nullopt;
        const int fd = dirfd(dir.get());
        while (const dirent *entry = readdir(dir.get())) {
            if (--m_budget <= 0)
                return std::nullopt;
            const char *name = entry->d_name;
            if (qstrcmp(name, ".") == 0 || qstrcmp(name, "..") == 0)
                continue;
            if (entry->d_type != DT_DIR && entry->d_type != DT_UNKNOWN)
                continue;
            const bool inodeMatches = quint64(entry->d_ino) == m_wanted.inode;
            if (!inodeMatches && !subfolders)
                continue;
            // Not following links: a link to the folder is not the folder.
            int error = 0;
            const std::optional<Identity> identity = identityAt(fd, QByteArray(name), AT_SYMLINK_NOFOLLOW, &error);
            if (!identity || identity->device != m_wanted.device)
                continue; // another file system cannot hold it
            const QString path = childOf(folder, name);
            if (*identity == m_wanted)
                return path;
            if (subfolders && path != skip)
                subfolders->append(path);
        }
        return std::nullopt;
    }

    Identity m_wanted;
    int m_budget = searchBudget;
};

std::optional<QString> findMovedFolder(const QString &oldPath, Identity wanted)
{
    MovedFolderSearch search(wanted);
    QString searched; // the subtree the previous round covered
    QString folder = parentOf(oldPath);
    for (;;) {
        int error = 0;
        if (folderIdentity(folder, &error)) {
            if (auto found = search.search(folder, searched))
                return found;
        }
        if (folder == QStringLiteral("/") || search.exhausted())
            return std::nullopt;
        searched = folder;
        folder = parentOf(folder);
    }
}

} // namespace

BookmarkCreation InodeFolderBookmarks::createBookmark(const QString &folderPath) const
{
    BookmarkCreation creation;
    const QString path = QDir::cleanPath(folderPath);
    if (!QDir::isAbsolutePath(path)) {
        creation.error = QStringLiteral("%1: not an absolute path").arg(folderPath);
        return creation;
    }
    int error = 0;
    const std::optional<Identity> identity = folderIdentity(path, &error);
    if (!identity) {
        creation.error = describeError(path, error);
        return creation;
    }
    // Device and inode are 64-bit; JSON numbers would lose digits.
    QJsonObject object{
        {QStringLiteral("format"), QLatin1String(formatName)},
        {QStringLiteral("version"), formatVersion},
        {QStringLiteral("path"), path},
        {QStringLiteral("device"), QString::number(identity->device)},
        {QStringLiteral("inode"), QString::number(identity->inode)},
    };
    if (identity->bornNs != 0)
        object.insert(QStringLiteral("born"), QString::number(identity->bornNs));
    creation.data = QJsonDocument(object).toJson(QJsonDocument::Compact);
    return creation;
}

BookmarkResolution InodeFolderBookmarks::resolveBookmark(const QByteArray &data) const
{
    BookmarkResolution resolution;
    const QJsonObject object = QJsonDocument::fromJson(data).object();
    const QString path = object.value(QStringLiteral("path")).toString();
    bool deviceOk = false;
    bool inodeOk = false;
    bool bornOk = true;
    const QJsonValue born = object.value(QStringLiteral("born"));
    const Identity stored{object.value(QStringLiteral("device")).toString().toULongLong(&deviceOk),
                          object.value(QStringLiteral("inode")).toString().toULongLong(&inodeOk),
                          born.isUndefined() ? 0 : born.toString().toULongLong(&bornOk)};
    if (object.value(QStringLiteral("format")).toString() != QLatin1String(formatName) || !deviceOk || !inodeOk
        || !bornOk
        || !QDir::isAbsolutePath(path) || QDir::cleanPath(path) != path) {
        resolution.error = QStringLiteral("the bookmark data is not a folder bookmark");
        return resolution;
    }

    int error = 0;
    if (const std::optional<Identity> found = folderIdentity(path, &error)) {
        resolution.path = path;
        resolution.isStale = *found != stored;
        return resolution;
    }
    if (error != ENOENT && error != ENOTDIR) {
        // The path may still hold the folder (a parent we may not enter, a
        // full table of open files): searching elsewhere could pick a wrong one.
        resolution.error = describeError(path, error);
        return resolution;
    }
    if (auto moved = findMovedFolder(path, stored)) {
        resolution.path = *moved;
        resolution.isStale = true;
        return resolution;
    }
    resolution.error = describeError(path, error);
    return resolution;
}

} // namespace talvo
