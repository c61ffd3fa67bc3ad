// The batch program's drawing surfaces on Linux: Qt's, from the drawing module,
// loaded by the first command that draws. Commands that draw nothing start
// without Qt and the libraries under it.
#include <dlfcn.h>
#include <unistd.h>

#include <string>

#include "base/failure.h"
#include "platform/raster.h"

namespace zw::raster {
namespace {

std::string program_folder() {
  std::string path(4096, '\0');
  auto n = ::readlink("/proc/self/exe", path.data(), path.size());
  if (n <= 0 || static_cast<std::size_t>(n) >= path.size()) return ".";
  path.resize(static_cast<std::size_t>(n));
  auto slash = path.rfind('/');
  return slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
}

const Module& module() {
  static const Module* loaded = nullptr;
  if (loaded) return *loaded;
  // Beside the program as built, or in the package's library folder as installed.
  auto dir = program_folder();
  std::string tried;
  for (const auto& path : {dir + "/" + module_file, dir + "/../lib/zoomwright/" + module_file}) {
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
      const char* why = ::dlerror();
      tried += "\n  " + (why ? std::string(why) : path);
      continue;
    }
    using Entry = const Module* (*)();
    auto entry = reinterpret_cast<Entry>(::dlsym(handle, module_entry));
    if (entry && (loaded = entry())) return *loaded;
    tried += "\n  " + path + ": not a drawing module";
  }
  fail("cannot load the drawing module " + std::string(module_file) + ":" + tried);
}

}  // namespace

void prepare() {
  module().prepare();
}

std::unique_ptr<Surface> make_surface(double twips_per_pixel) {
  return std::unique_ptr<Surface>(module().make_surface(twips_per_pixel));
}

}  // namespace zw::raster
