#pragma once

#include "TestImages.h"

#include <QDir>
#include <QFile>

namespace talvo {

// Installs a desktop entry `<id>.desktop` under `dataHome`/applications with a
// one-colour icon given by path; `extraLines` go into the entry as they stand.
// Point XDG_DATA_HOME at `dataHome` to have it found.
inline bool installTestDesktopEntry(const QString &dataHome, const QString &id, QColor iconColour,
                                    const QByteArray &extraLines = {})
{
    const QString icon = dataHome + u'/' + id + QStringLiteral(".png");
    if (!QDir(dataHome).mkpath(QStringLiteral("applications")) || !solidImage(iconColour).save(icon))
        return false;
    QFile entry(dataHome + QStringLiteral("/applications/") + id + QStringLiteral(".desktop"));
    if (!entry.open(QIODevice::WriteOnly))
        return false;
    return entry.write("[Desktop Entry]\nType=Application\nIcon=" + icon.toUtf8() + "\n" + extraLines) > 0;
}

} // namespace talvo
