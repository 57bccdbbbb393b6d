#pragma once

// A drag whose formats and data come from the fuzzer's input.

#include "notch/DragData.h"

#include <QList>
#include <QPair>

namespace talvo::fuzz {

class ListDragData final : public DragData
{
public:
    void add(const QString &format, const QByteArray &bytes) { m_entries.append({format, bytes}); }
    QStringList formats() const override
    {
        QStringList list;
        for (const auto &entry : m_entries)
            list.append(entry.first);
        return list;
    }
    QByteArray data(const QString &format) const override
    {
        for (const auto &entry : m_entries) {
            if (entry.first == format)
                return entry.second;
        }
        return {};
    }

private:
    QList<QPair<QString, QByteArray>> m_entries;
};

// Every item a drop made is whole: a file has a local URL, a text is text,
// an image has pixels; the shelf shows each with a title.
void checkDroppedItems(const QList<ShelfItem> &items);

} // namespace talvo::fuzz
