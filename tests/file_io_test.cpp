// The file system under hostile folders: named pipes, devices, folders and
// links where files belong, a full disk. Nothing blocks, nothing is written
// through a link, and a failed write leaves the old file as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "base/file_io.h"
#include "base/std_file_system.h"
#include "base/text.h"
#include "support/small_disk.h"
#include "support/test_app.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#endif

namespace zw {
namespace {

namespace fs = std::filesystem;

#ifndef _WIN32

// What a test puts where the program reads or writes a file.
enum class Thing {
  nothing,
  file,
  folder,
  fifo,
  device,
  link_to_file,
  link_to_fifo,
  link_to_folder,
  link_to_device,
  dangling_link
};

// Makes `thing` at dir/name; links point to entries in dir/elsewhere, which
// stands for a place outside the folder written to.
void make(const test::TempDir& dir, const std::string& name, Thing thing) {
  auto at = to_fs_path(dir.at(name));
  fs::create_directories(at.parent_path());
  fs::create_directories(to_fs_path(dir.at("elsewhere/folder")));
  if (!fs::exists(to_fs_path(dir.at("elsewhere/pipe"))))
    mkfifo(dir.at("elsewhere/pipe").c_str(), 0600);
  dir.write("elsewhere/file", "outside\n");
  switch (thing) {
    case Thing::nothing:
      break;
    case Thing::file:
      dir.write(name, "old\n");
      break;
    case Thing::folder:
      fs::create_directories(at);
      break;
    case Thing::fifo:
      ASSERT_EQ(mkfifo(at.c_str(), 0600), 0);
      break;
    case Thing::device:
      ASSERT_EQ(mknod(at.c_str(), S_IFCHR | 0600, makedev(1, 3)), 0);
      break;
    case Thing::link_to_file:
      fs::create_symlink(to_fs_path(dir.at("elsewhere/file")), at);
      break;
    case Thing::link_to_fifo:
      fs::create_symlink(to_fs_path(dir.at("elsewhere/pipe")), at);
      break;
    case Thing::link_to_folder:
      fs::create_symlink(to_fs_path(dir.at("elsewhere/folder")), at);
      break;
    case Thing::link_to_device:
      fs::create_symlink("/dev/null", at);
      break;
    case Thing::dangling_link:
      fs::create_symlink(to_fs_path(dir.at("elsewhere/new")), at);
      break;
  }
}

// The names in a folder: a write must leave no temporary file behind.
std::vector<std::string> names_in(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(to_fs_path(dir)))
    names.push_back(from_fs_path(e.path().filename()));
  std::sort(names.begin(), names.end());
  return names;
}

// A file as read a piece at a time, the pieces put together.
std::optional<std::string> read_by_pieces(const std::string& path, std::int64_t limit,
                                          std::string& error) {
  std::string whole;
  bool ok = file_io::read_regular_pieces(path, limit, error, [&](std::string_view piece) {
    EXPECT_LE(piece.size(), std::size_t{1} << 18) << path;
    whole += piece;
  });
  if (!ok) return std::nullopt;
  return whole;
}

// The same things where a file is read and where one is written: a read takes
// a regular file only and never blocks; a write replaces a file or a link to
// one, and refuses the rest without touching what a link points at.
TEST(SafeFiles, OnlyRegularFilesAreReadAndReplacedAndNothingBlocks) {
  const struct {
    Thing thing;
    const char *read_error, *write_error;
  } cases[] = {
      {Thing::file, "", ""},
      {Thing::link_to_file, "", ""},
      {Thing::nothing, "No such file", ""},
      {Thing::dangling_link, "No such file", ""},
      {Thing::folder, "is a folder, not a file", "it is a folder, not a file"},
      {Thing::link_to_folder, "is a folder, not a file", "it is a link to a folder, not a file"},
      {Thing::fifo, "is a named pipe, not a file", "it is a named pipe, not a file"},
      {Thing::link_to_fifo, "is a named pipe, not a file",
       "it is a link to a named pipe, not a file"},
      {Thing::device, "is a device, not a file", "it is a device, not a file"},
      {Thing::link_to_device, "is a device, not a file", "it is a link to a device, not a file"},
  };
  for (const auto& c : cases) {
    test::TempDir dir;
    make(dir, "system/lines.res", c.thing);
    SCOPED_TRACE(static_cast<int>(c.thing));
    auto path = dir.at("system/lines.res");
    auto before = names_in(dir.at("system"));
    StdFileSystem files;
    std::string error;
    bool read = !*c.read_error, written = !*c.write_error;
    EXPECT_EQ(files.read(path, error).has_value(), read) << error;
    if (!read) {
      EXPECT_TRUE(text::contains(error, path)) << error;
      EXPECT_TRUE(text::contains(error, c.read_error)) << error;
    }
    std::string piece_error;
    EXPECT_EQ(read_by_pieces(path, max_read_bytes, piece_error).has_value(), read);
    EXPECT_EQ(piece_error, read ? "" : error);
    EXPECT_EQ(files.file_exists(path), read);
    EXPECT_EQ(files.write(path, "new\r\n", error), written) << error;
    if (written) {
      // The file itself now, whatever stood there.
      EXPECT_EQ(file_io::kind_of(path, false), file_io::Kind::regular);
      EXPECT_EQ(dir.read("system/lines.res"), "new\r\n");
    } else {
      EXPECT_TRUE(text::contains(error, "Cannot write " + path)) << error;
      EXPECT_TRUE(text::contains(error, c.write_error)) << error;
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

TEST(SafeFiles, ReadStopsAtTheLimitAndTrustsNoSizeTheSystemGives) {
  test::TempDir dir;
  dir.write("big", "");
  fs::resize_file(to_fs_path(dir.at("big")), static_cast<std::uintmax_t>(max_read_bytes) + 1);
  std::string error;
  // Whole or a piece at a time, the same: the limit holds for the pieces together.
  using Read = std::optional<std::string> (*)(const std::string&, std::int64_t, std::string&);
  for (Read read : {Read(file_io::read_regular), Read(read_by_pieces)}) {
    EXPECT_FALSE(read(dir.at("big"), max_read_bytes, error));
    EXPECT_TRUE(text::contains(error, "too large to read")) << error;
    // A file that says it is empty but is not, as those of /proc do.
    EXPECT_EQ(read("/proc/self/status", max_read_bytes, error).value_or(error).substr(0, 5),
              "Name:");
    EXPECT_FALSE(read("/proc/self/status", 10, error));
  }
  std::string many(700'000, 'x');
  many[(1 << 18) - 1] = 'y';  // the last byte of the first piece
  dir.write("many", many);
  EXPECT_EQ(read_by_pieces(dir.at("many"), max_read_bytes, error), many);
}

TEST(SafeFiles, ReplacedFileKeepsItsPermissionsAndLongNamesWork) {
  test::TempDir dir;
  dir.write("levels.dat", "old\r\n");
  fs::permissions(to_fs_path(dir.at("levels.dat")),
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
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

// A file made piece by piece, as an image drawn band by band: in place only
// once committed; dropped before, it leaves the old file and nothing beside.
TEST(SafeFiles, AFileWrittenInPiecesReplacesTheOldOneOnlyWhenCommitted) {
  test::TempDir dir;
  StdFileSystem files;
  for (bool commit : {false, true}) {
    dir.write("chart.bmp", "old");
    std::string error;
    auto out = files.start_write(dir.at("chart.bmp"), error);
    ASSERT_TRUE(out) << error;
    out->write_at(4, "tail");  // pieces in any order
    out->write_at(0, "head");
    if (commit) {
      ASSERT_TRUE(out->commit(error)) << error;
    }
    out.reset();
    EXPECT_EQ(dir.read("chart.bmp"), commit ? "headtail" : "old");
    EXPECT_EQ(names_in(dir.path()), std::vector<std::string>{"chart.bmp"});
  }
  std::string error;
  EXPECT_FALSE(files.start_write(dir.path(), error));
  EXPECT_TRUE(text::contains(error, "Cannot write " + dir.path())) << error;
}

// A small file system of its own that fills up: the disk-full case for real.
TEST(FullDisk, FailedWriteKeepsTheOldFileAndLeavesNothingBehind) {
  if (::geteuid() != 0) GTEST_SKIP() << "mounting a small file system needs root";
  test::TempDir dir;
  auto root = dir.at("disk");
  test::SmallDisk disk(root);
  ASSERT_TRUE(disk.mounted()) << std::strerror(errno);
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
