#include "support/small_disk.h"

#ifdef __linux__
#include <gtest/gtest.h>
#include <sys/mount.h>

#include <cstdio>
#include <filesystem>

#include "app/files.h"

namespace zw::test {

SmallDisk::SmallDisk(std::string dir) : dir_(std::move(dir)) {
  std::filesystem::create_directories(to_fs_path(dir_));
  mounted_ = ::mount("tmpfs", dir_.c_str(), "tmpfs", 0, "size=512k") == 0;
}

SmallDisk::~SmallDisk() {
  if (mounted_) ::umount2(dir_.c_str(), MNT_DETACH);
}

bool SmallDisk::read_only(bool on) {
  return ::mount(nullptr, dir_.c_str(), nullptr, on ? MS_REMOUNT | MS_RDONLY : MS_REMOUNT, "size=512k") == 0;
}

void SmallDisk::fill() {
  std::FILE* f = std::fopen((dir_ + "/filler").c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::string block(4096, 'x');
  while (std::fwrite(block.data(), 1, block.size(), f) == block.size() && std::fflush(f) == 0) {
  }
  std::fclose(f);
}

void SmallDisk::empty() { std::filesystem::remove(to_fs_path(dir_ + "/filler")); }

}  // namespace zw::test
#endif
