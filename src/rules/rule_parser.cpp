#include <algorithm>
#include <cctype>
#include <optional>
#include <cstdlib>
#include <stdexcept>

#include "base/file_io.h"
#include "base/paths.h"
#include "base/text.h"
#include "rules/rule_set.h"

namespace zw::rules {
namespace {

// The largest rule file read; real ones are a few hundred kilobytes.
constexpr std::int64_t max_rule_file = 16 * 1024 * 1024;
// Deeper includes than this are a loop.
constexpr int max_include_depth = 32;
// Deeper brackets than this are hostile, not a style.
constexpr int max_nesting = 200;

struct ParseError : std::runtime_error {
  ParseError(int line, const std::string& what) : std::runtime_error(what), line(line) {}
  int line;
};

enum class Tok { end, word, quoted, symbol };

struct Token {
  Tok type = Tok::end;
  std::string text;
  int line = 1;
  std::size_t at = 0;
  bool is(const char* s) const { return type == Tok::symbol && text == s; }
  bool word(const char* s) const { return type == Tok::word && text == s; }
};

bool symbol_char(char c) {
  return c == '=' || c == '!' || c == '<' || c == '>' || c == '~' || c == '&' || c == '|' ||
         c == '(' || c == ')' || c == '{' || c == '}' || c == '[' || c == ']' || c == ';' ||
         c == ',' || c == '$' || c == '\'' || c == '"';
}

bool blank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

class Scanner {
 public:
  explicit Scanner(const std::string& text) : t_(text) {
    if (t_.rfind("\xEF\xBB\xBF", 0) == 0) pos_ = 3;
  }

  const Token& peek() {
    if (!peeked_) {
      next_ = read();
      peeked_ = true;
    }
    return next_;
  }
  Token take() {
    Token tok = peek();
    peeked_ = false;
    return tok;
  }
  bool accept(const char* sym) {
    if (!peek().is(sym)) return false;
    take();
    return true;
  }
  void expect(const char* sym) {
    const auto& tok = peek();
    if (!tok.is(sym))
      throw ParseError(tok.line, std::string("expected \"") + sym + "\", found " + shown(tok));
    take();
  }
  static std::string shown(const Token& tok) {
    if (tok.type == Tok::end) return "the end of the file";
    return "\"" + tok.text + "\"";
  }
  // The raw text of a substitution "{...}" or "(...)" right after a "$".
  std::string raw_group() {
    peeked_ = false;
    char open = pos_ < t_.size() ? t_[pos_] : 0;
    char close = open == '{' ? '}' : open == '(' ? ')' : 0;
    if (!close) return "";
    auto end = t_.find(close, pos_);
    if (end == std::string::npos) throw ParseError(line_, "unclosed substitution");
    std::string s = t_.substr(pos_, end + 1 - pos_);
    pos_ = end + 1;
    return s;
  }
  // Whether the text at the next token starts with s.
  bool at_text(const char* s) {
    skip();
    return t_.compare(pos_, std::char_traits<char>::length(s), s) == 0;
  }
  void skip_text(std::size_t n) { pos_ += n; }
  std::size_t position() {
    if (peeked_) return next_.at;
    skip();
    return pos_;
  }
  int line() { return peeked_ ? next_.line : line_; }

 private:
  void skip() {
    for (;;) {
      while (pos_ < t_.size() && blank(t_[pos_])) {
        if (t_[pos_] == '\n') ++line_;
        ++pos_;
      }
      if (pos_ < t_.size() && (t_[pos_] == '#' || t_.compare(pos_, 2, "//") == 0)) {
        while (pos_ < t_.size() && t_[pos_] != '\n') ++pos_;
        continue;
      }
      return;
    }
  }

  Token read() {
    skip();
    Token tok;
    tok.line = line_;
    tok.at = pos_;
    if (pos_ >= t_.size()) return tok;
    char c = t_[pos_];
    if (c == '\'' || c == '"') {
      auto end = t_.find(c, pos_ + 1);
      if (end == std::string::npos) throw ParseError(line_, "unclosed quotation");
      tok.type = Tok::quoted;
      tok.text = t_.substr(pos_ + 1, end - pos_ - 1);
      for (char q : tok.text)
        if (q == '\n') ++line_;
      pos_ = end + 1;
      return tok;
    }
    if (symbol_char(c)) {
      tok.type = Tok::symbol;
      std::size_t n = 1;
      if ((c == '!' || c == '<' || c == '>') && pos_ + 1 < t_.size() && t_[pos_ + 1] == '=') n = 2;
      tok.text = t_.substr(pos_, n);
      pos_ += n;
      return tok;
    }
    std::size_t start = pos_;
    while (pos_ < t_.size() && !blank(t_[pos_]) && !symbol_char(t_[pos_])) ++pos_;
    tok.type = Tok::word;
    tok.text = t_.substr(start, pos_ - start);
    return tok;
  }

