// A rule file parsed as mkgmap's rule language, then run over a way and a
// relation whose tags its own words make up.
#include "fuzz_app.h"
#include "rules/evaluate.h"
#include "rules/rule_set.h"

using namespace zw;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string text = fuzz::bytes(data, size);
  rules::Style style;
  std::string error;
  if (!rules::parse_rules(text, "lines", rules::lines, fuzz::FuzzApp::dir().path(), style, error))
    return 0;
  rules::Element way;
  way.kind = rules::ElementKind::way;
  way.id = 1;
  way.length = 10;
  way.tags.set("highway", "primary");
  way.tags.set("name", text.substr(0, 40));
  for (const auto& r : style.rules[rules::lines])
    if (r.expr && r.expr->op != rules::Expr::Op::always && !r.expr->key.empty())
      way.tags.set(r.expr->key, r.expr->value);
  rules::Run run;
  run.explain = true;
  try {
    rules::run_rules(style, {rules::lines}, way, nullptr, run);
  } catch (const rules::RegexTooCostly&) {
  }
  return 0;
}
