#include "rules/evaluate.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "base/text.h"

namespace zw::rules {
namespace {

struct Measure {
  double value = 0;
  std::string unit;
};

// "12", "-3.5", "50 mph": a number and what follows it, blanks trimmed.
std::optional<Measure> measure(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  std::size_t start = i;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) ++i;
  std::size_t digits = 0;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
  }
  if (digits == 0) return std::nullopt;
  Measure m;
  m.value = std::strtod(std::string(s.substr(start, i - start)).c_str(), nullptr);
  m.unit = text::trim(s.substr(i));
  return m;
}

std::string number_text(double x) {
  if (x == std::floor(x) && std::fabs(x) < 1e15) return std::to_string(static_cast<long long>(x));
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.3f", x);
  return buf;
}

std::optional<double> maxspeed_in(const Element& el, bool mph) {
  const std::string* v = el.tags.get("maxspeed");
  if (!v) return std::nullopt;
  auto m = measure(*v);
  if (!m) return std::nullopt;
  std::string unit = text::lower(m->unit);
  double kmh = m->value;
  if (unit == "mph")
    kmh = m->value * 1.609344;
  else if (unit == "knots")
    kmh = m->value * 1.852;
  else if (!unit.empty() && unit != "km/h" && unit != "kmh" && unit != "kmph")
    return std::nullopt;
  return mph ? std::round(kmh / 1.609344) : std::round(kmh);
}

const std::string* tag_of(const Element& el, const std::string& key) {
  return el.tags.get(key);
}

std::optional<std::string> filtered(std::optional<std::string> v, const Template::Filter& f,
                                    const Element& self) {
  const std::string& n = f.name;
  if (n == "def") return v ? v : std::optional<std::string>(f.arg);
  if (!v) return v;
  if (n == "subst") {
    auto at = f.arg.find("=>");
    if (at == std::string::npos) return v;  // "~>" takes a pattern: the value is kept
    std::string from = f.arg.substr(0, at);
    if (from.empty()) return v;
    return text::replace_all(*v, from, f.arg.substr(at + 2));
  }
  if (n == "not-equal") {
    const std::string* other = tag_of(self, text::trim(f.arg));
    if (other && *other == *v) return std::nullopt;
    return v;
  }
  if (n == "not-contained") {
    auto colon = f.arg.find(':');
    std::string sep = colon == std::string::npos ? ";" : f.arg.substr(0, colon);
    std::string key = colon == std::string::npos ? f.arg : f.arg.substr(colon + 1);
    if (sep.empty()) sep = ";";
    const std::string* list = tag_of(self, key);
    if (list)
      for (const auto& piece : text::split(*list, sep))
        if (piece == *v) return std::nullopt;
    return v;
  }
  if (n == "substring") {
    auto parts = text::split(f.arg, ":");
    long a = parts.empty() ? 0 : std::strtol(parts[0].c_str(), nullptr, 10);
    long b = parts.size() > 1 ? std::strtol(parts[1].c_str(), nullptr, 10)
                              : static_cast<long>(v->size());
    if (a < 0) a = 0;
    if (b > static_cast<long>(v->size())) b = static_cast<long>(v->size());
    if (a >= b) return std::string();
    return v->substr(static_cast<std::size_t>(a), static_cast<std::size_t>(b - a));
  }
  if (n == "part") {
    std::string sep = ";";
    long index = 1;
    if (!f.arg.empty()) {
      auto colon = f.arg.find(':');
      if (colon != std::string::npos) {
        sep = f.arg.substr(0, colon);
        index = std::strtol(f.arg.c_str() + colon + 1, nullptr, 10);
      }
    }
    if (sep.empty()) sep = ";";
    auto pieces = text::split(*v, sep);
    long count = static_cast<long>(pieces.size());
    if (index < 0) index = count + 1 + index;
    if (index < 1 || index > count) return std::nullopt;
    return text::trim(pieces[static_cast<std::size_t>(index - 1)]);
  }
  // conv, height, highway-symbol, country-ISO, prefix ... change how a value
  // reads, not whether there is one.
  return v;
}

