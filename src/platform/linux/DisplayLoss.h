#pragma once

#include <functional>

namespace talvo {

// What happens when the X server goes away. Qt's X11 backend calls exit()
// once its connection breaks, which runs static destructors while the render
// thread and the work queues still run (and may crash there); the program's
// own connection notices the same loss on its own. Either way the program now
// ends at once through endForLostDisplay(): one log line, `flush` (what must
// not be lost, such as a note still being typed), and _exit(1).
//
// installDisplayLossHandler() routes Qt's report of the broken connection to
// it (a filter in front of the installed message handler). Main thread only.
void installDisplayLossHandler(std::function<void()> flush);
[[noreturn]] void endForLostDisplay();

} // namespace talvo
