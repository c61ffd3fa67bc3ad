#include "levels/categories.h"

#include "base/failure.h"
#include "base/paths.h"
#include "base/text_files.h"
#include "base/text.h"

namespace zw {
namespace {

constexpr int last_box = category_boxes - 1;

const char* const default_lists[3] = {
    "Landuse,Natural,Leisure,Amenity,Tourism,man_made,Waterway,Aeroway,Military,Power,Place,"
    "Historic",
    "Highway,Motorway,Trunk,Primary,Secondary,Tertiary,Unclassified,Residential,Service,Cycleway,"
    "Track,Footway,Path,Waterway,Man_made,Railway,Aeroway,tunnel,Historic,Boundary",
    "Place,Highway,Amenity,Barrier,Tourism,Leisure,Waterway,Historic,Military,Man_made,Aeroway,"
    "Power,Railway,Shop,Sport",
};

// Fills the category boxes from a category file's lines; the categories
// beyond the last box are left out, and returned.
std::vector<std::string> fill_boxes(AppState& s, Host& host,
                                    const std::vector<std::string>& lines) {
  auto& boxes = s.f1.Check1;
  std::vector<std::string> left_out;
  for (const auto& line : lines) {
    if (!text::contains(line, "<tag>")) continue;
    auto list = text::mid(line, 6);
    for (auto& box : boxes) {
      box.caption.clear();
      box.visible = false;
    }
    left_out.clear();
    if (!text::contains(list, "</")) {
      host.message("</tag> missing");
      return left_out;
    }
    boxes[0].caption = "All";
    boxes[0].visible = true;
    int box = 1;
    for (const auto& item : text::split(text::before(list, "</"), ",")) {
      if (item == "all") continue;
      if (box > last_box) {
        left_out.push_back(item);
        continue;
      }
      boxes[static_cast<std::size_t>(box)].caption = item;
      boxes[static_cast<std::size_t>(box)].visible = true;
      ++box;
    }
  }
  return left_out;
}

}  // namespace

std::string default_categories(int kind) {
  std::string name = kind_name(kind);
  return "<mkgmap>" + name + "</mkgmap>\r\n<tag>" + default_lists[kind] + "</tag>";
}

std::string category_file(const AppState& s, int kind) {
  return paths::join(s.system_dir, std::string(kind_name(kind)) + ".res");
}

void savefiles(AppState& s, Host& host, bool rewrite_all) {
  for (int kind : {1, 0, 2}) {
    auto path = category_file(s, kind);
    if (rewrite_all || !host.fs().file_exists(path)) savetext(host, path, default_categories(kind));
  }
}

void loadoptions(AppState& s, Host& host) {
  attempt_quietly([&] {
    if (settings_kept(s) && host.fs().list_files(s.system_dir, "*.res").empty()) {
      host.message("Cannot find option files.");
      return;
    }
    for (auto& box : s.f1.Check3) box.value = 0;
    bounded(s.f1.Check3, s.selected_kind, "Check3").value = 1;
    loadop(s, host, category_file(s, s.selected_kind), kind_name(s.selected_kind));
  });
}

void loadop(AppState& s, Host& host, const std::string& path, const std::string& kind) {
  attempt_quietly([&] {
    std::string content;
    if (!settings_kept(s)) {
      // No category files without a settings folder: the default lists serve.
      for (int k = 0; k < 3; ++k)
        if (kind == kind_name(k)) content = default_categories(k);
    } else if (!host.fs().file_exists(path)) {
      host.message("Cannot locate " + path);
      return;
    } else {
      content = loadtext(host, path);
    }
    content = text::remove_all(content, "\r");
    if (!text::contains(content, kind)) {
      host.message("Not a valid res file.");
      return;
    }
    auto left_out = fill_boxes(s, host, text::split(content, "\n"));
    if (!left_out.empty()) {
      std::string names;
      for (const auto& name : left_out) names += (names.empty() ? "" : ", ") + name;
      host.message(path + " names more categories than the window has boxes (" +
                   text::decimal(last_box) + "); left out: " + names);
    }
  });
}

}  // namespace zw
