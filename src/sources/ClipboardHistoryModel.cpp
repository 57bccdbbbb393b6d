#include "ClipboardHistoryModel.h"

namespace talvo {

int ClipboardHistoryModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_items.size());
}

QVariant ClipboardHistoryModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.parent().isValid() || index.row() >= rowCount())
        return {};
    const ClipboardItem &item = m_items.at(index.row());
    switch (role) {
    case IdRole:
        return item.id.toString(QUuid::WithoutBraces);
    case TypeRole:
        return rawValue(item.type);
    case Qt::DisplayRole:
    case TextRole:
        return item.text.value_or(QString());
    case ImageRole:
        return item.image.value_or(QImage());
    case HasImageRole:
        return item.image.has_value() && !item.image->isNull();
    case TimestampRole:
        return item.timestamp;
    default:
        return {};
    }
}

QHash<int, QByteArray> ClipboardHistoryModel::roleNames() const
{
    return {
        {IdRole, "id"},
        {TypeRole, "type"},
        {TextRole, "text"},
        {ImageRole, "image"},
        {HasImageRole, "hasImage"},
        {TimestampRole, "timestamp"},
    };
}

int ClipboardHistoryModel::indexOfId(const QUuid &id) const
{
    for (int row = 0; row < m_items.size(); ++row) {
        if (m_items.at(row).id == id)
            return row;
    }
    return -1;
}

void ClipboardHistoryModel::setPacked(const QUuid &id, const QImage &preview, const QByteArray &packed)
{
    const int row = indexOfId(id);
    if (row < 0)
        return;
    ClipboardItem &item = m_items[row];
    item.image = preview;
    item.packedImage = packed;
    emit dataChanged(index(row), index(row), {ImageRole});
}

void ClipboardHistoryModel::prepend(const ClipboardItem &item)
{
    beginInsertRows({}, 0, 0);
    m_items.prepend(item);
    endInsertRows();
}

void ClipboardHistoryModel::removeLast()
{
    if (m_items.isEmpty())
        return;
    const int last = int(m_items.size()) - 1;
    beginRemoveRows({}, last, last);
    m_items.removeLast();
    endRemoveRows();
}

void ClipboardHistoryModel::clear()
{
    if (m_items.isEmpty())
        return;
    beginResetModel();
    m_items.clear();
    endResetModel();
}

} // namespace talvo
