#include "app/settings.h"

#include <cmath>

#include "base/failure.h"
#include "app/main_window.h"
#include "base/numbers.h"
#include "base/paths.h"
#include "base/text.h"
#include "base/text_files.h"
#include "app/data_trace.h"
#include "typ/typ_reader.h"

namespace zw {
namespace {

constexpr const char* crlf = "\r\n";

std::string settings_path(const AppState& s) {
  return paths::join(s.app_dir, "levels.dat");
}

void text_line(std::string& out, const std::string& field) {
  out += field + crlf;
}
void number_line(std::string& out, double value) {
  out += num::print_field(value) + crlf;
}

}  // namespace

bool FieldReader::next(std::string& out) {
  if (failed_) return false;
  while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
  if (pos_ >= text_.size()) {
    failed_ = true;  // past the end of the file
    return false;
  }
  auto end_of_line = [&](std::size_t p) {
    return p >= text_.size() || text_[p] == '\r' || text_[p] == '\n';
  };
  // Moves past the comma or the line end that ends a field.
  auto finish = [&](std::size_t p) {
    while (!end_of_line(p) && text_[p] != ',') ++p;
    if (p < text_.size() && text_[p] == ',') {
      pos_ = p + 1;
      return;
    }
    if (p < text_.size() && text_[p] == '\r') ++p;
    if (p < text_.size() && text_[p] == '\n') ++p;
    pos_ = p;
  };
  // No setting is longer than the longest path a system takes; a longer
  // field is damage, and a huge style name would hold the window up.
  auto take = [&](std::size_t from, std::size_t length) {
    if (length > max_field_chars) {
      failed_ = true;
      return false;
    }
    out = text_.substr(from, length);
    return true;
  };
  if (text_[pos_] == '"') {
    auto close = text_.find('"', pos_ + 1);
    if (close == std::string::npos) close = text_.size();
    if (!take(pos_ + 1, close - pos_ - 1)) return false;
    finish(close + 1 > text_.size() ? text_.size() : close + 1);
    return true;
  }
  std::size_t p = pos_;
  while (!end_of_line(p) && text_[p] != ',') ++p;
  if (!take(pos_, p - pos_)) return false;
  finish(p);
  return true;
}

bool FieldReader::text_field(std::string& out) {
  return next(out);
}

bool FieldReader::number_field(double& out) {
  std::string field;
  if (!next(field)) return false;
  try {
    // A number field must hold a number; a text there ends the reading.
    num::to_whole(field, -2147483648LL, 2147483647LL);
    out = num::val(field);
    return true;
  } catch (const RunError&) {
    failed_ = true;
    return false;
  }
}

bool FieldReader::whole_field(long long& out, long long lo, long long hi) {
  std::string field;
  if (!next(field)) return false;
  try {
    out = num::to_whole(field, lo, hi);
    return true;
  } catch (const RunError&) {
    failed_ = true;
    return false;
  }
}

void savedata(AppState& s, Host& host) {
  const auto& f = s.f1;
  std::string out;
  text_line(out, "cvrs");
  text_line(out, s.style_name);
  text_line(out, s.style_root);
  text_line(out, s.chart_font_name);
  number_line(out, s.chart_font_size);
  text_line(out, s.typ_file);
  number_line(out, f.inc.value);
  number_line(out, s.selected_kind);
  for (const auto& box : f.Check1) number_line(out, box.value);
  // Last, so that the files of earlier versions read as before; quoted when a
  // comma would cut it.
  bool cut = text::contains(s.data_file, ",") && !text::contains(s.data_file, "\"");
  text_line(out, cut ? "\"" + s.data_file + "\"" : s.data_file);
  std::string error;
  host.fs().write(settings_path(s), out, error);  // a read-only folder keeps the old file
}

void loaddata(AppState& s, Host& host) {
  auto path = settings_path(s);
  if (!host.fs().file_exists(path)) return;
  std::string error;
  auto content = host.fs().read(path, error);
  FieldReader in(content.value_or(""));
  if (!content) return;
  std::string marker, name, root, font, typ;
  double size = 0;
  long long value = 0;
  in.text_field(marker);
  if (in.text_field(name)) s.style_name = name;
  if (in.text_field(root)) s.style_root = root;
  if (in.text_field(font)) s.chart_font_name = font;
  if (in.number_field(size)) s.chart_font_size = static_cast<float>(size);
  if (in.text_field(typ)) s.typ_file = typ;
  if (in.whole_field(value, 0, 1)) s.f1.inc.value = static_cast<int>(value);
  // A kind outside the three would leave no rule file to read.
  if (in.whole_field(value, 0, 2)) s.selected_kind = static_cast<std::int16_t>(value);
  for (auto& box : s.f1.Check1)
    if (in.whole_field(value, 0, 1)) box.value = static_cast<int>(value);
  std::string data;
  if (in.text_field(data)) s.data_file = data;

  if (!s.style_name.empty()) s.f1.Combo2.text = s.style_name;
  attempt_quietly([&] { get_styles(s, host); });
  attempt_quietly([&] {
    if (!s.typ_file.empty() && host.fs().file_exists(s.typ_file)) loadtyp(s, host, s.typ_file);
  });
  attempt_quietly([&] { refresh_data_counts(s, host); });
}

void savefnts(AppState& s, Host& host, const std::string& path) {
  const auto& names = s.f1.Combo1.items;
  std::string out;
  number_line(out, static_cast<double>(names.size()));
  number_line(out, static_cast<double>(names.size()));
  for (const auto& n : names) text_line(out, n);
  std::string error;
  host.fs().write(path, out, error);
}

void ldfnts(AppState& s, Host& host, const std::string& path) {
  auto& combo = s.f1.Combo1;
  combo.items.clear();
  std::string error;
  auto content = host.fs().read(path, error);
  if (!content) return;
  FieldReader in(*content);
  long long count = 0;
  in.whole_field(count, 0, 32767);
  in.whole_field(count, 0, 32767);
  for (long long i = 0; i < count; ++i) {
    std::string name;
    if (!in.text_field(name)) break;
    combo.items.push_back(name);
    host.do_events();
  }
}

}  // namespace zw
