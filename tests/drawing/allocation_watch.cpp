#include "tests/drawing/allocation_watch.h"

#include <atomic>
#include <cstdlib>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define QUILLON_WATCH_ALLOCATIONS 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUILLON_WATCH_ALLOCATIONS 0
#endif
#endif
#ifndef QUILLON_WATCH_ALLOCATIONS
#define QUILLON_WATCH_ALLOCATIONS 1
#endif

namespace drawing_test {
namespace {
std::atomic<std::size_t> largest{0};
std::atomic<std::size_t> allocated{0};
}  // namespace

bool AllocationWatchActive() {
  return QUILLON_WATCH_ALLOCATIONS != 0;
}
void ResetLargestAllocation() {
  largest = 0;
}
std::size_t LargestAllocation() {
  return largest;
}
void ResetAllocatedBytes() {
  allocated = 0;
}
std::size_t AllocatedBytes() {
  return allocated;
}

#if QUILLON_WATCH_ALLOCATIONS
namespace {
void* Allocate(std::size_t n) {
  allocated.fetch_add(n, std::memory_order_relaxed);
  std::size_t seen = largest.load(std::memory_order_relaxed);
  while (n > seen && !largest.compare_exchange_weak(seen, n)) {
  }
  return std::malloc(n == 0 ? 1 : n);
}
}  // namespace
#endif

}  // namespace drawing_test

#if QUILLON_WATCH_ALLOCATIONS
void* operator new(std::size_t n) {
  if (void* p = drawing_test::Allocate(n)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t n) {
  return operator new(n);
}
void* operator new(std::size_t n, const std::nothrow_t&) noexcept {
  return drawing_test::Allocate(n);
}
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept {
  return drawing_test::Allocate(n);
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete[](void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
  std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
  std::free(p);
}
#endif
