#include "app/font_dialog.h"

#include "base/failure.h"
#include "base/numbers.h"
#include "base/text.h"

namespace zw {
namespace {

bool size_allowed(double size) {
  return size >= smallest_font_size && size <= largest_font_size;
}

std::string size_text(double size) {
  return text::trim(num::print_field(size));
}

}  // namespace

namespace font_form {

void Form_Load(AppState& s, Host& host) {
  // Every opening starts from the dialog's design.
  s.fontt = FontDialog{};
  auto& d = s.fontt;
  d.Label1.caption = "highway=primary [0x04 resolution 18]";
  attempt_quietly([&] {
    host.set_busy(true);
    // Vertical fonts ("@" names) are never offered.
    for (const auto& name : host.screen_fonts()) {
      if (name.find('@') != std::string::npos) continue;
      d.Combo1.items.push_back(name);
      host.do_events();
    }
  });
  attempt_quietly([&] {
    for (int size = smallest_font_size; size <= largest_font_size; ++size)
      d.Combo2.items.push_back(text::decimal(size));
  });
  // The stored size is corrected even when the dialog is then closed by its frame.
  if (!size_allowed(s.chart_font_size)) s.chart_font_size = fallback_font_size;
  d.Combo2.text = size_text(s.chart_font_size);
  host.set_busy(false);
  if (s.chart_font_name.empty()) s.chart_font_name = fallback_font_name;
  d.Combo1.text = s.chart_font_name;
  d.preview_font = s.chart_font_name;
  d.preview_size = s.chart_font_size;
}

void Combo1_Click(AppState& s) {
  s.fontt.preview_font = s.fontt.Combo1.text;
}

void Combo2_Click(AppState& s) {
  double size = num::val(s.fontt.Combo2.text);
  if (size > 0) s.fontt.preview_size = size;
}

void Command1_Click(AppState& s) {
  auto& d = s.fontt;
  const float previous = s.chart_font_size;
  attempt_quietly([&] {
    if (!text::trim(d.Combo1.text).empty()) s.chart_font_name = d.Combo1.text;
  });
  attempt_quietly([&] {
    if (!text::trim(d.Combo2.text).empty())
      s.chart_font_size = static_cast<float>(num::to_whole(d.Combo2.text, -32768, 32767));
  });
  if (!size_allowed(s.chart_font_size)) s.chart_font_size = previous;
  d.closing = true;
}

}  // namespace font_form
}  // namespace zw
