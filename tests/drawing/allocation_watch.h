// The largest single request made through operator new, for tests that must
// show a load does not allocate what a hostile count asks for. Under the
// address sanitizer (which owns operator new) the watch is not active.
#pragma once

#include <cstddef>

namespace drawing_test {

bool AllocationWatchActive();
void ResetLargestAllocation();
std::size_t LargestAllocation();

}  // namespace drawing_test
