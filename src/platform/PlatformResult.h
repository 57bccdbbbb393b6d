#pragma once

#include <QString>

#include <optional>
#include <variant>

namespace talvo {

// What a blocking call to another program or a system service gave: a value,
// or why it failed (one line, for the log). Calls that give nothing back use
// the default, PlatformResult<>.
template <typename T = std::monostate>
struct PlatformResult
{
    std::optional<T> value;
    QString error; // set when !succeeded()

    static PlatformResult success(T result = T{}) { return PlatformResult{std::move(result), {}}; }
    static PlatformResult failure(QString why) { return PlatformResult{std::nullopt, std::move(why)}; }
    bool succeeded() const { return value.has_value(); }
};

} // namespace talvo
