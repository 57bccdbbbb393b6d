#include "HeapRelease.h"

// A C library header first: it is what says whether this is glibc.
#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace talvo {

void releaseFreeHeap()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

void keepLargeAllocationsMapped()
{
#if defined(__GLIBC__)
    // Setting the bound at all stops glibc moving it (and the trim bound).
    mallopt(M_MMAP_THRESHOLD, 1024 * 1024);
#endif
}

} // namespace talvo
