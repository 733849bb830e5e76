#pragma once
// A 4K picture is 33 MB: on 4 KB pages, memory written for the first time costs 8,100 page
// faults (over 100 ms on a virtual machine), and a walk down a column a TLB miss a row. On
// 2 MB pages it is 17 faults. Linux gives them where a program asks (madvise) on most
// distributions; glibc's allocator asks only when told so at start-up.

#include <cstddef>

// Called first in main(): starts the program again, once, with glibc's allocator set to put
// large blocks on 2 MB pages, where the system would give them only on request. The setting
// is taken out of the environment again, so programs started from here do not inherit it.
// Returns when there is nothing to do or the program cannot be started again.
void restartWithLargePages(char** argv);

// Asks for 2 MB pages over a block of our own (aligned to 2 MB; whole pages of it only).
void adviseLargePages(void* data, std::size_t bytes);

// Alignment for blocks that should sit on 2 MB pages.
constexpr std::size_t kLargePage = std::size_t(2) << 20;
