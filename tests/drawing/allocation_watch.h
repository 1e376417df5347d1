// The largest single request made through operator new, for tests that must
// show a load does not allocate what a hostile count asks for. Under the
// address sanitizer (which owns operator new) the watch is not active.
#pragma once

#include <cstddef>

namespace drawing_test {

bool AllocationWatchActive();
void ResetLargestAllocation();
std::size_t LargestAllocation();
// Every byte asked of operator new since the last reset.
void ResetAllocatedBytes();
std::size_t AllocatedBytes();

}  // namespace drawing_test
