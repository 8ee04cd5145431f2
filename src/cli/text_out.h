// Text out: where qwtool writes its output and its messages, bytes in the
// order they are written, to a file descriptor or into a string. It is no
// std::ostream on purpose: a process that makes no stream never builds the C++
// library's locale tables, and its start touches a dozen fewer pages (each a
// page fault) and runs a fifth fewer instructions.
#pragma once

#include <string>
#include <string_view>

namespace qw::cli {

class TextOut {
 public:
  virtual ~TextOut() = default;

  virtual void Write(std::string_view bytes) = 0;
  // Hands what is held on to its file. False when a write failed, now or
  // before: nothing is written after a failed write, and Error tells why.
  virtual bool Flush() { return true; }
  // The errno of the first failed write; 0 while none failed.
  virtual int Error() const { return 0; }

  TextOut& operator<<(std::string_view bytes) {
    Write(bytes);
    return *this;
  }
  TextOut& operator<<(char c) {
    Write(std::string_view(&c, 1));
    return *this;
  }
};

// Writes to a file descriptor, holding up to `hold` bytes before a write
// (0: every Write goes out at once, as messages to stderr should). Bytes
// still held when it is destroyed are written then.
class FdOut final : public TextOut {
 public:
  FdOut(int fd, size_t hold) : fd_(fd), hold_(hold) {}
  ~FdOut() override { Flush(); }
  FdOut(const FdOut&) = delete;
  FdOut& operator=(const FdOut&) = delete;

  void Write(std::string_view bytes) override;
  bool Flush() override;
  int Error() const override { return error_; }

 private:
  // Writes all of `bytes`, again after a short write or a signal; false (and
  // error_ set) when a write fails.
  bool Put(std::string_view bytes);

  int fd_;
  size_t hold_;
  std::string held_;
  int error_ = 0;
};

// Keeps everything written in `text`.
class StringOut final : public TextOut {
 public:
  void Write(std::string_view bytes) override { text.append(bytes); }
  std::string text;
};

}  // namespace qw::cli
