#include "TrashEmptier.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace talvo {

namespace {

// File systems that hold no user data and never a trash folder.
const QSet<QByteArray> kPseudoFileSystems = {
    "proc",  "sysfs",  "devtmpfs", "devpts",   "cgroup",   "cgroup2",    "securityfs", "pstore",
    "bpf",   "debugfs", "tracefs", "mqueue",   "hugetlbfs", "configfs",  "fusectl",    "autofs",
    "binfmt_misc", "efivarfs", "rpc_pipefs", "nsfs", "overlay", "squashfs", "ramfs"};

// A folder is a trash folder to empty when it is a real folder (not a link).
bool isRealFolder(const QString &path)
{
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Removes `name` inside the open folder `parent`, depth first, never following
// a link: links and files are unlinked, folders opened with O_NOFOLLOW.
bool removeAt(int parent, const char *name, QStringList &errors, const QString &shownPath)
{
    struct stat info {};
    if (::fstatat(parent, name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
        errors.append(QStringLiteral("%1: %2").arg(shownPath, QString::fromLocal8Bit(std::strerror(errno))));
        return false;
    }
    if (!S_ISDIR(info.st_mode)) {
        if (::unlinkat(parent, name, 0) == 0)
            return true;
        errors.append(QStringLiteral("%1: %2").arg(shownPath, QString::fromLocal8Bit(std::strerror(errno))));
        return false;
    }
    const int folder = ::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (folder < 0) {
        errors.append(QStringLiteral("%1: %2").arg(shownPath, QString::fromLocal8Bit(std::strerror(errno))));
        return false;
    }
    bool all = true;
    if (DIR *listing = ::fdopendir(folder)) {
        QList<QByteArray> children;
        while (const dirent *entry = ::readdir(listing)) {
            if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
                children.append(QByteArray(entry->d_name));
        }
        for (const QByteArray &child : children)
            all &= removeAt(::dirfd(listing), child.constData(), errors,
                            shownPath + u'/' + QFile::decodeName(child));
        ::closedir(listing); // closes `folder` too
    } else {
        ::close(folder);
        errors.append(QStringLiteral("%1: cannot list").arg(shownPath));
        return false;
    }
    if (!all)
        return false;
    if (::unlinkat(parent, name, AT_REMOVEDIR) == 0)
        return true;
    errors.append(QStringLiteral("%1: %2").arg(shownPath, QString::fromLocal8Bit(std::strerror(errno))));
    return false;
}

// Empties one folder of a trash (files/ or info/), keeping the folder.
void emptyFolder(const QString &path, TrashEmptier::Outcome &outcome)
{
    if (!isRealFolder(path))
        return;
    const int folder = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (folder < 0)
        return;
    DIR *listing = ::fdopendir(folder);
    if (!listing) {
        ::close(folder);
        return;
    }
    QList<QByteArray> children;
    while (const dirent *entry = ::readdir(listing)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            children.append(QByteArray(entry->d_name));
    }
    for (const QByteArray &child : children) {
        if (removeAt(::dirfd(listing), child.constData(), outcome.errors, path + u'/' + QFile::decodeName(child)))
            ++outcome.removed;
        else
            ++outcome.remaining;
    }
    ::closedir(listing);
}

} // namespace

TrashEmptier::TrashEmptier(QString homeTrash, QStringList mountPoints, unsigned int uid)
    : m_homeTrash(std::move(homeTrash)), m_mountPoints(std::move(mountPoints)), m_uid(uid)
{
}

QStringList TrashEmptier::mountedVolumes()
{
    QStringList points;
    QFile mounts(QStringLiteral("/proc/self/mounts"));
    if (!mounts.open(QIODevice::ReadOnly))
        return points;
    for (const QByteArray &line : mounts.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() < 3 || kPseudoFileSystems.contains(fields.at(2)) || fields.at(2) == "tmpfs")
            continue;
        // Blanks and other characters come octal-escaped ("\040").
        QByteArray point = fields.at(1);
        point.replace("\\040", " ").replace("\\011", "\t").replace("\\012", "\n").replace("\\134", "\\");
        const QString path = QFile::decodeName(point);
        if (!points.contains(path))
            points.append(path);
    }
    return points;
}

TrashEmptier TrashEmptier::forCurrentUser()
{
    return TrashEmptier(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Trash"),
                        mountedVolumes(), ::getuid());
}

QStringList TrashEmptier::trashFolders() const
{
    QStringList folders;
    if (isRealFolder(m_homeTrash))
        folders.append(m_homeTrash);
    for (const QString &top : m_mountPoints) {
        const QString base = top == u"/" ? QString() : top;
        // $topdir/.Trash/$uid only where .Trash is a real, sticky folder.
        const QString shared = base + QStringLiteral("/.Trash");
        struct stat info {};
        if (::lstat(QFile::encodeName(shared).constData(), &info) == 0 && S_ISDIR(info.st_mode)
            && (info.st_mode & S_ISVTX)) {
            const QString own = shared + u'/' + QString::number(m_uid);
            if (isRealFolder(own))
                folders.append(own);
        }
        const QString personal = base + QStringLiteral("/.Trash-") + QString::number(m_uid);
        if (isRealFolder(personal))
            folders.append(personal);
    }
    folders.removeDuplicates();
    return folders;
}

TrashEmptier::Outcome TrashEmptier::empty() const
{
    Outcome outcome;
    for (const QString &trash : trashFolders()) {
        emptyFolder(trash + QStringLiteral("/files"), outcome);
        emptyFolder(trash + QStringLiteral("/info"), outcome);
        // The size cache describes files that are gone now.
        const QByteArray sizes = QFile::encodeName(trash + QStringLiteral("/directorysizes"));
        struct stat info {};
        if (::lstat(sizes.constData(), &info) == 0 && !S_ISDIR(info.st_mode))
            ::unlink(sizes.constData());
    }
    return outcome;
}

} // namespace talvo