void set_tag(Element& el, const std::string& key, const std::string& value,
             std::vector<std::string>* changes) {
  const std::string* old = el.tags.get(key);
  if (old && *old == value) return;
  el.tags.set(key, value);
  if (changes) changes->push_back("+" + key + "=" + value);
}

void remove_tag(Element& el, const std::string& key, std::vector<std::string>* changes) {
  if (!el.tags.get(key)) return;
  el.tags.remove(key);
  if (changes) changes->push_back("-" + key);
}

std::optional<std::string> first_value(const std::vector<Template>& alts, const Element& el,
                                       const Element* outer) {
  for (const auto& t : alts)
    if (auto v = expand(t, el, outer)) return v;
  return std::nullopt;
}

const char* const access_tags[] = {"mkgmap:foot",      "mkgmap:bicycle", "mkgmap:car",
                                   "mkgmap:taxi",      "mkgmap:truck",   "mkgmap:bus",
                                   "mkgmap:emergency", "mkgmap:delivery"};

}  // namespace

std::optional<std::string> tested_value(const Expr& e, const Element& el) {
  bool way = el.kind == ElementKind::way;
  switch (e.fn) {
    case Function::none: {
      const std::string* v = el.tags.get(e.key);
      return v ? std::optional<std::string>(*v) : std::nullopt;
    }
    case Function::length:
      return el.kind == ElementKind::node ? std::nullopt : std::optional(number_text(el.length));
    case Function::is_closed:
      return std::string(way && el.closed ? "true" : "false");
    case Function::is_complete:
      return std::string(!way || el.complete ? "true" : "false");
    case Function::area_size:
      return number_text(way && el.closed ? el.area_size : 0);
    case Function::osmid:
      return std::to_string(el.id);
    case Function::type:
      return std::string(kind_word(el.kind));
    case Function::maxspeedkmh:
    case Function::maxspeedmph: {
      auto v = maxspeed_in(el, e.fn == Function::maxspeedmph);
      return v ? std::optional(number_text(*v)) : std::nullopt;
    }
  }
  return std::nullopt;
}

bool holds(const Expr& e, const Element& el) {
  using Op = Expr::Op;
  switch (e.op) {
    case Op::always:
      return true;
    case Op::and_:
      return holds(*e.a, el) && holds(*e.b, el);
    case Op::or_:
      return holds(*e.a, el) || holds(*e.b, el);
    case Op::not_:
      return !holds(*e.a, el);
    default:
      break;
  }
  // Tags are compared where they are; only a function's value is made.
  std::optional<std::string> made;
  const std::string* v = nullptr;
  if (e.fn == Function::none) {
    v = el.tags.get(e.key);
  } else {
    made = tested_value(e, el);
    if (made) v = &*made;
  }
  switch (e.op) {
    case Op::exists:
      return v != nullptr;
    case Op::not_exists:
      return v == nullptr;
    case Op::eq:
    case Op::ne: {
      bool same = false;
      if (v) {
        if (e.value_is_tag) {
          const std::string* other = el.tags.get(e.value);
          same = other && *other == *v;
        } else {
          same = *v == e.value;
        }
      }
      return e.op == Op::eq ? same : !same;
    }
    case Op::regex: {
      if (!v || !e.re) return false;
      auto r = e.re->matches(*v);
      if (r == Regex::Result::too_much_work)
        throw RegexTooCostly("the regular expression '" + e.value + "' needs too much work on \"" +
                             *v + "\"");
      return r == Regex::Result::yes;
    }
    default:
      break;
  }
  if (!v) return false;
  auto a = measure(*v);
  auto b = measure(e.value);
  if (!a || !b || text::lower(a->unit) != text::lower(b->unit)) return false;
  switch (e.op) {
    case Op::lt:
      return a->value < b->value;
    case Op::le:
      return a->value <= b->value;
    case Op::gt:
      return a->value > b->value;
    case Op::ge:
      return a->value >= b->value;
    default:
      return false;
  }
}

