#pragma once
#include <set>
#include <string>
#include <vector>

#include "platform/host.h"

// Where a conversion may write: the new style's own folder, and nothing that a
// link in it or a "." or ".." in its name leads to.
namespace zw {

// Where the target folder lies from the source folder, once links, "." and
// ".." are resolved. unknown when either cannot be resolved.
enum class Overlap { apart, same, target_inside, source_inside, unknown };
Overlap overlap(FileSystem& fs, const std::string& source, const std::string& target);

// The refusal of a conversion from source into target that overlap does not
// find apart; "" when they lie apart.
std::string overlap_refusal(FileSystem& fs, const std::string& source, const std::string& target);

// The new style's folder as one conversion writes it. Every folder below it
// that a file goes into is a folder of its own: a link there is replaced by a
// new folder, never written through, so nothing lands outside the new style.
// Each file is written once; every failure is named in a message and counted.
class TargetFolder {
 public:
  TargetFolder(Host& host, std::string path) : host_(host), path_(std::move(path)) {}

  const std::string& path() const { return path_; }
  // The path of a file given by its components below the folder.
  std::string at(const std::vector<std::string>& parts) const;

  // Makes dir, a folder below path(), a folder of its own: created when
  // missing, and a link there replaced. false after a message when it cannot.
  bool own_folder(const std::string& dir);
  // The folders that the file at(parts) lies in; when one cannot be made, the
  // file counts as not written.
  bool own_folders_for(const std::vector<std::string>& parts);

  // True the first time a file is claimed in this conversion.
  bool claim(const std::string& file);
  bool claimed(const std::string& file) const;

  // The file written with text (savetext's CR LF at its end), or copied whole.
  bool write(const std::string& file, const std::string& text);
  bool copy(const std::string& from, const std::string& file);

  // Counts a file or folder (or, without one, a step) that could not be
  // written, once however often it is tried; a message has named it.
  void failed(const std::string& file = {});
  int failures() const { return static_cast<int>(failed_.size()) + failed_steps_; }

 private:
  Host& host_;
  std::string path_;
  std::set<std::string> claimed_, failed_;
  int failed_steps_ = 0;
};

}  // namespace zw
