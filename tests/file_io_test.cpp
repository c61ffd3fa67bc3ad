// The file system under hostile folders: named pipes, devices, folders and
// links where files belong, a full disk. Nothing blocks, nothing is written
// through a link, and a failed write leaves the old file as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "app/file_io.h"
#include "app/files.h"
#include "app/text.h"
#include "support/test_app.h"

#ifndef _WIN32
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#endif

namespace zw {
namespace {

namespace fs = std::filesystem;

#ifndef _WIN32

// What a test puts where the program reads or writes a file.
enum class Thing { nothing, file, folder, fifo, device, link_to_file, link_to_fifo, link_to_folder,
                   link_to_device, dangling_link };

// Makes `thing` at dir/name; links point to entries in dir/elsewhere, which
// stands for a place outside the folder written to.
void make(const test::TempDir& dir, const std::string& name, Thing thing) {
  auto at = to_fs_path(dir.at(name));
  fs::create_directories(at.parent_path());
  fs::create_directories(to_fs_path(dir.at("elsewhere/folder")));
  if (!fs::exists(to_fs_path(dir.at("elsewhere/pipe")))) mkfifo(dir.at("elsewhere/pipe").c_str(), 0600);
  dir.write("elsewhere/file", "outside\n");
  switch (thing) {
    case Thing::nothing: break;
    case Thing::file: dir.write(name, "old\n"); break;
    case Thing::folder: fs::create_directories(at); break;
    case Thing::fifo: ASSERT_EQ(mkfifo(at.c_str(), 0600), 0); break;
    case Thing::device: ASSERT_EQ(mknod(at.c_str(), S_IFCHR | 0600, makedev(1, 3)), 0); break;
    case Thing::link_to_file: fs::create_symlink(to_fs_path(dir.at("elsewhere/file")), at); break;
    case Thing::link_to_fifo: fs::create_symlink(to_fs_path(dir.at("elsewhere/pipe")), at); break;
    case Thing::link_to_folder: fs::create_symlink(to_fs_path(dir.at("elsewhere/folder")), at); break;
    case Thing::link_to_device: fs::create_symlink("/dev/null", at); break;
    case Thing::dangling_link: fs::create_symlink(to_fs_path(dir.at("elsewhere/new")), at); break;
  }
}

// The names in a folder: a write must leave no temporary file behind.
std::vector<std::string> names_in(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(to_fs_path(dir))) names.push_back(from_fs_path(e.path().filename()));
  std::sort(names.begin(), names.end());
  return names;
}

TEST(SafeFiles, ReadTakesRegularFilesOnlyAndNeverBlocks) {
  const struct { Thing thing; bool read; const char* error; } cases[] = {
      {Thing::file, true, ""},
      {Thing::link_to_file, true, ""},
      {Thing::nothing, false, "No such file"},
      {Thing::dangling_link, false, "No such file"},
      {Thing::folder, false, "is a folder, not a file"},
      {Thing::link_to_folder, false, "is a folder, not a file"},
      {Thing::fifo, false, "is a named pipe, not a file"},
      {Thing::link_to_fifo, false, "is a named pipe, not a file"},
      {Thing::device, false, "is a device, not a file"},
      {Thing::link_to_device, false, "is a device, not a file"},
  };
  for (const auto& c : cases) {
    test::TempDir dir;
    make(dir, "style/lines", c.thing);
    SCOPED_TRACE(static_cast<int>(c.thing));
    StdFileSystem files;
    std::string error;
    auto data = files.read(dir.at("style/lines"), error);
    EXPECT_EQ(data.has_value(), c.read) << error;
    if (!c.read) {
      EXPECT_TRUE(text::contains(error, dir.at("style/lines"))) << error;
      EXPECT_TRUE(text::contains(error, c.error)) << error;
    }
    EXPECT_EQ(files.file_exists(dir.at("style/lines")), c.read);
  }
}

TEST(SafeFiles, ReadStopsAtTheLimitAndTrustsNoSizeTheSystemGives) {
  test::TempDir dir;
  dir.write("big", "");
  fs::resize_file(to_fs_path(dir.at("big")), static_cast<std::uintmax_t>(max_read_bytes) + 1);
  std::string error;
  EXPECT_FALSE(file_io::read_regular(dir.at("big"), max_read_bytes, error));
  EXPECT_TRUE(text::contains(error, "too large to read")) << error;
  // A file that says it is empty but is not, as those of /proc do.
  auto status = file_io::read_regular("/proc/self/status", max_read_bytes, error);
  ASSERT_TRUE(status) << error;
  EXPECT_TRUE(text::contains(*status, "Name:"));
  EXPECT_FALSE(file_io::read_regular("/proc/self/status", 10, error));
}

TEST(SafeFiles, WriteReplacesFilesAndLinksAndRefusesWhatIsNoFile) {
  const struct { Thing thing; bool written; const char* error; } cases[] = {
      {Thing::nothing, true, ""},
      {Thing::file, true, ""},
      {Thing::link_to_file, true, ""},
      {Thing::dangling_link, true, ""},
      {Thing::folder, false, "it is a folder, not a file"},
      {Thing::fifo, false, "it is a named pipe, not a file"},
      {Thing::device, false, "it is a device, not a file"},
      {Thing::link_to_folder, false, "it is a link to a folder, not a file"},
      {Thing::link_to_fifo, false, "it is a link to a named pipe, not a file"},
      {Thing::link_to_device, false, "it is a link to a device, not a file"},
  };
  for (const auto& c : cases) {
    test::TempDir dir;
    make(dir, "system/lines.res", c.thing);
    SCOPED_TRACE(static_cast<int>(c.thing));
    auto before = names_in(dir.at("system"));
    StdFileSystem files;
    std::string error;
    EXPECT_EQ(files.write(dir.at("system/lines.res"), "new\r\n", error), c.written) << error;
    if (c.written) {
      // The file itself now, whatever stood there.
      EXPECT_EQ(file_io::kind_of(dir.at("system/lines.res"), false), file_io::Kind::regular);
      EXPECT_EQ(dir.read("system/lines.res"), "new\r\n");
    } else {
      EXPECT_TRUE(text::contains(error, "Cannot write " + dir.at("system/lines.res"))) << error;
      EXPECT_TRUE(text::contains(error, c.error)) << error;
    }
    // Nothing outside the folder was written or created, and no temporary file is left.
    EXPECT_EQ(dir.read("elsewhere/file"), "outside\n");
    EXPECT_FALSE(fs::exists(to_fs_path(dir.at("elsewhere/new"))));
    EXPECT_TRUE(fs::is_empty(to_fs_path(dir.at("elsewhere/folder"))));
    auto after = names_in(dir.at("system"));
    if (c.thing == Thing::nothing) after.erase(std::find(after.begin(), after.end(), "lines.res"));
    EXPECT_EQ(after, before);
  }
}

TEST(SafeFiles, ReplacedFileKeepsItsPermissionsAndLongNamesWork) {
  test::TempDir dir;
  dir.write("levels.dat", "old\r\n");
  fs::permissions(to_fs_path(dir.at("levels.dat")), fs::perms::owner_read | fs::perms::owner_write |
                                                         fs::perms::group_read);
  StdFileSystem files;
  std::string error;
  ASSERT_TRUE(files.write(dir.at("levels.dat"), "new\r\n", error)) << error;
  EXPECT_EQ(fs::status(to_fs_path(dir.at("levels.dat"))).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  // The temporary name beside a name of 250 bytes must still be a valid name.
  std::string long_name(250, 'n');
  ASSERT_TRUE(files.write(dir.at(long_name), "x", error)) << error;
  EXPECT_EQ(names_in(dir.path()), (std::vector<std::string>{"levels.dat", long_name}));
}

// A small file system of its own that fills up: the disk-full case for real.
class FullDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    if (::geteuid() != 0) GTEST_SKIP() << "mounting a small file system needs root";
    root = dir.at("disk");
    fs::create_directories(to_fs_path(root));
    ASSERT_EQ(::mount("tmpfs", root.c_str(), "tmpfs", 0, "size=64k"), 0) << std::strerror(errno);
    mounted = true;
  }
  void TearDown() override {
    if (mounted) ::umount(root.c_str());
  }
  test::TempDir dir;
  std::string root;
  bool mounted = false;
};

TEST_F(FullDisk, FailedWriteKeepsTheOldFileAndLeavesNothingBehind) {
  StdFileSystem files;
  std::string error, path = root + "/options";
  ASSERT_TRUE(files.write(path, "levels = 0:24, 1:22\n", error)) << error;
  EXPECT_FALSE(files.write(path, std::string(1 << 20, 'x'), error));
  EXPECT_TRUE(text::contains(error, "Cannot write " + path)) << error;
  EXPECT_TRUE(text::contains(error, std::strerror(ENOSPC))) << error;
  EXPECT_EQ(dir.read("disk/options"), "levels = 0:24, 1:22\n");
  EXPECT_FALSE(files.copy_file(dir.at("disk/options"), root + "/info", error) &&
               files.write(root + "/big", std::string(1 << 20, 'y'), error));
  EXPECT_EQ(names_in(root), (std::vector<std::string>{"info", "options"}));
}

#endif  // _WIN32

}  // namespace
}  // namespace zw
