#include "platform/db/HeapReuse.h"

#if __has_include(<malloc.h>)
#include <malloc.h>
#endif

namespace quorl::db {

void keepFreedHeapForReuse()
{
#if defined(M_TRIM_THRESHOLD) && defined(M_MMAP_THRESHOLD)
    // Blocks up to the C library's largest threshold come from the heap, and up to
    // this much freed heap stays with the program: a list of some hundred thousand
    // rows fits, and a program that read one is likely to read it again.
    constexpr int kLargestHeapBlock = 32 * 1024 * 1024;
    constexpr int kFreeHeapKept = 64 * 1024 * 1024;
    mallopt(M_MMAP_THRESHOLD, kLargestHeapBlock);
    mallopt(M_TRIM_THRESHOLD, kFreeHeapKept);
#endif
}

} // namespace quorl::db
