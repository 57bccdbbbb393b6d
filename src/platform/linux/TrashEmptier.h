#pragma once

#include <QStringList>

namespace talvo {

// Empties the user's trash, which freedesktop.org's trash layout lays
// out: the home trash and the trash folders at the top of mounted volumes
// ($topdir/.Trash/$uid, where .Trash is a real folder with the sticky bit, and
// $topdir/.Trash-$uid), each with its files/ and info/ folders and the
// directorysizes cache.
//
// Nothing is followed out of a trash folder: a symbolic link inside is removed
// itself, never what it points to, and a trash folder that is itself a link is
// left alone. Items that cannot be removed stay; the others go.
//
// Any thread.
class TrashEmptier
{
public:
    struct Outcome
    {
        int removed = 0;   // top-level items of files/ and info/
        int remaining = 0; // items that could not be removed
        QStringList errors;
    };

    // `homeTrash` is $XDG_DATA_HOME/Trash; `mountPoints` the volumes' top
    // folders (see mountedVolumes()).
    TrashEmptier(QString homeTrash, QStringList mountPoints, unsigned int uid);

    // The mount points of /proc/self/mounts except the system's pseudo file systems.
    static QStringList mountedVolumes();
    static TrashEmptier forCurrentUser();

    // The trash folders that exist and may be emptied.
    QStringList trashFolders() const;
    Outcome empty() const;

private:
    QString m_homeTrash;
    QStringList m_mountPoints;
    unsigned int m_uid;
};

} // namespace talvo
