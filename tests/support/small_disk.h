#pragma once
#ifdef __linux__
#include <string>

namespace zw::test {

// A small file system of the test's own (the tests run as root), mounted at
// dir, to be filled up or made read-only under a write.
class SmallDisk {
 public:
  explicit SmallDisk(std::string dir);
  ~SmallDisk();
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;

  bool mounted() const { return mounted_; }
  bool read_only(bool on);
  // Writes one file until no byte more fits; empty() removes it again.
  void fill();
  void empty();

 private:
  std::string dir_;
  bool mounted_ = false;
};

}  // namespace zw::test
#endif
