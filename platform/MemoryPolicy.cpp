#include "platform/MemoryPolicy.h"

#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void MemoryPolicy::apply()
{
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
#endif
}
