#include "platform/headless/headless_host.h"

#include <array>
#include <bit>
#include <chrono>
#include <cstring>
#include <ctime>
#include <ostream>
#include <utility>

#include "base/text.h"

namespace zw {

char* escape_into(char* to, std::string_view text) {
  // What follows the backslash of each byte written as an escape, 0 for the
  // others (a NUL is escaped too: it would end the line for many readers); a
  // table, as a big style's hundred thousand rows come through here.
  static constexpr auto escape = [] {
    std::array<char, 256> t{};
    for (auto [c, e] : {std::pair{'\\', '\\'}, {'\t', 't'}, {'\r', 'r'}, {'\n', 'n'}, {'\0', '0'}})
      t[static_cast<unsigned char>(c)] = e;
    return t;
  }();
  // Sixteen or eight bytes at a time: the bytes before the first that may
  // need an escape are copied as they are. Every escaped byte is below 0x20
  // but the backslash; the tests flag each such byte (the word test may flag
  // some after the first that need none), and the table then decides.
  auto flagged = [](std::uint64_t w) {
    return text::flags_below(w, 0x20) | text::flags_equal(w, '\\');
  };
  auto clean_in_word = [](std::uint64_t flags) {
    return static_cast<std::size_t>(std::countr_zero(flags)) / 8;
  };
  const char* p = text.data();
  std::size_t n = text.size(), at = 0;
  auto one_byte = [&] {
    char c = p[at++];
    char e = escape[static_cast<unsigned char>(c)];
    if (e) *to++ = '\\';
    *to++ = e ? e : c;
  };
  if (n < 8) {
    // A short field, as line numbers and types are: byte by byte at once.
    while (at < n) one_byte();
    return to;
  }
  if (text::words_read_in_order)
    while (at + 16 <= n) {
      auto b = text::block_at(p + at);
      auto clean = text::clean_bytes((b < 0x20) | (b == '\\'));
      std::memcpy(to, p + at, 16);
      to += clean;
      at += clean;
      if (clean < 16) one_byte();
    }
  while (at < n) {
    if (at + 8 <= n) {
      auto flags = flagged(text::word_at(p + at));
      std::memcpy(to, p + at, 8);
      auto clean = flags == 0 ? 8 : clean_in_word(flags);
      to += clean;
      at += clean;
      if (flags == 0) continue;
    } else if (n >= 8) {
      // The last few bytes, tested as the last eight of the text.
      auto flags = flagged(text::word_at(p + n - 8)) >> (8 * (at - (n - 8)));
      for (auto clean = flags == 0 ? n - at : clean_in_word(flags); clean > 0; --clean)
        *to++ = p[at++];
      if (at == n) break;
    }
    one_byte();
  }
  return to;
}

void append_escaped(std::string& out, std::string_view text) {
  auto held = out.size();
  out.resize(held + 2 * text.size());
  out.resize(static_cast<std::size_t>(escape_into(out.data() + held, text) - out.data()));
}

std::string escape_field(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  append_escaped(out, text);
  return out;
}

Answer HeadlessHost::message(const std::string& text, Buttons buttons) {
  messages.push_back(text);
  if (out_) *out_ << "message: " << escape_field(text) << "\n" << std::flush;
  if (buttons == Buttons::ok) return Answer::ok;
  Answer a = default_answer;
  if (!answers.empty()) {
    a = answers.front();
    answers.pop_front();
  }
  if (buttons != Buttons::yes_no_cancel && a == Answer::cancel) a = Answer::no;
  return a;
}

void HeadlessHost::canvas_text(const std::string& text) {
  canvas_texts.push_back(text);
  if (out_) *out_ << "chart: " << escape_field(text) << "\n" << std::flush;
}

std::string HeadlessHost::file_dialog(bool save, const std::string& initial_dir,
                                      const std::string& default_name) {
  dialog_titles.push_back(save ? "Save File" : "Open File");
  file_dialogs.push_back({save, initial_dir, default_name});
  if (dialog_paths.empty()) return {};
  auto path = dialog_paths.front();
  dialog_paths.pop_front();
  return path;
}

std::string HeadlessHost::choose_folder(const std::string& title) {
  dialog_titles.push_back(title);
  if (dialog_paths.empty()) return {};
  auto path = dialog_paths.front();
  dialog_paths.pop_front();
  return path;
}

bool HeadlessHost::shell_open(const std::string& target) {
  opened.push_back(target);
  return shell_works;
}

bool HeadlessHost::edit_text_file(const std::string& path, int line) {
  opened.push_back(line > 0 ? path + ":" + std::to_string(line) : path);
  return shell_works;
}

namespace {

std::tm local_time(std::time_t t) {
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &t);
#else
  localtime_r(&t, &local);
#endif
  return local;
}

}  // namespace

std::string local_date() {
  std::tm local = local_time(std::time(nullptr));
  char buffer[16];
  if (std::strftime(buffer, sizeof buffer, "%Y-%m-%d", &local) == 0) return "";
  return buffer;
}

double HeadlessHost::timer_seconds() {
  if (fixed_time >= 0) return fixed_time;
  auto now = std::chrono::system_clock::now();
  std::tm local = local_time(std::chrono::system_clock::to_time_t(now));
  auto since_epoch = std::chrono::duration<double>(now.time_since_epoch()).count();
  double fraction = since_epoch - static_cast<double>(static_cast<long long>(since_epoch));
  return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + fraction;
}

}  // namespace zw