std::optional<std::string> expand(const Template& t, const Element& el, const Element* outer) {
  std::string out;
  for (const auto& p : t.parts) {
    if (p.tag.empty()) {
      out += p.literal;
      continue;
    }
    const Element& from = p.member || !outer ? el : *outer;
    const std::string* v = from.tags.get(p.tag);
    std::optional<std::string> value = v ? std::optional<std::string>(*v) : std::nullopt;
    // A filter's other tag (not-equal:name, not-contained:;:route_ref) is the
    // element's own, also inside apply.
    for (const auto& f : p.filters) value = filtered(std::move(value), f, el);
    if (!value) return std::nullopt;
    out += *value;
  }
  return out;
}

void perform(const std::vector<Action>& actions, Element& el, const Element* outer,
             ApplyTarget* target, std::vector<std::string>* changes) {
  using K = Action::Kind;
  for (const auto& a : actions) {
    switch (a.kind) {
      case K::set:
      case K::add:
        if (a.kind == K::add && el.tags.get(a.key)) break;
        if (auto v = first_value(a.values, el, outer)) set_tag(el, a.key, *v, changes);
        break;
      case K::remove:
        remove_tag(el, a.key, changes);
        break;
      case K::delete_all:
        if (changes && !el.tags.empty()) changes->push_back("-*");
        el.tags.clear();
        break;
      case K::rename:
        if (const std::string* v = el.tags.get(a.key)) {
          std::string value = *v;
          remove_tag(el, a.key, changes);
          set_tag(el, a.to, value, changes);
        }
        break;
      case K::name:
        if (!el.tags.get("mkgmap:label:1"))
          if (auto v = first_value(a.values, el, outer)) set_tag(el, "mkgmap:label:1", *v, changes);
        break;
      case K::addlabel:
        for (int i = 1; i <= 4; ++i) {
          std::string key = "mkgmap:label:" + std::to_string(i);
          if (el.tags.get(key)) continue;
          if (auto v = first_value(a.values, el, outer)) set_tag(el, key, *v, changes);
          break;
        }
        break;
      case K::echo:
      case K::echotags:
        break;  // what mkgmap prints; the trace reports the rule instead
      case K::setaccess:
      case K::addaccess:
        if (auto v = first_value(a.values, el, outer))
          for (const char* key : access_tags)
            if (a.kind == K::setaccess || !el.tags.get(key)) set_tag(el, key, *v, changes);
        break;
      case K::apply:
      case K::apply_once:
        if (target && el.kind == ElementKind::relation) target->apply(a, el);
        break;
    }
  }
}

namespace {

// One rule's line of an explanation: where it is, the result, what changed.
std::vector<std::string> result_line(const Rule& r, const std::string& what,
                                     const std::string& more = "") {
  std::vector<std::string> line = {
      std::string(r.finalize ? "finalize " : "") + r.file + ":" + std::to_string(r.line), what};
  if (!more.empty() || what == "yes") line.push_back(more);
  return line;
}

std::string joined(const std::vector<std::string>& changes) {
  std::string s;
  for (const auto& c : changes) s += (s.empty() ? "" : " ") + c;
  return s;
}

// Whether the rule's test holds; a costly regular expression names the rule.
// `keyed`: the element is known to have a key the rule needs.
bool rule_holds(const Rule& r, const Element& el, bool keyed) {
  if (!keyed && !r.needs_one_of.empty()) {
    bool any = false;
    for (const auto& key : r.needs_one_of) any = any || el.tags.get(key);
    if (!any) return false;
  }
  try {
    return holds(*r.expr, el);
  } catch (const RegexTooCostly& e) {
    throw RegexTooCostly(r.file + ":" + std::to_string(r.line) + ": " + e.what());
  }
}

// The rules of a list to test, in order: with an index, only those that need
// a key the element has (gathered again whenever its keys change); else all.
class RuleOrder {
 public:
  RuleOrder(const Style& style, const std::vector<Rule>& rules, const RuleIndex& index,
            const Tags& tags, bool all)
      : style_(style),
        index_(index),
        tags_(tags),
        count_(rules.size()),
        all_(all || index.rules != rules.size()) {
    if (!all_) gather(0);
  }

  bool keyed() const { return !all_; }

  // The next rule's position; false at the end.
  bool next(std::size_t& i) {
    if (all_) {
      if (at_ >= count_) return false;
      i = at_++;
      return true;
    }
    if (seen_ != tags_.keys_changed()) gather(last_ + 1);
    if (at_ >= order_.size()) return false;
    i = last_ = order_[at_++];
    return true;
  }

