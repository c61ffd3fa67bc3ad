// zoomwright-cli.exe end to end: the same runs as the host's zoomwright-cli
// (kept by host_reference.sh) print the same rows and draw the chart's bars
// on the same pixels.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/std_file_system.h"
#include "base/text.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_api.h"
#include "support/test_app.h"
#include "win32/modal_driver.h"

namespace zw {
namespace {

namespace fs = std::filesystem;

std::string slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// An argument as the C runtime splits the command line again.
std::wstring quoted(const std::wstring& arg) {
  std::wstring q = L"\"";
  int slashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++slashes;
      continue;
    }
    q.append(static_cast<std::size_t>(c == L'"' ? 2 * slashes + 1 : slashes), L'\\');
    slashes = 0;
    q += c;
  }
  q.append(static_cast<std::size_t>(2 * slashes), L'\\');
  return q + L"\"";
}

struct CliRun {
  int status = -1;
  std::string out, err;
};

CliRun run_cli(const std::vector<std::string>& args, const test::TempDir& dir) {
  std::wstring line = quoted(L"" ZW_CLI_NAME);
  for (const auto& a : args) line += L" " + quoted(win32::shown(a));
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  auto file = [&](const char* name) {
    return CreateFileW(win32::shown(dir.at(name)).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  };
  HANDLE out = file("out"), err = file("err");
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  si.hStdOutput = out;
  si.hStdError = err;
  PROCESS_INFORMATION pi{};
  CliRun r;
  if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
    WaitForSingleObject(pi.hProcess, 120000);
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    r.status = static_cast<int>(code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
  CloseHandle(out);
  CloseHandle(err);
  r.out = dir.read("out");
  r.err = dir.read("err");
  return r;
}

// Bars are drawn in colours that no text has; where a text crosses a bar the
// two systems' fonts cover different pixels of it.
bool bar(Colour c) {
  return c == colours::dark_red || c == rgb(0, 128, 0) || c == rgb(0, 255, 0) ||
         c == rgb(120, 120, 140);
}
bool text_over(Colour c) {
  return !bar(c) && c != colours::white;
}

// The bar pixels of `a` that `b` has neither as bar nor under a text.
int bars_missing(const Image& a, const Image& b, int& bars) {
  int missing = 0;
  bars = 0;
  for (std::size_t i = 0; i < a.pixels.size() && i < b.pixels.size(); ++i) {
    if (!bar(a.pixels[i])) continue;
    ++bars;
    if (!bar(b.pixels[i]) && !text_over(b.pixels[i])) ++missing;
  }
  return missing;
}

TEST(WindowsCli, PrintsWhatTheHostCliPrintsAndDrawsItsBarsWhereItDoes) {
  const fs::path reference(ZW_HOST_REFERENCE);
  std::vector<fs::path> runs;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(reference, ec))
    if (e.path().extension() == ".args") runs.push_back(e.path());
  ASSERT_GE(runs.size(), 5u) << "no reference runs of the host's zoomwright-cli in " << reference;

  const std::string source = ZW_SOURCE_DIR;
  for (const auto& args_file : runs) {
    auto name = args_file.stem().string();
    test::TempDir dir;
    std::vector<std::string> args;
    // Windows paths, with backslashes, as a Windows user gives them.
    for (auto a : text::split(slurp(args_file), "\n")) {
      if (a.empty()) continue;
      if (a == "@STYLE@") a = test::windows_path(source + "/examples/styles/example");
      if (a == "@TYP@") a = test::windows_path(source + "/examples/typ/example.txt");
      if (a == "@OUT@") a = dir.at("chart.bmp");
      args.push_back(a);
    }
    args.insert(args.end(), {"--system-dir", dir.at("system")});
    CliRun r = run_cli(args, dir);
    auto path_of = [&](const char* ext) { return reference / (name + ext); };
    EXPECT_EQ(r.status, std::stoi(slurp(path_of(".status")))) << name << "\n" << r.err;
    EXPECT_EQ(r.out, slurp(path_of(".out"))) << name;
    EXPECT_EQ(r.err, slurp(path_of(".err"))) << name;

    if (!fs::exists(path_of(".bmp"))) continue;
    Image host = test::read_bmp(slurp(path_of(".bmp"))),
          windows = test::read_bmp(dir.read("chart.bmp"));
    ASSERT_FALSE(host.pixels.empty() || windows.pixels.empty()) << name;
    EXPECT_TRUE(host.width == windows.width && host.height == windows.height) << name;
    int host_bars = 0, windows_bars = 0;
    EXPECT_EQ(bars_missing(host, windows, host_bars), 0) << name;
    EXPECT_EQ(bars_missing(windows, host, windows_bars), 0) << name;
    EXPECT_GT(host_bars, 100) << name;
  }
}

}  // namespace
}  // namespace zw
