#pragma once

#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

namespace jww {

// An allocator whose resize leaves new bytes unset: an I/O buffer is
// overwritten by the read or the writes that follow, so filling it with zeros
// first would only cost a pass over memory for every file.
template <typename T>
struct UninitialisedAllocator : std::allocator<T> {
  template <typename U>
  struct rebind {
    using other = UninitialisedAllocator<U>;
  };
  UninitialisedAllocator() = default;
  template <typename U>
  UninitialisedAllocator(const UninitialisedAllocator<U>&) noexcept {}

  template <typename U>
  void construct(U* p) noexcept {
    ::new (static_cast<void*>(p)) U;
  }
  template <typename U, typename... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
};

using ByteBuffer = std::vector<unsigned char, UninitialisedAllocator<unsigned char>>;

}  // namespace jww
