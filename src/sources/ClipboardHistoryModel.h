#pragma once

#include "ClipboardItem.h"

#include <QAbstractListModel>
#include <QtQml/qqmlregistration.h>

namespace talvo {

// The clipboard history as a list model for the views, newest first, keyed by
// the entries' ids. Only ClipboardManager changes it.
class ClipboardHistoryModel : public QAbstractListModel
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The clipboard history belongs to ClipboardManager")
public:
    enum Role {
        IdRole = Qt::UserRole + 1,
        TypeRole,      // raw value: "text", "link", "image" or "color"
        TextRole,      // empty for images
        ImageRole,     // QImage; null for texts
        HasImageRole,
        TimestampRole,
    };
    Q_ENUM(Role)

    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

    const QList<ClipboardItem> &items() const { return m_items; }
    // Row of the entry with this id; -1 when there is none.
    int indexOfId(const QUuid &id) const;

    void prepend(const ClipboardItem &item);
    void removeLast();
    // Swaps the entry's picture for its preview and packed form; nothing
    // happens when the entry has gone meanwhile.
    void setPacked(const QUuid &id, const QImage &preview, const QByteArray &packed);
    void clear();

private:
    QList<ClipboardItem> m_items;
};

} // namespace talvo
