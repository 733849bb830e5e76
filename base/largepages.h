#pragma once
// A 4K picture is 33 MB: on 4 KB pages, memory written for the first time costs 8,100 page
// faults (over 100 ms on a virtual machine), and a walk down a column a TLB miss a row. On
// 2 MB pages it is 17 faults. Most distributions give them to a program that asks (madvise).

#include <cstddef>

// Asks for 2 MB pages over the whole 2 MB pages inside a block.
void adviseLargePages(void* data, std::size_t bytes);

// Alignment for blocks that should sit on 2 MB pages.
constexpr std::size_t kLargePage = std::size_t(2) << 20;