 private:
  void gather(std::size_t from) {
    order_.clear();
    at_ = 0;
    seen_ = tags_.keys_changed();
    auto add = [&](const std::vector<std::uint32_t>& list) {
      order_.insert(order_.end(), std::lower_bound(list.begin(), list.end(), from), list.end());
    };
    add(index_.always);
    for (const auto& [k, v] : tags_.items()) {
      auto id = style_.key_ids.find(k);
      if (id != style_.key_ids.end() && id->second < index_.by_key.size())
        add(index_.by_key[id->second]);
    }
    std::sort(order_.begin(), order_.end());
    order_.erase(std::unique(order_.begin(), order_.end()), order_.end());
  }

  const Style& style_;
  const RuleIndex& index_;
  const Tags& tags_;
  std::size_t count_;
  bool all_;
  std::vector<std::uint32_t> order_;
  std::size_t at_ = 0, last_ = 0;
  std::uint32_t seen_ = 0;
};

void finalize(const Style& style, int kind, const Element& el, const TypeDef* type,
              ApplyTarget* target, Run& run) {
  const auto& rules = style.finalize[static_cast<std::size_t>(kind)];
  if (rules.empty()) return;
  Element copy = el;
  // mkgmap hands a type's default name to the finalize section as a tag.
  if (type && !type->default_name.empty()) copy.tags.set("mkgmap:default_name", type->default_name);
  RuleOrder order(style, rules, style.finalize_index[static_cast<std::size_t>(kind)], copy.tags,
                  false);
  for (std::size_t i = 0; order.next(i);) {
    const Rule& r = rules[i];
    if (!r.not_evaluated.empty()) continue;
    bool yes = rule_holds(r, copy, order.keyed());
    if (!yes) continue;
    run.caught.push_back(&r);
    std::vector<std::string> changes;
    perform(r.actions, copy, nullptr, target, run.explain ? &changes : nullptr);
    if (run.explain) run.lines.push_back(result_line(r, "yes", joined(changes)));
  }
}

}  // namespace

void run_rules(const Style& style, const std::vector<int>& kinds, Element& el, ApplyTarget* target,
               Run& run) {
  bool typed = false;
  for (int kind : kinds) {
    auto k = static_cast<std::size_t>(kind);
    // An explanation lists every rule.
    RuleOrder order(style, style.rules[k], style.index[k], el.tags, run.explain);
    for (std::size_t i = 0; order.next(i);) {
      const Rule& r = style.rules[k][i];
      if (!r.not_evaluated.empty()) {
        if (run.explain) run.lines.push_back(result_line(r, "not evaluated: " + r.not_evaluated));
        continue;
      }
      bool yes = rule_holds(r, el, order.keyed());
      if (!yes) {
        if (run.explain) run.lines.push_back(result_line(r, "no"));
        continue;
      }
      run.caught.push_back(&r);
      std::vector<std::string> changes;
      auto* log = run.explain ? &changes : nullptr;
      if (r.types.empty()) {
        perform(r.actions, el, nullptr, target, log);
        if (run.explain) run.lines.push_back(result_line(r, "yes", joined(changes)));
        continue;
      }
      // A rule's actions outlive it only with "continue with_actions".
      const TypeDef& last = r.types.back();
      Element copy;
      Element* on = &el;
      if (!(last.continues && last.with_actions)) {
        copy = el;
        on = &copy;
      }
      perform(r.actions, *on, nullptr, target, log);
      if (run.explain) run.lines.push_back(result_line(r, "yes", joined(changes)));
      for (const auto& t : r.types) {
        run.types.emplace_back(&r, &t);
        finalize(style, kind, *on, &t, target, run);
      }
      typed = true;
      if (!last.continues) return;
    }
  }
  const std::string* flag = el.tags.get("mkgmap:execute_finalize_rules");
  if (!typed && flag && *flag == "true" && !kinds.empty())
    finalize(style, kinds.back(), el, nullptr, target, run);
}

}  // namespace zw::rules
