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

// Gives every allocation of a mebibyte or more a mapping of its own, which
// goes back to the system as soon as it is freed. Left to itself, glibc raises
// that bound to the largest block freed so far (up to 32 MiB), and the size at
// which a thread's heap gives back its free top to twice that: after one
// screenshot-sized picture, the next pictures are decoded and packed in worker
// threads' heaps, whose free tops neither free() nor releaseFreeHeap() return.
// Call it first thing, before other threads start.
void keepLargeAllocationsMapped();

} // namespace talvo
