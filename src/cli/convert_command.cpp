#include "app/state.h"
#include "cli/commands.h"
#include "convert/convert_dialog.h"
#include "convert/convert_style.h"

namespace zw::cli {

int run_convert(const std::vector<std::string>& words, Io& io) {
  auto args = parse_args(words, common_options());
  if (args.positional.size() != 2) throw UsageError("give the style directory and the new style's name");
  // The name as the dialog's text box takes it: the keys it drops are dropped.
  auto name = convert_form::typed(args.positional[1]);
  if (name.empty()) throw UsageError("the new style's name has no character the dialog keeps");

  Session session(io.err, io.app_dir);
  start_session(session, args);
  auto& s = session.state;
  auto& host = session.host;
  session.select_style(args.positional[0]);

  // The dialog as a person fills it in: the name typed, "OK", and Yes to its
  // question. Only the question about an existing target follows --yes.
  s.new_style_name.clear();
  convert_form::Form_Load(s, host);
  s.convert.Text1.text = name;
  host.answers.push_front(Answer::yes);
  convert_form::command1_Click(s, host, 1);
  if (s.new_style_name.empty()) return 1;
  return convert_style(s, host) ? 0 : 1;
}

}  // namespace zw::cli
