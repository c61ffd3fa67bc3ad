#pragma once
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/failure.h"

namespace zw {

// The texts of one column of rows, kept end to end in one buffer: a table of a
// hundred thousand rows costs a few allocations, not one per row, and frees
// at once.
class TextColumn {
 public:
  std::size_t size() const { return spans_.size(); }
  bool empty() const { return spans_.empty(); }
  std::string_view operator[](std::size_t row) const {
    const auto& s = spans_[row];
    return {buffer_.get() + s.at, s.length};
  }

  // Gives a row a new text. A text that fits where the old one stood is
  // written there; else the old bytes stay unused until the column is cleared.
  void set(std::size_t row, std::string_view text);
  // Writes at most `most` bytes through fill(char* to), which returns how
  // many it wrote, as row's new text, with no copy in between.
  template <class Fill>
  void set_with(std::size_t row, std::size_t most, Fill&& fill) {
    auto& span = bounded(spans_, static_cast<long long>(row), "text column");
    make_room(most);
    std::size_t written = fill(buffer_.get() + used_);
    span = {static_cast<std::uint32_t>(used_), checked_length(written)};
    used_ += written;
  }

  TextColumn() = default;
  TextColumn(const TextColumn& other);
  TextColumn& operator=(const TextColumn& other);
  // A column moved from is empty, and usable as such.
  TextColumn(TextColumn&& other) noexcept { *this = std::move(other); }
  TextColumn& operator=(TextColumn&& other) noexcept {
    if (this == &other) return *this;
    buffer_ = std::move(other.buffer_);
    spans_ = std::move(other.spans_);
    used_ = std::exchange(other.used_, 0);
    room_ = std::exchange(other.room_, 0);
    other.spans_.clear();
    return *this;
  }

  // Rows 0 .. n-1, new rows empty.
  void resize(std::size_t n) { spans_.resize(n); }
  // n empty rows, the buffer emptied.
  void assign(std::size_t n);
  // Room for `rows` rows in all, and `more_bytes` of text beyond what is held.
  void reserve(std::size_t rows, std::size_t more_bytes = 0);
  std::size_t capacity() const { return spans_.capacity(); }
  void push_back(std::string_view text);

 private:
  // Eight bytes a row: a column holds at most 4 GB of text.
  struct Span {
    std::uint32_t at = 0;
    std::uint32_t length = 0;
  };
  // Every row comes through these two: their failures are kept out of line.
  static std::uint32_t checked_length(std::size_t length) {
    if (length > std::numeric_limits<std::uint32_t>::max()) [[unlikely]]
      fail_length(length);
    return static_cast<std::uint32_t>(length);
  }
  [[noreturn]] static void fail_length(std::size_t length);
  // Room for `more` bytes beyond those used; the buffer grows by half again
  // at a time, and new room is not cleared: only written bytes are read.
  void make_room(std::size_t more) {
    if (more > room_ - used_) [[unlikely]]
      grow(more);
  }
  void grow(std::size_t more);

  std::unique_ptr<char[]> buffer_;
  std::size_t used_ = 0, room_ = 0;
  std::vector<Span> spans_;
};

}  // namespace zw
