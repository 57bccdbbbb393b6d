#pragma once

namespace talvo {

// The one name by which the desktop knows Talvo: its desktop entry, icon,
// metadata and bus name.
inline constexpr char kApplicationId[] = "com.talvo.Talvo";

} // namespace talvo
