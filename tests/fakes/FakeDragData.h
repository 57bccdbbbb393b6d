#pragma once

#include "notch/DragData.h"

#include <QList>
#include <QPair>

namespace talvo {

// Drag data as the test lists it, in the source's order; records which
// formats were read, since reading may cost a round trip to the source.
class FakeDragData final : public DragData
{
public:
    FakeDragData() = default;
    FakeDragData(std::initializer_list<QPair<QString, QByteArray>> entries) : entries(entries) {}

    QStringList formats() const override
    {
        QStringList names;
        for (const auto &entry : entries)
            names.append(entry.first);
        return names;
    }
    QByteArray data(const QString &format) const override
    {
        read.append(format);
        for (const auto &entry : entries) {
            if (entry.first == format)
                return entry.second;
        }
        return {};
    }

    QList<QPair<QString, QByteArray>> entries;
    mutable QStringList read;
};

} // namespace talvo