  const std::string& t_;
  std::size_t pos_ = 0;
  int line_ = 1;
  Token next_;
  bool peeked_ = false;
};

std::shared_ptr<const Expr> both(std::shared_ptr<const Expr> a, std::shared_ptr<const Expr> b) {
  if (!a) return b;
  auto e = std::make_shared<Expr>();
  e->op = Expr::Op::and_;
  e->a = std::move(a);
  e->b = std::move(b);
  return e;
}

std::shared_ptr<const Expr> negated(std::shared_ptr<const Expr> a) {
  auto e = std::make_shared<Expr>();
  e->op = Expr::Op::not_;
  e->a = std::move(a);
  return e;
}

Function function_named(const std::string& name) {
  static const std::pair<const char*, Function> all[] = {{"length", Function::length},
                                                         {"is_closed", Function::is_closed},
                                                         {"is_complete", Function::is_complete},
                                                         {"area_size", Function::area_size},
                                                         {"osmid", Function::osmid},
                                                         {"type", Function::type},
                                                         {"maxspeedkmh", Function::maxspeedkmh},
                                                         {"maxspeedmph", Function::maxspeedmph}};
  for (const auto& [n, f] : all)
    if (name == n) return f;
  return Function::none;
}

// Splits "tag|filter:arg|filter2:arg" at the bars outside quotes.
Template::Part substitution(const std::string& inner, bool member, int line) {
  Template::Part part;
  part.member = member;
  std::vector<std::string> pieces;
  std::string cur;
  char quote = 0;
  for (char c : inner) {
    if (quote) {
      if (c == quote)
        quote = 0;
      else
        cur += c;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '|') {
      pieces.push_back(cur);
      cur.clear();
    } else {
      cur += c;
    }
  }
  pieces.push_back(cur);
  part.tag = text::trim(pieces[0]);
  if (part.tag.empty()) throw ParseError(line, "substitution without a tag name");
  for (std::size_t i = 1; i < pieces.size(); ++i) {
    auto colon = pieces[i].find(':');
    Template::Filter f;
    f.name = text::trim(pieces[i].substr(0, colon));
    if (colon != std::string::npos) f.arg = pieces[i].substr(colon + 1);
    part.filters.push_back(f);
  }
  return part;
}

// Tags of which the test needs one to hold at all, so that most rules are
// passed over with a look at the tags; nullopt when no such list is known.
std::optional<std::vector<std::string>> needed_tags(const Expr& e) {
  using Op = Expr::Op;
  switch (e.op) {
    case Op::and_: {
      auto a = needed_tags(*e.a), b = needed_tags(*e.b);
      if (!a) return b;
      if (!b) return a;
      return a->size() <= b->size() ? a : b;
    }
    case Op::or_: {
      auto a = needed_tags(*e.a), b = needed_tags(*e.b);
      if (!a || !b) return std::nullopt;
      for (auto& k : *b)
        if (std::find(a->begin(), a->end(), k) == a->end()) a->push_back(k);
      return a;
    }
    case Op::eq:
    case Op::exists:
    case Op::lt:
    case Op::le:
    case Op::gt:
    case Op::ge:
    case Op::regex:
      if (e.fn != Function::none) return std::nullopt;
      return std::vector<std::string>{e.key};
    default:
      return std::nullopt;
  }
}

bool known_filter(const std::string& name) {
  static const char* const known[] = {
      "def",       "conv",          "subst",     "part",           "height",
      "not-equal", "not-contained", "substring", "highway-symbol", "country-ISO"};
  for (const char* k : known)
    if (name == k) return true;
  return false;
}

class Parser {
 public:
  Parser(Style& style, std::string dir, int kind)
      : style_(style), dir_(std::move(dir)), kind_(kind) {}

