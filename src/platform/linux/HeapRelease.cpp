#include "HeapRelease.h"

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

} // namespace talvo
