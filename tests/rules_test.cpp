// The rule language as mkgmap runs it: tests, actions, continue, finalize.

#include <gtest/gtest.h>

#include "rules/evaluate.h"
#include "rules/rule_set.h"

namespace zw::rules {
namespace {

Element way(std::initializer_list<std::pair<const char*, const char*>> tags) {
  Element el;
  el.kind = ElementKind::way;
  el.id = 7;
  el.length = 120;
  for (const auto& [k, v] : tags) el.tags.set(k, v);
  return el;
}

Style parsed(const std::string& text, int kind = lines) {
  Style style;
  std::string error;
  EXPECT_TRUE(parse_rules(text, kind_name(kind), kind, ".", style, error)) << error;
  return style;
}

// The lines of the rules an element's run caught, in order.
std::string caught(const std::string& text, Element el) {
  auto style = parsed(text);
  Run run;
  run_rules(style, {lines}, el, nullptr, run);
  std::string out;
  for (const Rule* r : run.caught) out += (out.empty() ? "" : " ") + std::to_string(r->line);
  return out;
}

TEST(RuleTests, MatchAsMkgmapDoes) {
  struct Case {
    const char* rule;
    bool holds;
  };
  const Case cases[] = {
      {"highway=primary [0x1]", true},
      {"highway!=primary [0x1]", false},
      {"bridge!=yes [0x1]", true},  // != holds for a missing tag
      {"highway=* & bridge!=* [0x1]", true},
      {"lanes>2 [0x1]", true},
      {"lanes>=3 [0x1]", true},
      {"lanes<3 [0x1]", false},
      {"width<5 [0x1]", false},          // "4 m" has a unit, 5 has none
      {"maxspeed<60 [0x1]", false},      // "50 mph" is not a number
      {"maxspeedkmh()>70 [0x1]", true},  // 50 mph is 80 km/h
      {"name~'.*[Ll]ane' [0x1]", true},
      {"name~'Lane' [0x1]", false},  // a whole-value match, as Java's matches()
      {"ref~'(?i)a[0-9]+' [0x1]", true},
      {"!(highway=primary) [0x1]", false},
      {"(highway=trunk | lanes=3) & name=* [0x1]", true},
      {"name=$alt_name [0x1]", true},
      {"name=${ref} [0x1]", false},
      {"length()>100 & is_closed()=false [0x1]", true},
      {"type()=way & osmid()=7 [0x1]", true},
  };
  const auto el = way({{"highway", "primary"},
                       {"lanes", "3"},
                       {"width", "4 m"},
                       {"maxspeed", "50 mph"},
                       {"name", "Dorset Lane"},
                       {"alt_name", "Dorset Lane"},
                       {"ref", "A12"}});
  for (const auto& c : cases) {
    if (!regex_available() && std::string(c.rule).find('~') != std::string::npos) continue;
    EXPECT_EQ(caught(c.rule, el) == "1", c.holds) << c.rule;
  }
}

TEST(RuleTests, ActionsAndTheOrderOfRules) {
  struct Case {
    const char* rules;
    const char* caught;
  };
  const Case cases[] = {
      // Action blocks run and go on; a type stops the search.
      {"highway=path {set highway=footway}\nhighway=footway [0x16]\nhighway=* [0x1]", "1 2"},
      // continue goes on, but its actions stay within the rule ...
      {"highway=path {set bridge=yes} [0x1 continue]\nbridge=yes [0x2]\nhighway=* [0x3]", "1 3"},
      // ... unless with_actions.
      {"highway=path {set bridge=yes} [0x1 continue with_actions]\nbridge=yes [0x2]", "1 2"},
      {"highway=path {add highway=road; add x=1}\nhighway=path & x=1 [0x1]", "1 2"},
      {"highway=path {delete highway}\nhighway=* [0x1]", "1"},
      {"highway=path {rename highway way}\nway=path [0x1]", "1 2"},
      {"highway=path {deletealltags}\nhighway=* [0x1]", "1"},
      {"highway=path {name '${ref}' | 'none'}\nmkgmap:label:1=none [0x1]", "1 2"},
      {"highway=path {set a='${name}'}\na=* [0x1]", "1"},  // a missing tag leaves it unset
      {"highway=path {set a='${name|def:x}'}\na=x [0x1]", "1 2"},
      {"highway=path {setaccess no}\nmkgmap:car=no & mkgmap:foot=no [0x1]", "1 2"},
      {"if (highway=path) then\n() {set a=1}\na=1 [0x1]\nelse\n() [0x2]\nend", "2 3"},
      {"highway=path [0x1 continue]\n<finalize>\nhighway=* {set a=1}\na=* {set b=1}", "1 3 4"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(caught(c.rules, way({{"highway", "path"}})), c.caught) << c.rules;
}

TEST(RuleTests, UnreadableRulesNameTheirLine) {
  const char* const bad[] = {
      "highway=primary\n[0x1",
      "highway= [0x1]",
      "highway=primary\n\n{set a=1",
      "highway=primary",
      "highway=primary [0x1]\nname~'(' [0x2]",
      "if (a=b) then\na=c [0x1]",
  };
  for (const char* text : bad) {
    if (!regex_available() && std::string(text).find('~') != std::string::npos) continue;
    Style style;
    std::string error;
    EXPECT_FALSE(parse_rules(text, "lines", lines, "style", style, error)) << text;
    EXPECT_NE(error.find("lines:"), std::string::npos) << error;
  }
}

TEST(RuleTests, WhatCannotBeRunIsNotEvaluated) {
  auto style = parsed(
      "is_in(landuse,residential,any)=true [0x1]\nhighway=* {frobnicate x} [0x2]\n"
      "highway=* {set a='${name|frob:1}'}\nhighway=* [0x3]");
  const auto& r = style.rules[lines];
  ASSERT_EQ(r.size(), 4u);
  for (std::size_t i = 0; i < r.size(); ++i) EXPECT_EQ(r[i].not_evaluated.empty(), i == 3) << i;
  EXPECT_EQ(caught("is_in(a,b,c)=true [0x1]\nhighway=* [0x3]", way({{"highway", "x"}})), "2");
}

TEST(RuleTests, CostlyRegularExpressionsStop) {
  if (!regex_available()) GTEST_SKIP() << "this build has no regular expressions";
  auto style = parsed("name~'(a+)+' [0x1]");
  auto el = way({{"name", (std::string(40, 'a') + "!").c_str()}});
  rules::Run run;
  EXPECT_THROW(run_rules(style, {lines}, el, nullptr, run), RegexTooCostly);
}

}  // namespace
}  // namespace zw::rules
