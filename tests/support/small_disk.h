#pragma once
#ifdef __linux__
#include <sys/mount.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace zw::test {

// A small file system of the test's own (the tests run as root), mounted at
// dir, to be filled up or made read-only under a write.
class SmallDisk {
 public:
  explicit SmallDisk(std::string dir) : dir_(std::move(dir)) {
    std::filesystem::create_directories(dir_);
    mounted_ = ::mount("tmpfs", dir_.c_str(), "tmpfs", 0, "size=512k") == 0;
  }
  ~SmallDisk() {
    if (mounted_) ::umount2(dir_.c_str(), MNT_DETACH);
  }
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;

  bool mounted() const { return mounted_; }
  bool read_only(bool on) {
    return ::mount(nullptr, dir_.c_str(), nullptr, on ? MS_REMOUNT | MS_RDONLY : MS_REMOUNT,
                   "size=512k") == 0;
  }
  // Writes one file until no byte more fits; empty() removes it again.
  void fill() {
    std::string block(4096, 'x');
    if (std::FILE* f = std::fopen((dir_ + "/filler").c_str(), "wb")) {
      while (std::fwrite(block.data(), 1, block.size(), f) == block.size() && std::fflush(f) == 0) {
      }
      std::fclose(f);
    }
  }
  void empty() { std::filesystem::remove(dir_ + "/filler"); }

 private:
  std::string dir_;
  bool mounted_ = false;
};

}  // namespace zw::test
#endif
