#pragma once

#include "platform/DragSelection.h"

namespace talvo {

// The drag selection as the test sets it: startDrag() plays a program taking
// over the selection with the given types; answer() plays its source telling
// what it offers after being asked.
class FakeDragSelection final : public DragSelection
{
public:
    qint64 changeCount() const override { return count; }
    QStringList types() const override { return offered; }
    bool isAsking() const override { return asking; }
    bool typesKnown() const override { return known; }
    std::optional<QByteArray> uriList() const override { return uris; }

    void startDrag(QStringList types, bool ask = false)
    {
        ++count;
        offered = std::move(types);
        known = !ask;
        asking = ask;
        uris.reset();
        emit changed();
    }
    // The source answers (`types` known) or stays silent (nothing).
    void answer(std::optional<QStringList> types, std::optional<QByteArray> list = std::nullopt)
    {
        asking = false;
        known = types.has_value();
        offered = types.value_or(QStringList());
        uris = std::move(list);
        emit changed();
    }

    qint64 count = 7;
    QStringList offered;
    bool asking = false;
    bool known = true;
    std::optional<QByteArray> uris;
};

} // namespace talvo
