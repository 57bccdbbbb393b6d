#pragma once

#include "platform/FolderLister.h"

#include <QHash>
#include <QMutex>

namespace talvo {

// Listings set by the test, per folder path; an unknown folder fails to list.
// Thread-safe, like the real service.
class FakeFolderLister final : public FolderLister
{
public:
    FolderListing list(const QString &folderPath) const override
    {
        QMutexLocker lock(&m_mutex);
        ++m_calls;
        if (!m_listings.contains(folderPath))
            return {false, {}, QStringLiteral("%1: no such folder").arg(folderPath)};
        return m_listings.value(folderPath);
    }

    void setEntries(const QString &folderPath, const QList<FolderEntry> &entries)
    {
        QMutexLocker lock(&m_mutex);
        m_listings.insert(folderPath, FolderListing{true, entries, {}});
    }
    void setFailure(const QString &folderPath, const QString &error)
    {
        QMutexLocker lock(&m_mutex);
        m_listings.insert(folderPath, FolderListing{false, {}, error});
    }
    int calls() const
    {
        QMutexLocker lock(&m_mutex);
        return m_calls;
    }

private:
    mutable QMutex m_mutex;
    QHash<QString, FolderListing> m_listings;
    mutable int m_calls = 0;
};

} // namespace talvo
