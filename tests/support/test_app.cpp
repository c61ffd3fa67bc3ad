#include "support/test_app.h"
#include "app/check_handlers.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "analysis/analysis.h"
#include "base/std_file_system.h"
#include "app/main_window.h"
#include "base/paths.h"
#include "base/text.h"
#include "levels/categories.h"

namespace zw::test {

namespace fs = std::filesystem;

TempDir::TempDir() {
  static std::atomic<int> counter{0};
  std::random_device rd;
  auto base = fs::temp_directory_path() /
              ("zw-test-" + std::to_string(rd()) + "-" + std::to_string(counter++));
  fs::create_directories(base);
  path_ = from_fs_path(base);
}

TempDir::~TempDir() {
  std::error_code ec;
  // Read-only folders made by a test must not keep their contents alive.
  for (auto it = fs::recursive_directory_iterator(to_fs_path(path_), ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(to_fs_path(path_), ec);
}

std::string TempDir::at(const std::string& relative) const {
  return paths::collapse(path_ + paths::sep_text + paths::to_host(relative));
}

void TempDir::write(const std::string& relative, const std::string& content) const {
  auto p = to_fs_path(at(relative));
  fs::create_directories(p.parent_path());
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out << content;
}

std::string TempDir::read(const std::string& relative) const {
  std::ifstream in(to_fs_path(at(relative)), std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

std::map<std::string, std::string> TempDir::tree(const std::string& relative) const {
  std::map<std::string, std::string> files;
  auto base = to_fs_path(at(relative));
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(base, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    if (!it->is_regular_file(ec)) continue;
    auto rel = from_fs_path(it->path().lexically_relative(base));
    std::replace(rel.begin(), rel.end(), '\\', '/');
    std::ifstream in(it->path(), std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    files[rel] = ss.str();
  }
  return files;
}

void TempDir::copy(const std::string& from, const std::string& relative) const {
  auto to = to_fs_path(at(relative));
  fs::create_directories(to.parent_path());
  fs::copy(to_fs_path(from), to, fs::copy_options::recursive);
}

TestApp::TestApp() {
  s.app_dir = dir.at("app");
  fs::create_directories(to_fs_path(s.app_dir));
  start_headless(s, host, {&p1, &p2, &p3, &p4});
  host.messages.clear();
}

std::string TestApp::style(const std::string& name,
                           const std::map<std::string, std::string>& files) {
  fs::create_directories(to_fs_path(dir.at("styles/" + name)));
  for (const auto& [file, content] : files) dir.write("styles/" + name + "/" + file, content);
  return dir.at("styles/" + name);
}

void TestApp::select(const std::string& name) {
  select_style_dir(s, host, dir.at("styles/" + name));
}

void TestApp::click_kind(int kind) {
  auto& box = s.f1.Check3.at(static_cast<std::size_t>(kind));
  box.value = box.value == 1 ? 0 : 1;
  Check3_MouseUp(s, host, kind);
}

void TestApp::tick_category(const std::string& caption) {
  for (auto& b : s.f1.Check1)
    if (b.caption == caption) b.value = 1;
}

void TestApp::check() {
  command2_Click(s, host);
}

std::vector<std::string> TestApp::rows() const {
  std::vector<std::string> out;
  auto k = static_cast<std::size_t>(s.selected_kind);
  const auto& r = s.results;
  for (int i = 0; i < s.result_count; ++i) {
    auto row = static_cast<std::size_t>(i);
    out.push_back(std::string(r.rule_line[k][row]) + " " + std::to_string(r.res_from[k][row]) +
                  " " + std::to_string(r.res_to[k][row]) + " " +
                  (r.rule_continue[k][row] ? "c" : "-") + " " + std::string(r.rule_type[k][row]));
  }
  return out;
}

int TestApp::said(const std::string& part) const {
  return static_cast<int>(
      std::count_if(host.messages.begin(), host.messages.end(),
                    [&](const std::string& m) { return text::contains(m, part); }));
}

Image read_bmp(const std::string& bytes) {
  auto u32 = [&](std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(bytes.at(at + i));
    return v;
  };
  Image img;
  if (bytes.size() < 54 || bytes.substr(0, 2) != "BM" || (u32(28) & 0xFFFF) != 24) return img;
  auto offset = u32(10);
  img.width = static_cast<int>(u32(18));
  img.height = static_cast<int>(u32(22));
  std::size_t stride = (static_cast<std::size_t>(img.width) * 3 + 3) / 4 * 4;
  if (bytes.size() < offset + stride * img.height) return {};
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      std::size_t at = offset + stride * (img.height - 1 - y) + 3 * x;
      img.pixels.push_back(rgb(static_cast<unsigned char>(bytes[at + 2]),
                               static_cast<unsigned char>(bytes[at + 1]),
                               static_cast<unsigned char>(bytes[at])));
    }
  return img;
}

}  // namespace zw::test
