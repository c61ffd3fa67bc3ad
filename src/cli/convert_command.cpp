#include <ostream>

#include "base/paths.h"
#include "model/state.h"
#include "cli/commands.h"
#include "app/convert_dialog.h"
#include "convert/convert_style.h"

namespace zw::cli {
namespace {

// Whether the copy draws what the source drew: both analysed in sessions of
// their own, whose messages are not this command's.
void check_copy(Io& io, const Args& args, const std::string& original, const std::string& copy,
                HeadlessHost& host) {
  std::ostream quiet(nullptr);
  Session source(quiet, io.app_dir), converted(quiet, io.app_dir);
  start_session(source, args);
  start_session(converted, args);
  StyleRules before, after;
  const std::vector<int> kinds{0, 1, 2};
  if (!open_session(source, original) || !open_session(converted, copy) ||
      !analyse_kinds(source.state, source.host, kinds, true, before) ||
      !analyse_kinds(converted.state, converted.host, kinds, true, after)) {
    host.message("The new style " + copy + " cannot be analysed.");
    return;
  }
  host.message(levels_kept_summary(total_counts(compare_styles(before, after))));
}

// A style named by "." or ".." is the folder that it leads to, whose parent
// holds the new style: beside the source, never inside it.
std::string style_folder(FileSystem& fs, const std::string& dir) {
  auto path = paths::to_host(dir);
  while (path.size() > 1 && path.back() == paths::separator) path.pop_back();
  auto last = paths::part(path, 1);
  if (last != "." && last != "..") return dir;
  auto real = fs.real_path(path);
  return real.empty() ? dir : real;
}

}  // namespace

int run_convert(const std::vector<std::string>& words, Io& io) {
  auto args = parse_args(words, common_options());
  if (args.positional.size() != 2)
    throw UsageError("give the style directory and the new style's name");
  // The name as the dialog's text box takes it: the keys it drops are dropped.
  auto name = convert_form::typed(args.positional[1]);
  if (name.empty()) throw UsageError("the new style's name has no character the dialog keeps");

  Session session(io.err, io.app_dir);
  start_session(session, args);
  auto& s = session.state;
  auto& host = session.host;
  auto style_dir = style_folder(host.fs(), args.positional[0]);
  session.select_style(style_dir);

  // The dialog as a person fills it in: the name typed, "OK", and Yes to its
  // question. Only the question about an existing target follows --yes.
  s.new_style_name.clear();
  convert_form::Form_Load(s, host);
  s.convert.Text1.text = name;
  host.answers.push_front(Answer::yes);
  convert_form::command1_Click(s, host, 1);
  if (s.new_style_name.empty()) return 1;
  // An incomplete copy is not compared: its missing files would read as rules
  // that went away.
  if (convert_style(s, host) != Converted::whole) return 1;
  check_copy(io, args, style_dir, paths::join(s.style_root, s.new_style_name), host);
  return 0;
}

}  // namespace zw::cli
