#pragma once

#include "ShelfItem.h"

#include <QAbstractListModel>
#include <QtQml/qqmlregistration.h>

namespace talvo {

class ContentTypes;

// The shelf's items for QML, oldest first, keyed by item id. Only the view
// model changes it.
class ShelfItemListModel : public QAbstractListModel
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The shelf's items belong to the notch view model")
    Q_PROPERTY(int count READ count NOTIFY countChanged)
public:
    enum Role {
        IdRole = Qt::UserRole + 1, // text form of the id, without braces
        TypeRole,                  // raw value: "file", "text", "image"
        UrlRole,
        TextRole,
        DisplayTitleRole,
        IconKindRole,              // "image", "icon" (theme icon) or "symbol"
        IconNameRole,              // theme icon or symbol name; empty for "image"
        ImageRole,                 // QImage of an "image" icon
    };
    Q_ENUM(Role)

    explicit ShelfItemListModel(const ContentTypes &contentTypes, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    int count() const { return int(m_items.size()); }
    const QList<ShelfItem> &items() const { return m_items; }
    // Row of the item with this id, or -1.
    Q_INVOKABLE int indexOf(const QString &id) const;
    int indexOf(const QUuid &id) const;

    // The picture of the item with this id, drawn into a square of `side`
    // logical pixels at the given device pixel ratio; null for an unknown id.
    QImage icon(const QString &id, int side, qreal devicePixelRatio = 1.0) const;

    void append(const ShelfItem &item);
    // Removes every item with this id; returns how many went.
    int removeAll(const QUuid &id);

signals:
    void countChanged();

private:
    const ContentTypes &m_contentTypes;
    QList<ShelfItem> m_items;
};

} // namespace talvo