  void parse_file(const std::string& text, const std::string& name, int depth) {
    Scanner sc(text);
    file_ = name;
    statements(sc, depth, false);
    if (sc.peek().type != Tok::end)
      throw ParseError(sc.peek().line, "unexpected " + Scanner::shown(sc.peek()));
  }

  std::string file_;

 private:
  // Rules up to the end of the file or, inside if, up to else/end.
  void statements(Scanner& sc, int depth, bool in_if) {
    for (;;) {
      const Token& tok = sc.peek();
      if (tok.type == Tok::end) return;
      if (in_if && (tok.word("else") || tok.word("end"))) return;
      if (tok.is("<") && sc.at_text("finalize>")) {
        sc.take();
        sc.skip_text(std::string("finalize>").size());
        finalize_ = true;
        continue;
      }
      if (tok.type == Tok::word && text::lower(tok.text) == "include") {
        include(sc, depth);
        continue;
      }
      if (tok.word("if")) {
        if_block(sc, depth);
        continue;
      }
      rule(sc);
    }
  }

  void include(Scanner& sc, int depth) {
    Token kw = sc.take();
    Token name = sc.take();
    if (name.type != Tok::word && name.type != Tok::quoted)
      throw ParseError(kw.line, "include without a file name");
    std::string base = dir_;
    if (sc.peek().word("from")) {
      sc.take();
      Token other = sc.take();
      if (other.type != Tok::word && other.type != Tok::quoted)
        throw ParseError(kw.line, "include ... from without a style name");
      std::string parent = paths::part(dir_, 0);
      base = paths::join(parent == dir_ ? "." : parent, other.text);
    }
    sc.accept(";");
    if (depth >= max_include_depth) throw ParseError(kw.line, "includes nest too deeply (a loop?)");
    std::string path = paths::join(base, name.text);
    std::string error;
    auto data = file_io::read_regular(paths::to_host(path), max_rule_file, error);
    if (!data) throw ParseError(kw.line, "cannot include " + name.text + ": " + error);
    bool seen = false;
    for (const auto& f : style_.files) seen = seen || f.path == path;
    if (!seen) style_.files.push_back({name.text, path});
    std::string outer = file_;
    try {
      parse_file(*data, name.text, depth + 1);
    } catch (const ParseError& e) {
      if (nested_error_.empty()) nested_error_ = name.text;
      throw;
    }
    file_ = outer;
  }

  void if_block(Scanner& sc, int depth) {
    int line = sc.take().line;
    sc.expect("(");
    auto outer_unsupported = condition_unsupported_;
    unsupported_ = condition_unsupported_;
    auto cond = expression(sc, 0);
    condition_unsupported_ = unsupported_;
    sc.expect(")");
    if (!sc.peek().word("then")) throw ParseError(line, "if without then");
    sc.take();
    auto outer = condition_;
    condition_ = both(outer, cond);
    statements(sc, depth, true);
    if (sc.peek().word("else")) {
      sc.take();
      condition_ = both(outer, negated(cond));
      statements(sc, depth, true);
    }
    if (!sc.peek().word("end")) throw ParseError(line, "if without end");
    sc.take();
    condition_ = outer;
    condition_unsupported_ = outer_unsupported;
  }

  void rule(Scanner& sc) {
    Rule r;
    r.kind = kind_;
    r.file = file_;
    r.finalize = finalize_;
    r.line = sc.line();
    unsupported_ = condition_unsupported_;
    auto own = expression(sc, 0);
    r.not_evaluated = unsupported_;
    r.rule_end = sc.position();
    r.expr = both(condition_, own);
    if (auto keys = needed_tags(*r.expr)) r.needs_one_of = std::move(*keys);
    bool has_block = false;
    if (sc.peek().is("{")) {
      sc.take();
      r.action_at = sc.position();
      has_block = true;
      actions(sc, r.actions, r, 0);
      sc.expect("}");
      if (r.not_evaluated.empty()) r.not_evaluated = unsupported_;
    }
    bool first_type = true;
    while (sc.peek().is("[")) {
      int line = sc.take().line;
      if (first_type) r.line = line;
      first_type = false;
      r.types.push_back(type_def(sc, line));
    }
    if (!has_block && r.types.empty())
      throw ParseError(
          r.line, "a rule needs an action block or a type, found " + Scanner::shown(sc.peek()));
    if (finalize_ && !r.types.empty())
      throw ParseError(r.line, "a rule in the finalize section cannot have a type");
    (finalize_ ? style_.finalize : style_.rules)[static_cast<std::size_t>(kind_)].push_back(
        std::move(r));
  }

