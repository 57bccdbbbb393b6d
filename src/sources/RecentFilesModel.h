#pragma once

#include <QAbstractListModel>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

namespace talvo {

// The recent downloads as a list model for the views, newest first, keyed by
// file URL. Only RecentFilesManager changes it, and only when the list differs.
class RecentFilesModel : public QAbstractListModel
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The recent files belong to RecentFilesManager")
public:
    enum Role {
        UrlRole = Qt::UserRole + 1,
        PathRole,
        FileNameRole,
    };
    Q_ENUM(Role)

    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

    const QList<QUrl> &urls() const { return m_urls; }
    // Returns whether the list changed.
    bool setUrls(const QList<QUrl> &urls);

private:
    QList<QUrl> m_urls;
};

} // namespace talvo
