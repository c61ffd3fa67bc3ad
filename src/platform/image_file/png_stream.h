#pragma once
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <zlib.h>

namespace zw {

// Appends a chunk of a PNG file: its length, type, data and checksum.
void png_chunk(std::string& file, const char* type, const char* data, std::size_t size);

// The image data of a PNG file: rows (each with its filter byte) deflated by
// zlib at a fast level and appended to the file as IDAT chunks.
//
// A chart repeats rows: runs of blank rows between the texts, the bars' rows.
// Such a row, filtered as its difference to the row above, is all zeros, and
// zlib would still scan every byte of it. A run of them is written here as
// one block (a zero, then copies of it, in codes made for just these rows)
// between two flush points of zlib's stream instead, at a fraction of the cost.
class PngStream {
 public:
  explicit PngStream(std::string& file);
  ~PngStream();
  PngStream(const PngStream&) = delete;
  PngStream& operator=(const PngStream&) = delete;

  // A row as it is stored: its filter byte, then its bytes.
  void add_row(const unsigned char* data, std::size_t size);
  // A row that repeats the row above: filter "Up" and `bytes` zeros.
  void add_repeated_row(std::size_t bytes);
  // Ends the stream and writes what is left.
  void finish();

 private:
  void deflate_rows(const unsigned char* data, std::size_t size, int flush);
  void write_repeated_rows();
  void put_bits(std::uint32_t value, int count);
  void put_code(std::uint32_t code, int length);
  void put_dynamic_header(const std::vector<int>& lengths);
  void put_byte(unsigned char byte);
  void emit_chunk();

  std::string& file_;
  std::vector<unsigned char> buffer_;
  std::size_t used_ = 0;
  z_stream z_{};
  bool z_ready_ = false;
  std::uint32_t adler_ = 1;
  std::size_t repeated_ = 0, repeated_bytes_ = 0;
  std::uint32_t bit_buffer_ = 0;
  int bit_count_ = 0;
};

// A PngStream fed from a thread of its own, so that compressing the rows of
// one band and drawing the next overlap. Rows are handed over in batches, and
// only two batches wait at a time, so memory stays bounded. After each batch
// the thread calls drained, which may take the bytes made so far from file.
class PngCompressor {
 public:
  PngCompressor(std::string& file, std::function<void()> drained);
  // Abandons what is not compressed yet; the file is then incomplete.
  ~PngCompressor();
  PngCompressor(const PngCompressor&) = delete;
  PngCompressor& operator=(const PngCompressor&) = delete;

  // Room for the next stored row of `size` bytes, filter byte first, valid
  // until the next call.
  unsigned char* next_row(std::size_t size);
  void add_repeated_row(std::size_t bytes);
  // Ends the stream; the file then holds every row. Throws the compression's
  // failure, as every call does once it has failed.
  void finish();

 private:
  // Rows in order: a stored row ends at `end` of the bytes, a repeated row
  // has `repeat` bytes.
  struct Entry {
    std::size_t end = 0, repeat = 0;
  };
  struct Batch {
    std::vector<unsigned char> bytes;
    std::vector<Entry> rows;
  };
  void send();
  void run();
  void rethrow();

  PngStream stream_;  // the worker's alone until it is joined
  std::function<void()> drained_;
  Batch filling_;
  std::deque<Batch> queue_;
  std::mutex mutex_;
  std::condition_variable changed_;
  bool closing_ = false, stopping_ = false;
  std::exception_ptr failure_;
  std::thread worker_;
};

}  // namespace zw
