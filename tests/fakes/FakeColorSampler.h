#pragma once

#include "platform/ColorSampler.h"

#include <QList>

namespace talvo {

// Holds each request; the test answers it.
class FakeColorSampler final : public ColorSampler
{
public:
    void sample(Done done) override { pending.append(std::move(done)); }

    void answer(std::optional<QColor> color)
    {
        Done done = pending.takeFirst();
        done(color);
    }

    QList<Done> pending;
};

} // namespace talvo
