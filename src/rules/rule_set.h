#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "rules/regex.h"

// A style's rules as mkgmap reads them: tests, action blocks and type
// definitions, with included files in place and if/else folded into the tests.
namespace zw::rules {

enum class Function {
  none,
  length,
  is_closed,
  is_complete,
  area_size,
  osmid,
  type,
  maxspeedkmh,
  maxspeedmph
};

struct Expr {
  enum class Op { always, and_, or_, not_, eq, ne, exists, not_exists, lt, le, gt, ge, regex };
  Op op = Op::always;
  std::shared_ptr<const Expr> a, b;  // operands of and, or, not
  std::string key;                   // the tag tested, when fn is none
  Function fn = Function::none;
  std::string value;
  bool value_is_tag = false;  // "name=$name:cy": the value of another tag
  std::shared_ptr<const Regex> re;
};

// A text with substitutions: ${tag|filter:arg...} and, in apply, $(tag) of the member.
struct Template {
  struct Filter {
    std::string name, arg;
  };
  struct Part {
    std::string literal;  // when tag is empty
    std::string tag;
    bool member = false;  // $(tag)
    std::vector<Filter> filters;
  };
  std::vector<Part> parts;
};

struct Action {
  enum class Kind {
    set,
    add,
    remove,
    delete_all,
    rename,
    name,
    addlabel,
    echo,
    echotags,
    apply,
    apply_once,
    setaccess,
    addaccess
  };
  Kind kind = Kind::set;
  std::string key, to;           // the tag of set/add/delete; rename's new name
  std::vector<Template> values;  // alternatives: the first whose tags all exist
  std::string role;              // apply role=...
  bool has_role = false;
  std::vector<Action> body;  // apply's actions
};

struct TypeDef {
  std::string type;
  // As written: resolution a-b or level a-b; -1 when not given.
  int resolution_from = -1, resolution_to = -1;
  int level_from = -1, level_to = -1;
  bool continues = false, with_actions = false;
  std::string default_name;
};

enum Kind { polygons = 0, lines = 1, points = 2, relations = 3, kind_count = 4 };
const char* kind_name(int kind);

struct Rule {
  int kind = 0;      // the file that holds it at the top: polygons, lines ...
  std::string file;  // as its include statement names it: "lines", "inc/roads"
  int line = 0;      // of its first type definition; of its test when it has none
  bool finalize = false;
  std::shared_ptr<const Expr> expr;
  std::vector<Action> actions;
  std::vector<TypeDef> types;
  std::string not_evaluated;  // why the evaluator cannot run it; "" when it can
  // The test cannot hold unless one of these tags is there (none: always test).
  std::vector<std::string> needs_one_of;
  // Where the rule's text is, for tools that add actions to a copy of the style.
  std::size_t action_at = std::string::npos;  // just after its action block's "{"
  std::size_t rule_end = 0;                   // where its test ends, before "{" or "["
};

struct RuleFile {
  std::string name;  // relative to the style folder
  std::string path;
};

// Which rules of one list may hold for an element, by the keys it has: the
// positions of the rules that need a key, by the key's number in Style::keys,
// and of those that need none.
struct RuleIndex {
  std::size_t rules = 0;  // the size of the list indexed
  std::vector<std::vector<std::uint32_t>> by_key;
  std::vector<std::uint32_t> always;
};

struct Style {
  std::array<std::vector<Rule>, kind_count> rules;     // in mkgmap's order
  std::array<std::vector<Rule>, kind_count> finalize;  // each file's <finalize> section
  std::vector<RuleFile> files;                         // every file read, once
  // Every key a rule needs, numbered in the order met, and the lists indexed by them.
  std::unordered_map<std::string, std::uint32_t> key_ids;
  std::array<RuleIndex, kind_count> index, finalize_index;
  bool tests_length = false;  // a rule asks for length(): ways are measured
};

// Numbers the keys the rules need and indexes every list by them; what a
// change to the rules needs before they run.
void index_style(Style& style);

// Reads the rule files of the style folder dir (polygons, lines, points,
// relations; a missing one has no rules) with every file they include.
// false with error "FILE:LINE: what" when a file cannot be read or parsed.
bool load_style(const std::string& dir, Style& style, std::string& error);

// Parses one rule text, as the file named `name` of kind `kind`; includes are
// read below `dir`. For tests and tools.
bool parse_rules(const std::string& text, const std::string& name, int kind, const std::string& dir,
                 Style& style, std::string& error);

}  // namespace zw::rules
