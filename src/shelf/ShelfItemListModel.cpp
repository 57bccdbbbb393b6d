#include "ShelfItemListModel.h"

namespace talvo {

ShelfItemListModel::ShelfItemListModel(const ContentTypes &contentTypes, QObject *parent)
    : QAbstractListModel(parent), m_contentTypes(contentTypes)
{
}

int ShelfItemListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant ShelfItemListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const ShelfItem &item = m_items.at(index.row());
    switch (role) {
    case IdRole:
        return item.id.toString(QUuid::WithoutBraces);
    case TypeRole:
        return rawValue(item.type);
    case UrlRole:
        return item.url;
    case TextRole:
        return item.text ? QVariant(*item.text) : QVariant();
    case Qt::DisplayRole:
    case DisplayTitleRole:
        return item.displayTitle();
    case IconKindRole:
        switch (item.displayIcon(m_contentTypes).kind()) {
        case ShelfImage::Kind::Bitmap:
            return QStringLiteral("image");
        case ShelfImage::Kind::ThemeIcon:
            return QStringLiteral("icon");
        case ShelfImage::Kind::Symbol:
            return QStringLiteral("symbol");
        case ShelfImage::Kind::None:
            break;
        }
        return QString();
    case IconNameRole:
        return item.displayIcon(m_contentTypes).name();
    case ImageRole:
        return item.displayIcon(m_contentTypes).image();
    default:
        return {};
    }
}

QHash<int, QByteArray> ShelfItemListModel::roleNames() const
{
    return {
        {IdRole, "id"},
        {TypeRole, "type"},
        {UrlRole, "url"},
        {TextRole, "text"},
        {DisplayTitleRole, "displayTitle"},
        {IconKindRole, "iconKind"},
        {IconNameRole, "iconName"},
        {ImageRole, "image"},
    };
}

QImage ShelfItemListModel::icon(const QString &id, int side, qreal devicePixelRatio) const
{
    const int row = indexOf(id);
    if (row < 0)
        return {};
    return m_items.at(row).displayIcon(m_contentTypes).rendered(side, devicePixelRatio);
}

int ShelfItemListModel::indexOf(const QString &id) const
{
    const QUuid uuid(id);
    return uuid.isNull() ? -1 : indexOf(uuid);
}

int ShelfItemListModel::indexOf(const QUuid &id) const
{
    for (qsizetype row = 0; row < m_items.size(); ++row) {
        if (m_items.at(row).id == id)
            return int(row);
    }
    return -1;
}

void ShelfItemListModel::append(const ShelfItem &item)
{
    const int row = count();
    beginInsertRows({}, row, row);
    m_items.append(item);
    endInsertRows();
    emit countChanged();
}

int ShelfItemListModel::removeAll(const QUuid &id)
{
    int removed = 0;
    for (int row = count() - 1; row >= 0; --row) {
        if (m_items.at(row).id != id)
            continue;
        beginRemoveRows({}, row, row);
        m_items.removeAt(row);
        endRemoveRows();
        ++removed;
    }
    if (removed > 0)
        emit countChanged();
    return removed;
}

} // namespace talvo