  std::shared_ptr<const Expr> expression(Scanner& sc, int depth) {
    if (depth > max_nesting) throw ParseError(sc.line(), "brackets nest too deeply");
    auto left = conjunction(sc, depth);
    while (sc.peek().is("|")) {
      sc.take();
      auto e = std::make_shared<Expr>();
      e->op = Expr::Op::or_;
      e->a = left;
      e->b = conjunction(sc, depth);
      left = e;
    }
    return left;
  }

  std::shared_ptr<const Expr> conjunction(Scanner& sc, int depth) {
    auto left = unary(sc, depth);
    while (sc.peek().is("&")) {
      sc.take();
      left = both(left, unary(sc, depth));
    }
    return left;
  }

  std::shared_ptr<const Expr> unary(Scanner& sc, int depth) {
    if (sc.peek().is("!")) {
      sc.take();
      sc.expect("(");
      auto inner = expression(sc, depth + 1);
      sc.expect(")");
      return negated(inner);
    }
    if (sc.peek().is("(")) {
      sc.take();
      if (sc.accept(")")) return std::make_shared<Expr>();  // "()": always true
      auto inner = expression(sc, depth + 1);
      sc.expect(")");
      return inner;
    }
    return test(sc);
  }

  std::shared_ptr<const Expr> test(Scanner& sc) {
    auto e = std::make_shared<Expr>();
    sc.accept("$");  // "$highway=primary" is "highway=primary"
    Token key = sc.take();
    if (key.type != Tok::word && key.type != Tok::quoted)
      throw ParseError(key.line, "expected a tag, found " + Scanner::shown(key));
    if (key.type == Tok::word && sc.peek().is("(")) {
      sc.take();
      e->fn = function_named(key.text);
      if (e->fn == Function::none || !sc.peek().is(")")) {
        // A function this program does not compute (is_in(...), ...): the
        // rule is kept, but not run.
        int depth = 1;
        while (depth > 0) {
          Token t = sc.take();
          if (t.type == Tok::end) throw ParseError(key.line, "unclosed " + key.text + "(");
          if (t.is("(")) ++depth;
          if (t.is(")")) --depth;
        }
        if (unsupported_.empty()) unsupported_ = "the function " + key.text + "()";
      } else {
        sc.expect(")");
      }
    }
    e->key = key.text;
    Token op = sc.take();
    using Op = Expr::Op;
    if (op.is("="))
      e->op = Op::eq;
    else if (op.is("!="))
      e->op = Op::ne;
    else if (op.is("<"))
      e->op = Op::lt;
    else if (op.is("<="))
      e->op = Op::le;
    else if (op.is(">"))
      e->op = Op::gt;
    else if (op.is(">="))
      e->op = Op::ge;
    else if (op.is("~"))
      e->op = Op::regex;
    else
      throw ParseError(op.line,
                       "expected a comparison after " + key.text + ", found " + Scanner::shown(op));
    if (sc.peek().is("$")) {
      sc.take();
      std::string g = sc.raw_group();
      if (!g.empty()) {
        e->value = g.substr(1, g.size() - 2);
      } else {
        Token v = sc.take();
        if (v.type != Tok::word) throw ParseError(v.line, "expected a tag name after $");
        e->value = v.text;
      }
      e->value_is_tag = true;
      if (e->op != Op::eq && e->op != Op::ne)
        throw ParseError(op.line, "only = and != compare two tags");
      return e;
    }
    Token v = sc.take();
    if (v.type != Tok::word && v.type != Tok::quoted)
      throw ParseError(
          v.line, "expected a value after " + key.text + op.text + ", found " + Scanner::shown(v));
    e->value = v.text;
    if (v.type == Tok::word && v.text == "*") {
      if (e->op == Op::eq)
        e->op = Op::exists;
      else if (e->op == Op::ne)
        e->op = Op::not_exists;
    }
    if (e->op == Op::regex) {
      std::string error;
      auto re = Regex::compile(v.text, error);
      if (!re && regex_available()) throw ParseError(v.line, error);
      if (!re && unsupported_.empty()) unsupported_ = error;
      e->re = std::move(re);
    }
    return e;
  }

