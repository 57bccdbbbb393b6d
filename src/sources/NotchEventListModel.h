#pragma once

#include "NotchEventModel.h"

#include <QAbstractListModel>
#include <QtQml/qqmlregistration.h>

namespace talvo {

// The selected day's events for list views. Rows are keyed by event id: a new
// list moves, inserts and removes rows instead of resetting, so delegates of
// events that stay keep their state and can animate.
class NotchEventListModel : public QAbstractListModel
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Provided by NotchCalendarManager")
    Q_PROPERTY(int count READ count NOTIFY countChanged)
public:
    enum Role {
        IdRole = Qt::UserRole + 1,
        TitleRole,
        StartRole,
        EndRole,
        IsAllDayRole,
        CalendarColorRole,
    };
    Q_ENUM(Role)

    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    int count() const { return int(m_events.size()); }
    const QList<NotchEventModel> &events() const { return m_events; }

    // Makes the rows equal `events`, in its order.
    void setEvents(const QList<NotchEventModel> &events);

signals:
    void countChanged();

private:
    QList<NotchEventModel> m_events;
};

} // namespace talvo
