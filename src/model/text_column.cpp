#include "model/text_column.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "base/failure.h"

namespace zw {

TextColumn::TextColumn(const TextColumn& other) : spans_(other.spans_) {
  make_room(other.used_);
  if (other.used_ > 0) std::memcpy(buffer_.get(), other.buffer_.get(), other.used_);
  used_ = other.used_;
}

TextColumn& TextColumn::operator=(const TextColumn& other) {
  if (this != &other) *this = TextColumn(other);
  return *this;
}

void TextColumn::fail_length(std::size_t length) {
  fail("A rule text of " + std::to_string(length) + " bytes is too long to keep");
}

void TextColumn::grow(std::size_t more) {
  constexpr std::size_t most = std::numeric_limits<std::uint32_t>::max();
  if (more > most - used_)
    fail("The rule texts of this style are too long to keep: more than " + std::to_string(most) +
         " bytes");
  std::size_t room = std::min(std::max(used_ + more, room_ + room_ / 2), most);
  auto grown = std::make_unique_for_overwrite<char[]>(room);
  if (used_ > 0) std::memcpy(grown.get(), buffer_.get(), used_);
  buffer_ = std::move(grown);
  room_ = room;
}

void TextColumn::set(std::size_t row, std::string_view text) {
  auto& span = bounded(spans_, static_cast<long long>(row), "text column");
  auto length = checked_length(text.size());
  if (length <= span.length) {
    // May overlap: the text can be part of this very buffer.
    if (length > 0) std::memmove(buffer_.get() + span.at, text.data(), length);
    span.length = length;
    return;
  }
  // A text taken from this column itself is found again after the buffer grows.
  const char* base = buffer_.get();
  bool own = base && text.data() >= base && text.data() < base + used_;
  auto offset = own ? static_cast<std::size_t>(text.data() - base) : 0;
  make_room(length);
  std::memcpy(buffer_.get() + used_, own ? buffer_.get() + offset : text.data(), length);
  span = {static_cast<std::uint32_t>(used_), length};
  used_ += length;
}

void TextColumn::assign(std::size_t n) {
  used_ = 0;
  spans_.assign(n, {});
}

void TextColumn::reserve(std::size_t rows, std::size_t more_bytes) {
  spans_.reserve(rows);
  make_room(more_bytes);
}

void TextColumn::push_back(std::string_view text) {
  spans_.emplace_back();
  set(spans_.size() - 1, text);
}

}  // namespace zw