  Template template_of(const std::string& s, int line) {
    Template t;
    std::string lit;
    for (std::size_t i = 0; i < s.size(); ++i) {
      if (s[i] == '$' && i + 1 < s.size() && (s[i + 1] == '{' || s[i + 1] == '(')) {
        char close = s[i + 1] == '{' ? '}' : ')';
        auto end = s.find(close, i + 2);
        if (end == std::string::npos)
          throw ParseError(line, "unclosed substitution in '" + s + "'");
        if (!lit.empty()) t.parts.push_back({lit, "", false, {}});
        lit.clear();
        t.parts.push_back(substitution(s.substr(i + 2, end - i - 2), close == ')', line));
        for (const auto& f : t.parts.back().filters)
          if (!known_filter(f.name) && unsupported_.empty()) unsupported_ = "the filter " + f.name;
        i = end;
      } else {
        lit += s[i];
      }
    }
    if (!lit.empty() || t.parts.empty()) t.parts.push_back({lit, "", false, {}});
    return t;
  }

  // One value, or alternatives separated by "|".
  std::vector<Template> values(Scanner& sc) {
    std::vector<Template> out;
    do {
      Token v = sc.take();
      if (v.is("$")) {
        std::string g = sc.raw_group();
        out.push_back(template_of("$" + g, v.line));
        continue;
      }
      if (v.type != Tok::word && v.type != Tok::quoted)
        throw ParseError(v.line, "expected a value, found " + Scanner::shown(v));
      out.push_back(template_of(v.text, v.line));
    } while (sc.accept("|"));
    return out;
  }

  void actions(Scanner& sc, std::vector<Action>& out, Rule& r, int depth) {
    if (depth > max_nesting) throw ParseError(sc.line(), "apply nests too deeply");
    for (;;) {
      if (sc.accept(";")) continue;
      const Token& tok = sc.peek();
      if (tok.is("}") || tok.type == Tok::end) return;
      Token cmd = sc.take();
      if (cmd.type != Tok::word)
        throw ParseError(cmd.line, "expected an action, found " + Scanner::shown(cmd));
      Action a;
      const std::string& c = cmd.text;
      using K = Action::Kind;
      if (c == "set" || c == "add") {
        a.kind = c == "set" ? K::set : K::add;
        Token key = sc.take();
        if (key.type != Tok::word && key.type != Tok::quoted)
          throw ParseError(cmd.line, c + " without a tag");
        a.key = key.text;
        sc.expect("=");
        a.values = values(sc);
      } else if (c == "delete") {
        a.kind = K::remove;
        a.key = sc.take().text;
      } else if (c == "deletealltags") {
        a.kind = K::delete_all;
      } else if (c == "rename") {
        a.kind = K::rename;
        a.key = sc.take().text;
        a.to = sc.take().text;
      } else if (c == "name" || c == "addlabel" || c == "echo" || c == "echotags" ||
                 c == "setaccess" || c == "addaccess") {
        a.kind = c == "name"        ? K::name
                 : c == "addlabel"  ? K::addlabel
                 : c == "echo"      ? K::echo
                 : c == "echotags"  ? K::echotags
                 : c == "setaccess" ? K::setaccess
                                    : K::addaccess;
        a.values = values(sc);
      } else if (c == "apply" || c == "apply_once") {
        a.kind = c == "apply" ? K::apply : K::apply_once;
        if (sc.peek().word("role")) {
          sc.take();
          sc.expect("=");
          a.role = sc.take().text;
          a.has_role = true;
        }
        sc.expect("{");
        actions(sc, a.body, r, depth + 1);
        sc.expect("}");
      } else {
        // An action this program does not know: the rule is kept, but not run.
        if (r.not_evaluated.empty()) r.not_evaluated = "the action \"" + c + "\"";
        skip_statement(sc);
        continue;
      }
      out.push_back(std::move(a));
    }
  }

  void skip_statement(Scanner& sc) {
    int depth = 0;
    for (;;) {
      const Token& t = sc.peek();
      if (t.type == Tok::end) return;
      if (depth == 0 && (t.is(";") || t.is("}"))) return;
      if (t.is("{")) ++depth;
      if (t.is("}")) --depth;
      sc.take();
    }
  }

