#include "NotchEventListModel.h"

#include <QSet>

namespace talvo {

int NotchEventListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_events.size());
}

QVariant NotchEventListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const NotchEventModel &event = m_events.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case TitleRole:
        return event.title;
    case IdRole:
        return event.id;
    case StartRole:
        return event.start;
    case EndRole:
        return event.end;
    case IsAllDayRole:
        return event.isAllDay;
    case CalendarColorRole:
        return event.calendarColor;
    default:
        return {};
    }
}

QHash<int, QByteArray> NotchEventListModel::roleNames() const
{
    return {
        {IdRole, "id"},
        {TitleRole, "title"},
        {StartRole, "start"},
        {EndRole, "end"},
        {IsAllDayRole, "isAllDay"},
        {CalendarColorRole, "calendarColor"},
    };
}

static bool hasDuplicateIds(const QList<NotchEventModel> &events)
{
    QSet<QString> seen;
    for (const auto &event : events) {
        if (seen.contains(event.id))
            return true;
        seen.insert(event.id);
    }
    return false;
}

void NotchEventListModel::setEvents(const QList<NotchEventModel> &events)
{
    const int countBefore = count();
    // Keys must be unique for moves to mean anything; otherwise start afresh.
    if (hasDuplicateIds(events) || hasDuplicateIds(m_events)) {
        beginResetModel();
        m_events = events;
        endResetModel();
        if (count() != countBefore)
            emit countChanged();
        return;
    }

    QSet<QString> wanted;
    for (const auto &event : events)
        wanted.insert(event.id);
    for (int row = int(m_events.size()) - 1; row >= 0; --row) {
        if (!wanted.contains(m_events.at(row).id)) {
            beginRemoveRows({}, row, row);
            m_events.removeAt(row);
            endRemoveRows();
        }
    }

    for (int target = 0; target < events.size(); ++target) {
        const NotchEventModel &event = events.at(target);
        int found = -1;
        for (int row = target; row < m_events.size(); ++row) {
            if (m_events.at(row).id == event.id) {
                found = row;
                break;
            }
        }
        if (found < 0) {
            beginInsertRows({}, target, target);
            m_events.insert(target, event);
            endInsertRows();
            continue;
        }
        if (found != target) {
            beginMoveRows({}, found, found, {}, target);
            m_events.move(found, target);
            endMoveRows();
        }
        if (!m_events.at(target).sameContent(event)) {
            m_events[target] = event;
            const QModelIndex changed = index(target);
            emit dataChanged(changed, changed);
        }
    }

    if (count() != countBefore)
        emit countChanged();
}

} // namespace talvo
