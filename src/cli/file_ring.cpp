#include "cli/file_ring.h"

#include <fcntl.h>
#include <linux/io_uring.h>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace qw::cli {

namespace {

constexpr unsigned kEntries = 4 * FileRing::kBatch;  // three a file, rounded up

// The ring's fields the kernel shares, at the offsets it tells.
template <typename T>
T* At(void* base, size_t offset) {
  return reinterpret_cast<T*>(static_cast<char*>(base) + offset);
}

void* Map(int fd, size_t size, off_t what) {
  void* p = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_POPULATE, fd, what);
  return p == MAP_FAILED ? nullptr : p;
}

// Submits `submit` entries and waits until `wait` completions stand; the
// number of entries submitted, or -1 with errno set.
int Enter(int fd, unsigned submit, unsigned wait) {
  return static_cast<int>(
      ::syscall(__NR_io_uring_enter, fd, submit, wait, IORING_ENTER_GETEVENTS, nullptr, 0));
}

// What a completion's user data tells: the file and which of its three steps.
constexpr unsigned kSteps = 3;
enum Step : unsigned { kOpen, kRead, kClose };

}  // namespace

FileRing::FileRing() {
  if (std::getenv("QW_NO_RING") != nullptr) return;
  io_uring_params p{};
  FileHandle ring(static_cast<int>(::syscall(__NR_io_uring_setup, kEntries, &p)));
  if (ring.fd() < 0 || p.sq_entries < kSteps * kBatch) return;
  sq_size_ = p.sq_off.array + p.sq_entries * sizeof(unsigned);
  cq_size_ = p.cq_off.cqes + p.cq_entries * sizeof(io_uring_cqe);
  const bool single = (p.features & IORING_FEAT_SINGLE_MMAP) != 0;
  if (single) sq_size_ = cq_size_ = std::max(sq_size_, cq_size_);
  sq_ = Map(ring.fd(), sq_size_, IORING_OFF_SQ_RING);
  cq_ = single ? sq_ : Map(ring.fd(), cq_size_, IORING_OFF_CQ_RING);
  entries_size_ = p.sq_entries * sizeof(io_uring_sqe);
  entries_ = Map(ring.fd(), entries_size_, IORING_OFF_SQES);
  // The opened files live in the ring's own table, a place for each file of
  // a batch, never in the process's descriptors.
  const std::vector<int> places(kBatch, -1);
  if (sq_ == nullptr || cq_ == nullptr || entries_ == nullptr ||
      ::syscall(__NR_io_uring_register, ring.fd(), IORING_REGISTER_FILES, places.data(), kBatch) !=
          0) {
    Unmap();
    return;
  }
  sq_tail_ = At<unsigned>(sq_, p.sq_off.tail);
  sq_mask_ = At<unsigned>(sq_, p.sq_off.ring_mask);
  sq_array_ = At<unsigned>(sq_, p.sq_off.array);
  cq_head_ = At<unsigned>(cq_, p.cq_off.head);
  cq_tail_ = At<unsigned>(cq_, p.cq_off.tail);
  cq_mask_ = At<unsigned>(cq_, p.cq_off.ring_mask);
  cqes_ = At<void>(cq_, p.cq_off.cqes);
  room_ = std::make_unique_for_overwrite<char[]>(kBatch * kRoom);
  ring_ = std::move(ring);
}

FileRing::~FileRing() {
  // Nothing is in flight between two Reads: the ring goes with its maps.
  Unmap();
}

void FileRing::Unmap() {
  if (entries_ != nullptr) ::munmap(entries_, entries_size_);
  if (cq_ != nullptr && cq_ != sq_) ::munmap(cq_, cq_size_);
  if (sq_ != nullptr) ::munmap(sq_, sq_size_);
  entries_ = cq_ = sq_ = nullptr;
}

void FileRing::Read(std::span<const File> files, std::optional<std::string_view>* got) {
  const size_t n = std::min(files.size(), kBatch);
  auto* const sqes = static_cast<io_uring_sqe*>(entries_);
  unsigned tail = std::atomic_ref<unsigned>(*sq_tail_).load(std::memory_order_relaxed);
  const auto queue = [&](size_t file, Step step) -> io_uring_sqe& {
    const unsigned at = tail++ & *sq_mask_;
    sq_array_[at] = at;
    io_uring_sqe& e = sqes[at];
    std::memset(&e, 0, sizeof e);
    e.user_data = file * kSteps + step;
    return e;
  };
  for (size_t i = 0; i < n; ++i) {
    got[i].reset();
    // Opened into the ring's place i + 1 (0 stands for none), read there, and
    // closed: the read is given up when the open fails, the close follows the
    // read whatever it gave. Not O_NONBLOCK: on some kernels the ring then
    // gives a read of a file partly in the page cache back short, as if the
    // file ended there (the files are those the folder listing called regular).
    io_uring_sqe& open = queue(i, kOpen);
    open.opcode = IORING_OP_OPENAT;
    open.fd = files[i].folder;
    open.addr = reinterpret_cast<std::uintptr_t>(files[i].name);
    open.open_flags = O_RDONLY;
    open.file_index = static_cast<unsigned>(i + 1);
    open.flags = IOSQE_IO_LINK;
    io_uring_sqe& read = queue(i, kRead);
    read.opcode = IORING_OP_READ;
    read.fd = static_cast<int>(i);
    read.flags = IOSQE_FIXED_FILE | IOSQE_IO_HARDLINK;
    read.addr = reinterpret_cast<std::uintptr_t>(room_.get() + i * kRoom);
    read.len = kRoom;
    io_uring_sqe& close = queue(i, kClose);
    close.opcode = IORING_OP_CLOSE;
    close.file_index = static_cast<unsigned>(i + 1);
  }
  std::atomic_ref<unsigned>(*sq_tail_).store(tail, std::memory_order_release);

  const auto steps = static_cast<unsigned>(n * kSteps);
  unsigned submitted = 0, done = 0;
  bool failing = false;  // the ring refused a call: only what it took is waited for
  auto* const cqes = static_cast<io_uring_cqe*>(cqes_);
  while (done < steps) {
    const unsigned submit = failing ? 0 : steps - submitted;
    const int r = Enter(ring_.fd(), submit, submitted + submit > done ? 1 : 0);
    if (r < 0 && errno != EINTR && errno != EAGAIN && errno != EBUSY) {
      if (failing || submitted == done) break;
      failing = true;
    }
    if (r > 0) submitted += static_cast<unsigned>(r);
    unsigned head = *cq_head_;
    const unsigned end = std::atomic_ref<unsigned>(*cq_tail_).load(std::memory_order_acquire);
    for (; head != end; ++head, ++done) {
      const io_uring_cqe& c = cqes[head & *cq_mask_];
      const size_t file = c.user_data / kSteps;
      if (c.user_data % kSteps == kRead && c.res >= 0 && static_cast<size_t>(c.res) < kRoom) {
        got[file] = std::string_view(room_.get() + file * kRoom, static_cast<size_t>(c.res));
      }
    }
    std::atomic_ref<unsigned>(*cq_head_).store(head, std::memory_order_release);
    if (failing && done == submitted) break;
  }
  if (done < steps) {
    // The ring fails: the caller reads every file of this batch, and of all
    // later ones, itself. A read still in flight may yet land in the rooms:
    // they are never given back.
    for (size_t i = 0; i < n; ++i) got[i].reset();
    static_cast<void>(room_.release());
    Unmap();
    ring_ = FileHandle();
  }
}

}  // namespace qw::cli