  TypeDef type_def(Scanner& sc, int line) {
    TypeDef t;
    Token type = sc.take();
    if (type.type != Tok::word || !text::starts_with(text::lower(type.text), "0x"))
      throw ParseError(line,
                       "a type must start with a code like 0x2f06, found " + Scanner::shown(type));
    t.type = type.text;
    auto range = [&](int& from, int& to) {
      Token v = sc.take();
      if (v.type != Tok::word)
        throw ParseError(v.line, "expected a number, found " + Scanner::shown(v));
      auto dash = v.text.find('-');
      char* end = nullptr;
      long a = std::strtol(v.text.c_str(), &end, 10);
      long b = a;
      if (dash != std::string::npos) b = std::strtol(v.text.c_str() + dash + 1, &end, 10);
      if (a < 0 || a > 24 || b < 0 || b > 24)
        throw ParseError(v.line, "resolution or level out of range: " + v.text);
      from = static_cast<int>(a);
      to = dash != std::string::npos ? static_cast<int>(b) : -1;
    };
    for (;;) {
      Token tok = sc.take();
      if (tok.is("]")) break;
      if (tok.type == Tok::end) throw ParseError(line, "unclosed [");
      if (tok.word("resolution"))
        range(t.resolution_from, t.resolution_to);
      else if (tok.word("level"))
        range(t.level_from, t.level_to);
      else if (tok.word("continue"))
        t.continues = true;
      else if (tok.word("with_actions"))
        t.with_actions = true;
      else if (tok.word("default_name"))
        t.default_name = sc.take().text;
    }
    return t;
  }

  Style& style_;
  std::string dir_;
  int kind_;
  bool finalize_ = false;
  std::shared_ptr<const Expr> condition_;
  std::string unsupported_, condition_unsupported_;

 public:
  std::string nested_error_;
};

}  // namespace

const char* kind_name(int kind) {
  static const char* names[] = {"polygons", "lines", "points", "relations"};
  return kind >= 0 && kind < kind_count ? names[kind] : "";
}

bool parse_rules(const std::string& text, const std::string& name, int kind, const std::string& dir,
                 Style& style, std::string& error) {
  Parser p(style, dir, kind);
  try {
    p.parse_file(text, name, 0);
  } catch (const ParseError& e) {
    error = paths::join(dir, p.file_) + ":" + std::to_string(e.line) + ": " + e.what();
    return false;
  }
  index_style(style);
  return true;
}

namespace {

bool tests_length(const Expr& e) {
  return e.fn == Function::length || (e.a && tests_length(*e.a)) || (e.b && tests_length(*e.b));
}

void index_list(Style& style, const std::vector<Rule>& rules, RuleIndex& index) {
  index = RuleIndex();
  index.rules = rules.size();
  for (std::size_t i = 0; i < rules.size(); ++i) {
    if (rules[i].expr && tests_length(*rules[i].expr)) style.tests_length = true;
    auto at = static_cast<std::uint32_t>(i);
    if (rules[i].needs_one_of.empty()) index.always.push_back(at);
    for (const auto& key : rules[i].needs_one_of) {
      auto id = style.key_ids.emplace(key, static_cast<std::uint32_t>(style.key_ids.size()))
                    .first->second;
      if (index.by_key.size() <= id) index.by_key.resize(id + 1);
      if (index.by_key[id].empty() || index.by_key[id].back() != at) index.by_key[id].push_back(at);
    }
  }
}

}  // namespace

void index_style(Style& style) {
  for (std::size_t k = 0; k < kind_count; ++k) {
    index_list(style, style.rules[k], style.index[k]);
    index_list(style, style.finalize[k], style.finalize_index[k]);
  }
}

bool load_style(const std::string& dir, Style& style, std::string& error) {
  for (int kind = 0; kind < kind_count; ++kind) {
    std::string name = kind_name(kind);
    std::string path = paths::join(dir, name);
    auto what = file_io::kind_of(paths::to_host(path), true);
    if (what == file_io::Kind::none) continue;
    auto data = file_io::read_regular(paths::to_host(path), max_rule_file, error);
    if (!data) return false;
    style.files.push_back({name, path});
    if (!parse_rules(*data, name, kind, dir, style, error)) return false;
  }
  if (style.files.empty()) {
    error = dir + ": no rule file (polygons, lines, points, relations) in it";
    return false;
  }
  return true;
}

}  // namespace zw::rules
