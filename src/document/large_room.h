// LargeRoom: an allocator for the large arrays a process fills once and
// soon, such as the index's entries of a big module. Room of 512 KiB or more
// is taken in 2 MiB-aligned pieces that the kernel is asked to back with huge
// pages: each fresh 4 KiB page costs a fault when it is first written (about
// 15 us on a virtual machine whose page tables are paravirtualised), a huge
// page one fault for 512 of them. The price is up to 2 MiB of memory for each
// such array, touched or not, where the kernel grants huge pages. Smaller
// room comes from operator new, as usual. Allocation failure throws
// std::bad_alloc.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace qw {

inline constexpr std::size_t kLargeRoomFrom = 512 * 1024;
inline constexpr std::size_t kHugePage = 2 * 1024 * 1024;

// `bytes` of room, aligned for any type; free it with FreeLargeRoom(p, bytes).
inline void* TakeLargeRoom(std::size_t bytes) {
  if (bytes < kLargeRoomFrom) return ::operator new(bytes);
  const std::size_t size = (bytes + kHugePage - 1) / kHugePage * kHugePage;
  void* p = std::aligned_alloc(kHugePage, size);
  if (p == nullptr) throw std::bad_alloc();
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  ::madvise(p, size, MADV_HUGEPAGE);  // a hint: refused, the room is 4 KiB pages
#endif
  return p;
}

inline void FreeLargeRoom(void* p, std::size_t bytes) noexcept {
  if (bytes < kLargeRoomFrom) {
    ::operator delete(p);
  } else {
    std::free(p);
  }
}

// Frees room of `bytes` taken by TakeLargeRoom, as a std::unique_ptr's deleter.
struct LargeRoomFree {
  std::size_t bytes = 0;
  void operator()(void* p) const noexcept { FreeLargeRoom(p, bytes); }
};

template <typename T>
struct LargeRoomAllocator {
  using value_type = T;
  LargeRoomAllocator() = default;
  template <typename U>
  LargeRoomAllocator(const LargeRoomAllocator<U>&) noexcept {}
  T* allocate(std::size_t n) { return static_cast<T*>(TakeLargeRoom(n * sizeof(T))); }
  void deallocate(T* p, std::size_t n) noexcept { FreeLargeRoom(p, n * sizeof(T)); }
  template <typename U>
  bool operator==(const LargeRoomAllocator<U>&) const noexcept {
    return true;
  }
};

}  // namespace qw
