#pragma once

#include "platform/FolderBookmarks.h"

#include <QHash>
#include <QMutex>
#include <QSet>
#include <QStringList>

namespace talvo {

// Bookmarks of the form "bookmark:<path>". A test moves folders (the bookmark
// then resolves stale to the new path), removes them (it fails), or makes
// creation fail. Access calls are recorded in order as "start:<path>" and
// "stop:<path>". Thread-safe, like the real service.
class FakeFolderBookmarks final : public FolderBookmarks
{
public:
    static QByteArray dataFor(const QString &path) { return "bookmark:" + path.toUtf8(); }

    BookmarkCreation createBookmark(const QString &folderPath) const override
    {
        QMutexLocker lock(&m_mutex);
        ++m_creations;
        if (m_failCreation)
            return {std::nullopt, QStringLiteral("cannot create")};
        return {dataFor(folderPath), {}};
    }

    BookmarkResolution resolveBookmark(const QByteArray &data) const override
    {
        QMutexLocker lock(&m_mutex);
        ++m_resolutions;
        if (!data.startsWith("bookmark:"))
            return {std::nullopt, false, QStringLiteral("not a bookmark")};
        const QString path = QString::fromUtf8(data.mid(9));
        if (m_moved.contains(path))
            return {m_moved.value(path), true, {}};
        if (m_gone.contains(path))
            return {std::nullopt, false, QStringLiteral("%1 is gone").arg(path)};
        return {path, false, {}};
    }

    bool startAccessing(const QString &folderPath) override
    {
        QMutexLocker lock(&m_mutex);
        m_accessLog.append(QStringLiteral("start:") + folderPath);
        return true;
    }
    void stopAccessing(const QString &folderPath) override
    {
        QMutexLocker lock(&m_mutex);
        m_accessLog.append(QStringLiteral("stop:") + folderPath);
    }

    void moveFolder(const QString &from, const QString &to)
    {
        QMutexLocker lock(&m_mutex);
        m_moved.insert(from, to);
    }
    void removeFolder(const QString &path)
    {
        QMutexLocker lock(&m_mutex);
        m_gone.insert(path);
    }
    void setFailCreation(bool fail)
    {
        QMutexLocker lock(&m_mutex);
        m_failCreation = fail;
    }
    QStringList accessLog() const
    {
        QMutexLocker lock(&m_mutex);
        return m_accessLog;
    }
    int creations() const
    {
        QMutexLocker lock(&m_mutex);
        return m_creations;
    }
    int resolutions() const
    {
        QMutexLocker lock(&m_mutex);
        return m_resolutions;
    }

private:
    mutable QMutex m_mutex;
    QHash<QString, QString> m_moved;
    QSet<QString> m_gone;
    bool m_failCreation = false;
    QStringList m_accessLog;
    mutable int m_creations = 0;
    mutable int m_resolutions = 0;
};

} // namespace talvo
