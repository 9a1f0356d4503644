// How the C library hands out the program's memory.
#pragma once

namespace platform {

// Called once by the program entry before anything is allocated: every block of 128 KiB or more
// (a picture, a decoded file, a sound) gets pages of its own that go back to the system when it is
// freed, so the pictures a screen gives back on leaving never stay behind as holes in the heap.
void ReturnLargeBlocksToTheSystem();

}  // namespace platform
