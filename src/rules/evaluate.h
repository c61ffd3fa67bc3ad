#pragma once
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "rules/element.h"
#include "rules/rule_set.h"

// Running a style's rules over one element as mkgmap does.
namespace zw::rules {

// A regular expression that needed more work than a match may take.
struct RegexTooCostly : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The value a test compares: the tag's, or the function's; nullopt when the
// tag is absent or the function has no value for this element.
std::optional<std::string> tested_value(const Expr& e, const Element& el);
// Whether the test holds. Throws RegexTooCostly.
bool holds(const Expr& e, const Element& el);
// The text with its substitutions made; nullopt when a tag it names is
// missing. ${tag} reads `outer` when given (the relation, inside apply), $(tag)
// always reads el.
std::optional<std::string> expand(const Template& t, const Element& el,
                                  const Element* outer = nullptr);

// Where apply sends its actions: the members of the relation.
class ApplyTarget {
 public:
  virtual ~ApplyTarget() = default;
  virtual void apply(const Action& apply, const Element& relation) = 0;
};

// Performs the actions on el; `outer` is the relation inside apply. Tag
// changes are appended to `changes` as "+key=value", "-key" when given.
void perform(const std::vector<Action>& actions, Element& el, const Element* outer,
             ApplyTarget* target, std::vector<std::string>* changes);

// What one element went through.
struct Run {
  bool explain = false;             // record every rule tested, with its result
  std::vector<const Rule*> caught;  // every rule whose test held, finalize rules too
  std::vector<std::pair<const Rule*, const TypeDef*>> types;  // the types it became
  // The explanation, when explain: per rule tested, its place, its result and
  // the tags its actions changed.
  std::vector<std::vector<std::string>> lines;
};

// Runs the rules of the kinds in order as one list (closed ways: lines, then
// polygons), each typed match followed by its file's finalize section.
void run_rules(const Style& style, const std::vector<int>& kinds, Element& el, ApplyTarget* target,
               Run& run);

}  // namespace zw::rules
