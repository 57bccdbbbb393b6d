#pragma once

#include "platform/FolderBookmarks.h"

#include <QHash>
#include <QSet>
#include <QStringList>

namespace talvo {

// Bookmarks of the form "bookmark:<path>". A test moves folders (the bookmark
// then resolves stale to the new path), removes them (it fails), or makes
// creation fail. Access calls are recorded in order as "start:<path>" and
// "stop:<path>".
class FakeFolderBookmarks final : public FolderBookmarks
{
public:
    static QByteArray dataFor(const QString &path) { return "bookmark:" + path.toUtf8(); }

    BookmarkCreation createBookmark(const QString &folderPath) const override
    {
        ++m_creations;
        if (m_failCreation)
            return {std::nullopt, QStringLiteral("cannot create")};
        return {dataFor(folderPath), {}};
    }

    BookmarkResolution resolveBookmark(const QByteArray &data) const override
    {
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
        m_accessLog.append(QStringLiteral("start:") + folderPath);
        return true;
    }
    void stopAccessing(const QString &folderPath) override { m_accessLog.append(QStringLiteral("stop:") + folderPath); }

    void moveFolder(const QString &from, const QString &to) { m_moved.insert(from, to); }
    void removeFolder(const QString &path) { m_gone.insert(path); }
    void setFailCreation(bool fail) { m_failCreation = fail; }
    QStringList accessLog() const { return m_accessLog; }
    int creations() const { return m_creations; }
    int resolutions() const { return m_resolutions; }

private:
    QHash<QString, QString> m_moved;
    QSet<QString> m_gone;
    bool m_failCreation = false;
    QStringList m_accessLog;
    mutable int m_creations = 0;
    mutable int m_resolutions = 0;
};

} // namespace talvo
