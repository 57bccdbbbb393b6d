#include "RecentFilesModel.h"

namespace talvo {

int RecentFilesModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_urls.size());
}

QVariant RecentFilesModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.parent().isValid() || index.row() >= rowCount())
        return {};
    const QUrl &url = m_urls.at(index.row());
    switch (role) {
    case UrlRole:
        return url;
    case PathRole:
        return url.toLocalFile();
    case Qt::DisplayRole:
    case FileNameRole:
        return url.fileName();
    default:
        return {};
    }
}

QHash<int, QByteArray> RecentFilesModel::roleNames() const
{
    return {{UrlRole, "url"}, {PathRole, "path"}, {FileNameRole, "fileName"}};
}

bool RecentFilesModel::setUrls(const QList<QUrl> &urls)
{
    if (urls == m_urls)
        return false;
    // At most fifteen rows: a reset is cheaper to reason about than a diff.
    beginResetModel();
    m_urls = urls;
    endResetModel();
    return true;
}

} // namespace talvo
