#pragma once

#include <QColor>

#include <functional>
#include <optional>

namespace talvo {

// Lets the user pick the colour of any pixel on screen.
//
// Main thread only. sample() returns at once; `done` runs exactly once on a
// later event-loop turn, with the picked colour or nothing when the user
// cancelled or no sampler could run. A call while sampling is refused (done
// gets nothing at once, on a later turn).
class ColorSampler
{
public:
    using Done = std::function<void(std::optional<QColor>)>;

    virtual ~ColorSampler() = default;
    virtual void sample(Done done) = 0;
};

} // namespace talvo
