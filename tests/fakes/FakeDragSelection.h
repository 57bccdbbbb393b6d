#pragma once

#include "platform/DragSelection.h"

namespace talvo {

// The drag selection as the test sets it: startDrag() plays a program taking
// over the selection with the given types.
class FakeDragSelection final : public DragSelection
{
public:
    qint64 changeCount() const override { return count; }
    QStringList types() const override { return offered; }

    void startDrag(QStringList types)
    {
        ++count;
        offered = std::move(types);
    }

    qint64 count = 7;
    QStringList offered;
};

} // namespace talvo
