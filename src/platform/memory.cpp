// How the C library hands out the program's memory: glibc's malloc settings.
#include "platform/memory.h"

#include <malloc.h>

namespace platform {

namespace {

// glibc's own starting threshold; set explicitly it no longer rises after a large block is freed
// (which would put later pictures into the heap).
constexpr int LargeBlockBytes = 128 * 1024;

}  // namespace

void ReturnLargeBlocksToTheSystem() { mallopt(M_MMAP_THRESHOLD, LargeBlockBytes); }

}  // namespace platform
