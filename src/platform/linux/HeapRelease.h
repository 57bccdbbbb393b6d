#pragma once

namespace talvo {

// Hands the memory the allocator keeps free back to the system. A program
// that runs all day frees most of what a burst of work allocated (an open
// panel, pictures decoded on a worker), but glibc keeps freed pages of every
// thread's arena mapped and resident for later: without this the resident size
// creeps up from one busy spell to the next though the heap in use does not.
// Costs a walk over the free lists; call it at quiet moments. Does nothing
// with another C library.
void releaseFreeHeap();

} // namespace talvo
