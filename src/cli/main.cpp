#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "base/std_file_system.h"
#include "cli/commands.h"

#ifdef __linux__
#include <malloc.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <unistd.h>
#endif

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_api.h"
#include <shellapi.h>
#endif

namespace {

// The directory that holds the program file.
std::string program_dir(const char* argv0) {
  namespace fs = std::filesystem;
  std::error_code ec;
#ifdef _WIN32
  std::wstring buffer(32768, L'\0');
  DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
  if (n > 0 && n < buffer.size())
    return zw::from_fs_path(fs::path(buffer.substr(0, n)).parent_path());
#else
  auto self = fs::read_symlink("/proc/self/exe", ec);
  if (!ec) return zw::from_fs_path(self.parent_path());
#endif
  auto p = fs::absolute(zw::to_fs_path(argv0 ? argv0 : "."), ec);
  return zw::from_fs_path(p.parent_path());
}

// The arguments as UTF-8: on Windows from the wide command line, so that
// names outside the ANSI code page arrive whole.
std::vector<std::string> arguments(int argc, char** argv) {
#ifdef _WIN32
  int n = 0;
  if (LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &n)) {
    std::vector<std::string> args;
    for (int i = 0; i < n; ++i) args.push_back(zw::win32::utf8(wide[i]));
    LocalFree(wide);
    return args;
  }
#endif
  return std::vector<std::string>(argv, argv + argc);
}

// A big style's analysis is a few hundred thousand small strings and tables
// of tens of megabytes: taken from one heap laid out in huge pages, they cost
// a fraction of the page faults (a third less time for 200,000 rules).
void heap_in_huge_pages() {
#ifdef __linux__
  constexpr std::size_t reserve = std::size_t{256} << 20, huge = std::size_t{2} << 20;
  // Under a limit of memory the heap grows as usual: each growth by the
  // reserve could fail where the memory asked for fits.
  for (int limit : {RLIMIT_AS, RLIMIT_DATA}) {
    rlimit r{};
    if (getrlimit(limit, &r) == 0 && r.rlim_cur != RLIM_INFINITY && r.rlim_cur < 4 * reserve)
      return;
  }
  // Blocks up to 32 MB come from the heap, which grows by the reserve (address
  // space only, until touched) and keeps what is freed.
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TOP_PAD, static_cast<int>(reserve));
  mallopt(M_TRIM_THRESHOLD, static_cast<int>(reserve));
  // The threads that decode OSM data take from the same heap, not from heaps
  // of their own in small pages (a third less time for the trace of Monaco).
  mallopt(M_ARENA_MAX, 1);
  // One block from the heap's free top up to the first 2 MB boundary above
  // it, never touched and never freed: the heap grows past it by the reserve,
  // and all the program keeps lies in huge pages from the boundary on. (Bytes
  // below the boundary cannot be a huge page, and a 2 MB page touched before
  // the advice below stays in small pages, whose faults cost as much as a
  // tenth of the analysis of a big style.)
  auto before = reinterpret_cast<std::uintptr_t>(sbrk(0));
  auto top = before - mallinfo2().keepcost;
  auto from = (before + huge) & ~(huge - 1);
  if (from - top > 4096) {
    static void* volatile set_aside = std::malloc(from - top - 64);
    (void)set_aside;
  }
  auto after = reinterpret_cast<std::uintptr_t>(sbrk(0));
  if (after > from) madvise(reinterpret_cast<void*>(from), after - from, MADV_HUGEPAGE);
#endif
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  // The same bytes as on every other system: records end in LF alone.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
#endif
  heap_in_huge_pages();
  auto args = arguments(argc, argv);
  zw::cli::Io io{std::cout, std::cerr, program_dir(argc > 0 ? argv[0] : nullptr)};
  return zw::cli::run(args, io);
}
