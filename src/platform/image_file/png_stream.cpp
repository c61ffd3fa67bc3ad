#include "platform/image_file/png_stream.h"

#include "base/failure.h"

namespace zw {
namespace {

constexpr std::uint32_t adler_base = 65521;

// Runs of repeated rows of at least this many bytes are written as blocks of
// their own; a shorter run costs zlib less than the flush points around a
// block and the new codes zlib starts after them.
constexpr std::size_t shortest_run_bytes = 16384;

// zlib's level for the other rows. Level 4 makes charts 5 to 10% smaller
// than level 3 but takes half as long again, and a tall chart's export is
// mostly this compression.
constexpr int zlib_level = 3;

// Length codes 257.. of deflate: the shortest length of each and its extra bits.
constexpr int length_base[] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                               31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr int length_extra[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr int lit_codes = 286;  // literals, end of block, lengths
constexpr int end_of_block = 256;

// The length code (its index from 257) whose range holds a length of 3 to 258.
int length_index(int length) {
  int i = 28;
  while (length_base[i] > length) --i;
  return i;
}

// Canonical Huffman codes for code lengths, as deflate assigns them.
std::vector<std::uint32_t> canonical_codes(const std::vector<int>& lengths) {
  int count[16] = {};
  for (int l : lengths) ++count[l];
  count[0] = 0;
  std::uint32_t next[16] = {};
  std::uint32_t code = 0;
  for (int bits = 1; bits < 16; ++bits) {
    code = (code + static_cast<std::uint32_t>(count[bits - 1])) << 1;
    next[bits] = code;
  }
  std::vector<std::uint32_t> codes(lengths.size(), 0);
  for (std::size_t i = 0; i < lengths.size(); ++i)
    if (lengths[i] != 0) codes[i] = next[lengths[i]]++;
  return codes;
}

void put_be(std::string& out, std::uint32_t v) {
  for (int i = 3; i >= 0; --i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

}  // namespace

void png_chunk(std::string& file, const char* type, const char* data, std::size_t size) {
  put_be(file, static_cast<std::uint32_t>(size));
  std::size_t start = file.size();
  file.append(type, 4);
  file.append(data, size);
  auto crc = crc32(0L, reinterpret_cast<const Bytef*>(file.data() + start),
                   static_cast<uInt>(file.size() - start));
  put_be(file, static_cast<std::uint32_t>(crc));
}

PngStream::PngStream(std::string& file) : file_(file), buffer_(1 << 18) {
  // Raw deflate: the zlib header and checksum are written here, as the
  // stream holds blocks that zlib did not make.
  if (deflateInit2(&z_, zlib_level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
    fail("Cannot start the PNG compression");
  z_ready_ = true;
  put_byte(0x78);  // deflate, 32K window
  put_byte(0x5E);  // a fast level; header checksum
}

PngStream::~PngStream() {
  if (z_ready_) deflateEnd(&z_);
}

void PngStream::add_row(const unsigned char* data, std::size_t size) {
  write_repeated_rows();
  adler_ = static_cast<std::uint32_t>(adler32(adler_, data, static_cast<uInt>(size)));
  deflate_rows(data, size, Z_NO_FLUSH);
}

void PngStream::add_repeated_row(std::size_t bytes) {
  if (repeated_ > 0 && bytes != repeated_bytes_) write_repeated_rows();
  repeated_bytes_ = bytes;
  ++repeated_;
  // The checksum of the filter byte 2 and the zeros, without reading them.
  std::uint32_t a = adler_ & 0xFFFF, b = adler_ >> 16;
  a = (a + 2) % adler_base;
  b = static_cast<std::uint32_t>((b + a + static_cast<std::uint64_t>(bytes % adler_base) * a) %
                                 adler_base);
  adler_ = b << 16 | a;
}

void PngStream::finish() {
  write_repeated_rows();
  deflate_rows(nullptr, 0, Z_FINISH);
  for (int i = 3; i >= 0; --i) put_byte(static_cast<unsigned char>(adler_ >> (8 * i)));
  emit_chunk();
}

void PngStream::deflate_rows(const unsigned char* data, std::size_t size, int flush) {
  z_.next_in = const_cast<Bytef*>(data);
  z_.avail_in = static_cast<uInt>(size);
  for (;;) {
    z_.next_out = buffer_.data() + used_;
    z_.avail_out = static_cast<uInt>(buffer_.size() - used_);
    int r = deflate(&z_, flush);
    if (r == Z_STREAM_ERROR) fail("PNG compression failed");
    used_ = buffer_.size() - z_.avail_out;
    if (used_ == buffer_.size()) emit_chunk();
    if (r == Z_STREAM_END) return;
    if (flush != Z_FINISH && z_.avail_in == 0 && z_.avail_out > 0) return;
  }
}

void PngStream::write_repeated_rows() {
  std::size_t rows = repeated_, bytes = repeated_bytes_;
  repeated_ = 0;
  if (rows == 0) return;
  if (rows * (bytes + 1) < shortest_run_bytes || bytes == 0) {
    std::vector<unsigned char> row(bytes + 1, 0);
    row[0] = 2;
    for (std::size_t i = 0; i < rows; ++i) deflate_rows(row.data(), row.size(), Z_NO_FLUSH);
    return;
  }
  // zlib's output ends on a byte and it forgets what came before, so that
  // nothing it writes later refers back across this block.
  deflate_rows(nullptr, 0, Z_FULL_FLUSH);

  // Each row: the filter byte 2, a zero, copies of the byte before (258 at a
  // time, then the rest in one copy, or as zeros when fewer than 3 are left).
  std::size_t left = bytes - 1, full = left / 258, rest = left % 258;
  int tail = rest >= 3 ? length_index(static_cast<int>(rest)) : -1;
  // Codes made for these rows: one bit for a copy of 258, three for the rest
  // (a complete code, as a decoder demands).
  std::vector<int> lengths(lit_codes, 0);
  lengths[258 + 27] = 1;  // symbol 285: length 258
  lengths[2] = 3;
  lengths[end_of_block] = 3;
  if (tail >= 0) {
    lengths[0] = 3;
    lengths[static_cast<std::size_t>(257 + tail)] = 3;
  } else {
    lengths[0] = 2;
  }
  auto codes = canonical_codes(lengths);
  put_dynamic_header(lengths);
  auto put = [&](int symbol) {
    put_code(codes[static_cast<std::size_t>(symbol)], lengths[static_cast<std::size_t>(symbol)]);
  };
  for (std::size_t i = 0; i < rows; ++i) {
    put(2);
    put(0);
    for (std::size_t k = 0; k < full; ++k) {
      put(285);
      put_bits(0, 1);  // distance 1, the only distance code
    }
    if (tail >= 0) {
      put(257 + tail);
      put_bits(static_cast<std::uint32_t>(static_cast<int>(rest) - length_base[tail]),
               length_extra[tail]);
      put_bits(0, 1);
    } else {
      for (std::size_t k = 0; k < rest; ++k) put(0);
    }
  }
  put(end_of_block);
  put_bits(0b000, 3);  // an empty stored block brings the stream back to a byte
  if (bit_count_ > 0) put_bits(0, 8 - bit_count_);
  for (unsigned char b : {0x00, 0x00, 0xFF, 0xFF}) put_byte(b);
}

// The header of a block with its own codes: the code lengths of the 286
// literal and length symbols and of the one distance, written with a code of
// three bits for every code length symbol used here.
void PngStream::put_dynamic_header(const std::vector<int>& lengths) {
  put_bits(0b100, 3);  // not the last block; codes of its own
  put_bits(lit_codes - 257, 5);
  put_bits(0, 5);  // one distance code
  // The code length symbols in the order the header lists them; all that are
  // used get three bits, 8 of them, a complete code.
  static constexpr int order[] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
  static constexpr int given[] = {0, 1, 2, 3, 4, 5, 17, 18};
  std::vector<int> cl_lengths(19, 0);
  for (int symbol : given) cl_lengths[static_cast<std::size_t>(symbol)] = 3;
  auto cl_codes = canonical_codes(cl_lengths);
  put_bits(18 - 4, 4);  // the first 18 of the order: up to symbol 1
  for (int i = 0; i < 18; ++i)
    put_bits(static_cast<std::uint32_t>(cl_lengths[static_cast<std::size_t>(order[i])]), 3);
  auto put_cl = [&](int symbol) { put_code(cl_codes[static_cast<std::size_t>(symbol)], 3); };
  std::vector<int> all(lengths);
  all.push_back(1);  // the distance code
  for (std::size_t i = 0; i < all.size();) {
    if (all[i] != 0) {
      put_cl(all[i++]);
      continue;
    }
    std::size_t run = 0;
    while (i + run < all.size() && all[i + run] == 0 && run < 138) ++run;
    if (run >= 11) {
      put_cl(18);
      put_bits(static_cast<std::uint32_t>(run - 11), 7);
    } else if (run >= 3) {
      put_cl(17);
      put_bits(static_cast<std::uint32_t>(run - 3), 3);
    } else {
      for (std::size_t k = 0; k < run; ++k) put_cl(0);
    }
    i += run;
  }
}

void PngStream::put_bits(std::uint32_t value, int count) {
  bit_buffer_ |= value << bit_count_;
  bit_count_ += count;
  while (bit_count_ >= 8) {
    put_byte(static_cast<unsigned char>(bit_buffer_ & 0xFF));
    bit_buffer_ >>= 8;
    bit_count_ -= 8;
  }
}

// Huffman codes go in from their first bit.
void PngStream::put_code(std::uint32_t code, int length) {
  std::uint32_t reversed = 0;
  for (int i = 0; i < length; ++i) reversed |= ((code >> i) & 1) << (length - 1 - i);
  put_bits(reversed, length);
}

void PngStream::put_byte(unsigned char byte) {
  if (used_ == buffer_.size()) emit_chunk();
  buffer_[used_++] = byte;
}

void PngStream::emit_chunk() {
  if (used_ == 0) return;
  png_chunk(file_, "IDAT", reinterpret_cast<const char*>(buffer_.data()), used_);
  used_ = 0;
}

namespace {

// A batch is handed over at about this size: large enough that the hand-over
// costs nothing, small enough that the two waiting stay small beside a band.
constexpr std::size_t batch_bytes = 1 << 21;

}  // namespace

PngCompressor::PngCompressor(std::string& file, std::function<void()> drained)
    : stream_(file), drained_(std::move(drained)) {
  filling_.bytes.reserve(batch_bytes);
  worker_ = std::thread([this] { run(); });
}

PngCompressor::~PngCompressor() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  if (worker_.joinable()) worker_.join();
}

unsigned char* PngCompressor::next_row(std::size_t size) {
  if (filling_.bytes.size() >= batch_bytes) send();
  auto start = filling_.bytes.size();
  filling_.bytes.resize(start + size);
  filling_.rows.push_back({start + size, 0});
  return filling_.bytes.data() + start;
}

void PngCompressor::add_repeated_row(std::size_t bytes) {
  filling_.rows.push_back({filling_.bytes.size(), bytes});
}

void PngCompressor::send() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return queue_.size() < 2 || failure_; });
  rethrow();
  queue_.push_back(std::move(filling_));
  filling_ = Batch{};
  filling_.bytes.reserve(batch_bytes);
  lock.unlock();
  changed_.notify_all();
}

void PngCompressor::finish() {
  send();
  {
    std::lock_guard lock(mutex_);
    closing_ = true;
  }
  changed_.notify_all();
  worker_.join();
  rethrow();
  stream_.finish();
}

void PngCompressor::rethrow() {
  if (failure_) std::rethrow_exception(failure_);
}

void PngCompressor::run() {
  for (;;) {
    Batch batch;
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [this] { return !queue_.empty() || closing_ || stopping_; });
      if (stopping_ || queue_.empty()) return;
      batch = std::move(queue_.front());
      queue_.pop_front();
    }
    changed_.notify_all();
    try {
      std::size_t start = 0;
      for (const auto& row : batch.rows) {
        if (row.repeat > 0) {
          stream_.add_repeated_row(row.repeat);
          continue;
        }
        stream_.add_row(batch.bytes.data() + start, row.end - start);
        start = row.end;
      }
      if (drained_) drained_();
    } catch (...) {
      std::lock_guard lock(mutex_);
      failure_ = std::current_exception();
      queue_.clear();
      changed_.notify_all();
      return;
    }
  }
}

}  // namespace zw
