#include "convert/target_folder.h"

#include "base/paths.h"
#include "base/text_files.h"
#include "base/text.h"

namespace zw {
namespace {

// A real path as compared: host separators, no separator at its end, and
// case ignored, as two names that differ only in case may be one folder.
std::string compared(FileSystem& fs, const std::string& path) {
  auto real = paths::to_host(fs.real_path(path));
  while (real.size() > 1 && real.back() == paths::separator) real.pop_back();
  return text::lower(real);
}

bool lies_in(const std::string& inner, const std::string& outer) {
  std::string prefix = outer.back() == paths::separator ? outer : outer + paths::separator;
  return inner.size() > prefix.size() && text::starts_with(inner, prefix);
}

// Two names of one file compare equal where the file system ignores case.
std::string file_key(const std::string& file) {
#if defined(_WIN32) || defined(__APPLE__)
  return text::lower(paths::normal(file));
#else
  return paths::normal(file);
#endif
}

}  // namespace

Overlap overlap(FileSystem& fs, const std::string& source, const std::string& target) {
  auto from = compared(fs, source), to = compared(fs, target);
  if (from.empty() || to.empty()) return Overlap::unknown;
  if (from == to) return Overlap::same;
  if (lies_in(to, from)) return Overlap::target_inside;
  if (lies_in(from, to)) return Overlap::source_inside;
  return Overlap::apart;
}

std::string overlap_refusal(FileSystem& fs, const std::string& source, const std::string& target) {
  const std::string stop = " ! Cannot continue:\r\n\r\n";
  auto from = fs.real_path(source), to = fs.real_path(target);
  switch (overlap(fs, source, target)) {
    case Overlap::apart:
      return {};
    case Overlap::same:
      return "Target and source are the same" + stop + target + " is " + from;
    case Overlap::target_inside:
      return "The new style " + target + " would lie inside the style " + source + stop + to +
             " lies in " + from;
    case Overlap::source_inside:
      return "The style " + source + " lies inside the new style " + target + stop + from +
             " lies in " + to;
    default:
      return "Cannot create the new style's folder " + target +
             "\r\n\r\nIts path cannot be resolved.";
  }
}

std::string TargetFolder::at(const std::vector<std::string>& parts) const {
  std::string file = path_;
  for (const auto& p : parts) file += paths::sep_text + p;
  return paths::collapse(file);
}

void TargetFolder::failed(const std::string& file) {
  if (file.empty())
    ++failed_steps_;
  else
    failed_.insert(file_key(file));
}

bool TargetFolder::own_folder(const std::string& dir) {
  auto& fs = host_.fs();
  if (fs.is_link(dir)) {
    auto leads_to = fs.real_path(dir);
    if (!fs.remove_file(dir)) {
      host_.message("Cannot replace the link " + dir + " (to " + leads_to +
                    ") by a folder of the new style's own, so nothing is written into it.");
      failed(dir);
      return false;
    }
    host_.message("The new style's folder " + dir + " was a link to " + leads_to +
                  ": a folder of its own takes its place, so that nothing is written through it.");
  }
  if (fs.dir_exists(dir)) return true;
  std::string error;
  if (fs.create_dir(dir, error)) return true;
  host_.message(error.empty() ? "Cannot create the folder " + dir : error);
  failed(dir);
  return false;
}

bool TargetFolder::own_folders_for(const std::vector<std::string>& parts) {
  for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
    if (!own_folder(at(
            std::vector<std::string>(parts.begin(), parts.begin() + static_cast<long>(i) + 1)))) {
      failed(at(parts));
      return false;
    }
  }
  return true;
}

bool TargetFolder::claim(const std::string& file) {
  return claimed_.insert(file_key(file)).second;
}

bool TargetFolder::claimed(const std::string& file) const {
  return claimed_.count(file_key(file)) > 0;
}

bool TargetFolder::write(const std::string& file, const std::string& text) {
  if (savetext(host_, file, text)) return true;
  failed(file);
  return false;
}

bool TargetFolder::copy(const std::string& from, const std::string& file) {
  std::string error;
  if (host_.fs().copy_file(from, file, error)) return true;
  host_.message(error.empty() ? "Cannot copy " + from + " to " + file : error);
  failed(file);
  return false;
}

}  // namespace zw
