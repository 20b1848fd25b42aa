// Memory for picture blocks and whole files. Large blocks are aligned to 2 MiB and, where
// the system offers it, backed by huge pages: touching a fresh 100 MB picture then costs
// a few hundred page faults instead of tens of thousands.
#pragma once

#include <cstddef>

// Null when the memory cannot be had. Free with std::free.
void* AllocateBlock(size_t bytes);
