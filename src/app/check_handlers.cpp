#include "app/check_handlers.h"

#include <algorithm>

#include "analysis/analysis.h"
#include "app/data_trace.h"
#include "app/follow_files.h"
#include "base/failure.h"
#include "base/text.h"
#include "chart/chart.h"
#include "levels/categories.h"
#include "model/caption_and_canvas.h"
#include "typ/typ_reader.h"

namespace zw {
namespace {

bool any_ticked(const auto& boxes) {
  for (const auto& b : boxes)
    if (b.value == 1) return true;
  return false;
}

}  // namespace

void command2_Click(AppState& s, Host& host) {
  auto& f = s.f1;
  if (f.Combo2.items.empty()) {
    host.message("Please select style.\r\nClick >> button");
    return;
  }
  attempt_quietly([&] { f.p1.draw().clear(f.p1.back); });
  f.p1.top = 0;
  if (!s.scale_run)
    for (int r = 1; r <= 24; ++r) f.Label3[static_cast<std::size_t>(r)].back = f.p3.back;
  bool category = any_ticked(f.Check1);
  bool kind = any_ticked(f.Check3);
  f.Text3.text.clear();
  s.selected_res = -1;
  if (category && !kind) {
    // Without a kind there is no rule file to read.
    host.message("Tick Lines,Polygons or Points");
    return;
  }
  if (!category) {
    if (f.Text2.text.empty()) s.scale_run = false;
    f.label1.caption = text::decimal(0);
    if (!kind && !f.Text2.text.empty()) {
      host.message("Tick Lines,Polygons or Points");
      return;
    }
    if (kind && text::trim(f.Text2.text).empty()) {
      f.Text2.wants_focus = true;
      host.message("Please select or enter text");
      return;
    }
    if (!kind) {
      host.message("Please select");
      return;
    }
  }
  auto name = f.Combo2.text;
  host.set_busy(true);
  auto path = style_directory(s, name);
  if (!has_files(host, path)) {
    host.message("Cannot find file " + path);
    host.set_busy(false);
    return;
  }
  s.style_name = name;
  f.label1.caption = text::decimal(0);
  forget_included_files(s, s.selected_kind);
  parse(s, host, path);
  // The rules may have changed since the data was last run over them.
  if (!s.data_file.empty()) {
    s.data = DataCounts();
    refresh_data_counts(s, host);
  }
  host.set_busy(false);
  s.scale_run = false;
  attempt_quietly([&] { resize_chart(s, host); });
  f.Text2.enabled = f.Check4.value == 1;
  host.set_busy(false);
  follow_chart(s, host);
}

void forget_included_files(AppState& s, int kind) {
  auto& inc = s.includes;
  auto digit = std::to_string(kind);
  // The other kinds' files keep their order, and so the letters of their rows.
  int kept = -1;
  for (int k = 0; k <= inc.extra_count && k < include_entries; ++k) {
    auto at = static_cast<std::size_t>(k);
    if (text::starts_with(inc.extra_files[at], digit)) continue;
    auto to = static_cast<std::size_t>(++kept);
    if (to == at) continue;
    inc.extra_files[to] = std::move(inc.extra_files[at]);
    inc.extra_texts[to] = std::move(inc.extra_texts[at]);
  }
  for (auto k = static_cast<std::size_t>(kept + 1); k < include_entries; ++k) {
    inc.extra_files[k].clear();
    inc.extra_texts[k].clear();
  }
  inc.extra_count = kept;
  std::erase(inc.extra_done, digit[0]);
  s.f1.Label6.caption = text::decimal(std::max(kept, 0));
}

bool category_ticked(const AppState& s) {
  return any_ticked(s.f1.Check1);
}

void chk_plot(AppState& s, Host& host) {
  for (const auto& box : s.f1.Check1)
    if (box.value == 1) {
      attempt_quietly([&] { command2_Click(s, host); });
      return;
    }
}

void Check3_MouseUp(AppState& s, Host& host, int index) {
  attempt_quietly([&] {
    auto& boxes = s.f1.Check3;
    auto& clicked = bounded(boxes, index, "Check3");
    // A click on another kind selects it (its box ticked by the click); the
    // charted kind stays ticked. Either way exactly one kind is ticked.
    int noted = index != s.selected_kind ? clicked.value : 0;
    for (auto& b : boxes) b.value = 0;
    clicked.value = 1;
    // The chart of another kind goes: its rows are not of this kind's file.
    if (index != s.selected_kind) clear_chart(s, host);
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
