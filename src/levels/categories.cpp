#include "levels/categories.h"

#include "analysis/analysis.h"
#include "base/failure.h"
#include "base/paths.h"
#include "app/program_folders.h"
#include "base/text_files.h"
#include "model/window_text.h"
#include "base/text.h"
#include "typ/typ_reader.h"

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

void fill_boxes(AppState& s, Host& host, const std::vector<std::string>& lines) {
  auto& boxes = s.f1.Check1;
  for (const auto& line : lines) {
    if (!text::contains(line, "<tag>")) continue;
    auto list = text::mid(line, 6);
    for (auto& box : boxes) {
      box.caption.clear();
      box.visible = false;
    }
    if (!text::contains(list, "</")) {
      host.message("</tag> missing");
      return;
    }
    boxes[0].caption = "All";
    boxes[0].visible = true;
    int box = 1;
    for (const auto& item : text::split(text::before(list, "</"), ",")) {
      if (item == "all") continue;
      boxes[static_cast<std::size_t>(box)].caption = item;
      boxes[static_cast<std::size_t>(box)].visible = true;
      if (box < last_box) ++box;
    }
  }
}

}  // namespace

std::string default_categories(int kind) {
  std::string name = kind_name(kind);
  return "<mkgmap>" + name + "</mkgmap>\r\n<tag>" + default_lists[kind] + "</tag>";
}

std::string category_file(const AppState& s, int kind) {
  return paths::join(s.system_dir, std::string(kind_name(kind)) + ".res");
}

void savefiles(AppState& s, Host& host, bool aa) {
  for (int kind : {1, 0, 2}) {
    auto path = category_file(s, kind);
    if (aa || !host.fs().file_exists(path)) savetext(host, path, default_categories(kind));
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
    fill_boxes(s, host, text::split(content, "\n"));
  });
}

void Check3_MouseUp(AppState& s, Host& host, int index) {
  attempt_quietly([&] {
    auto& boxes = s.f1.Check3;
    auto& clicked = bounded(boxes, index, "Check3");
    int noted = 0;
    if (index != s.selected_kind) {
      noted = clicked.value;
      for (auto& b : boxes) b.value = 0;
      clicked.value = noted;
    } else {
      clicked.value = 1;
    }
    s.selected_kind = static_cast<std::int16_t>(index);
    s.scale_run = false;
    loadop(s, host, category_file(s, index), kind_name(index));
    if (noted == 1) {
      if (s.f1.Check1[0].value == 0)
        for (auto& b : s.f1.Check1) b.value = 0;
      cap(s);
    }
  });
}

void Check1_MouseUp(AppState& s, Host&, int index) {
  attempt_quietly([&] {
    auto& boxes = s.f1.Check1;
    bool all = text::lower(bounded(boxes, index, "Check1").caption) == "all";
    for (auto& b : boxes)
      if ((text::lower(b.caption) == "all") != all) b.value = 0;
    cap(s);
  });
}

void Check4_MouseUp(AppState& s, Host&) {
  auto& f = s.f1;
  f.Text2.enabled = f.Check4.value == 1;
  if (f.Text2.enabled) {
    f.Text2.wants_focus = true;
    f.Text2.back = colours::white;
  } else {
    f.Text2.back = rgb(245, 245, 245);
  }
}

void Check2_MouseUp(AppState& s, Host& host) {
  attempt_quietly([&] {
    if (!s.typ_file.empty() && s.f1.Check2.value == 0) loadtyp(s, host, s.typ_file);
  });
  attempt_quietly([&] {
    if (s.f1.label1.caption != "0" && s.selected_res < 0) command2_Click(s, host);
  });
}

}  // namespace zw
