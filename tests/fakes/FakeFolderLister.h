#pragma once

#include "platform/FolderLister.h"

#include <QHash>

namespace talvo {

// Listings set by the test, per folder path; an unknown folder fails to list.
class FakeFolderLister final : public FolderLister
{
public:
    FolderListing list(const QString &folderPath) const override
    {
        ++m_calls;
        if (!m_listings.contains(folderPath))
            return {false, {}, QStringLiteral("%1: no such folder").arg(folderPath)};
        return m_listings.value(folderPath);
    }

    void setEntries(const QString &folderPath, const QList<FolderEntry> &entries)
    {
        m_listings.insert(folderPath, FolderListing{true, entries, {}});
    }
    void setFailure(const QString &folderPath, const QString &error)
    {
        m_listings.insert(folderPath, FolderListing{false, {}, error});
    }
    int calls() const { return m_calls; }

private:
    QHash<QString, FolderListing> m_listings;
    mutable int m_calls = 0;
};

} // namespace talvo
