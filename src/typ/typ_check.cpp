#include "typ/typ_check.h"

#include <algorithm>
#include <array>
#include <unordered_map>

#include "base/text.h"
#include "levels/drawn_levels.h"
#include "typ/colour_difference.h"
#include "typ/typ_sections.h"

namespace zw {
namespace {

const char* kind_word(int kind) {
  return kind == 1 ? "line" : kind == 2 ? "point" : "polygon";
}

// A type the style draws: its first rule, how many rules draw it and the
// levels any of them draws it at.
struct Use {
  int kind = 0;
  std::string key;
  const DrawnRule* first = nullptr;
  int rules = 0;
  std::vector<int> levels;  // ascending, each once
  const TypEntry* entry = nullptr;
  std::vector<std::optional<Lab>> day;  // the entry's day colours, converted once
};

// More types of one kind than any style draws are compared only this far:
// the pairs grow with the square of the types.
constexpr std::size_t alike_types = 4000;

void add_levels(std::vector<int>& to, const std::vector<int>& more) {
  for (int level : more)
    if (std::find(to.begin(), to.end(), level) == to.end()) to.push_back(level);
  std::sort(to.begin(), to.end());
}

std::vector<int> shared(const std::vector<int>& a, const std::vector<int>& b) {
  std::vector<int> out;
  std::set_intersection(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(out));
  return out;
}

std::string where(const DrawnRule& rule) {
  return rule.name + ":" + text::decimal(rule.line);
}

std::string levels_text(const std::vector<int>& levels) {
  return levels.empty() ? "drawn at no level" : "level " + level_ranges(levels);
}

// The largest colour difference between two entries' day colours, when they
// would look alike: the same bitmap (or both solid), for lines the same width
// and border, and every colour nearer than the threshold; nothing otherwise.
std::optional<double> alike(const Use& ua, const Use& ub) {
  const TypEntry &a = *ua.entry, &b = *ub.entry;
  if (a.day.empty() || a.day.size() != b.day.size() || a.width != b.width || a.border != b.border ||
      a.rows != b.rows)
    return std::nullopt;
  double worst = 0;
  bool drawn = false;
  for (std::size_t i = 0; i < a.day.size(); ++i) {
    if (ua.day[i].has_value() != ub.day[i].has_value()) return std::nullopt;
    if (!ua.day[i]) continue;
    double d = ciede2000(*ua.day[i], *ub.day[i]);
    if (d >= alike_colour_difference) return std::nullopt;
    worst = std::max(worst, d);
    drawn = true;
  }
  if (!drawn) return std::nullopt;
  return worst;
}

std::string one_decimal(double d) {
  auto tenths = static_cast<long long>(d * 10 + 0.5);
  return text::decimal(tenths / 10) + "." + text::decimal(tenths % 10);
}

}  // namespace

std::string rule_type_key(const std::string& type) {
  return typ_key("0x" + type).value_or("");
}

std::string type_shown(const std::string& key) {
  if (key.size() != 5) return key;
  std::string type = key.substr(0, 3), sub = key.substr(3);
  if (type[0] != '0') return "0x" + key;
  type.erase(0, 1);
  return "0x" + type + (sub == "00" ? "" : sub);
}

std::string kind_type_key(int kind, const std::string& key) {
  return std::string(1, static_cast<char>('0' + kind)) + key;
}

const char* severity_name(Severity s) {
  return s == Severity::warning ? "warning" : "note";
}

std::vector<TypFinding> check_against_typ(const std::vector<DrawnRule>& rules, const TypFile& typ,
                                          const std::string& typ_path,
                                          std::optional<long> family_id) {
  std::vector<TypFinding> out;
  auto add = [&](Severity severity, int kind, const std::string& key, const std::string& file,
                 const std::string& name, int line, const char* finding, std::string detail) {
    out.push_back({severity, kind, key, key.empty() ? "" : type_shown(key), file, name, line,
                   finding, std::move(detail)});
  };

  // The TYP file's entries by kind and type; a type defined again is a note.
  std::unordered_map<std::string, const TypEntry*> entries;
  for (const auto& e : typ.entries) {
    if (e.key.empty()) continue;
    auto [at, added] = entries.emplace(kind_type_key(e.kind, e.key), &e);
    if (!added)
      add(Severity::note, e.kind, e.key, typ_path, typ_path, e.line, "duplicate-entry",
          std::string(kind_word(e.kind)) + " type defined again; first at line " +
              text::decimal(at->second->line));
  }

  // The types the style draws, in the order of their first rule.
  std::vector<Use> uses;
  std::unordered_map<std::string, std::size_t> use_of;
  for (const auto& rule : rules) {
    auto key = rule_type_key(rule.type);
    if (key.empty()) continue;
    auto [at, added] = use_of.emplace(kind_type_key(rule.kind, key), uses.size());
    if (added) {
      Use use;
      use.kind = rule.kind;
      use.key = key;
      use.first = &rule;
      auto e = entries.find(at->first);
      if (e != entries.end()) {
        use.entry = e->second;
        for (const auto& c : use.entry->day)
          use.day.push_back(c ? std::optional<Lab>(lab_of(*c)) : std::nullopt);
      }
      uses.push_back(std::move(use));
    }
    auto& use = uses[at->second];
    ++use.rules;
    add_levels(use.levels, rule.levels);
  }

  auto drawn_by = [](const Use& u) {
    return levels_text(u.levels) + (u.rules > 1 ? ", by " + text::decimal(u.rules) + " rules" : "");
  };
  for (const auto& u : uses) {
    const auto& r = *u.first;
    if (!u.entry) {
      // Extended types (0x10000 and up) have no look of their own on most devices.
      bool extended = u.key[0] != '0';
      add(extended ? Severity::warning : Severity::note, u.kind, u.key, r.file, r.name, r.line,
          "missing-type",
          std::string(extended ? "extended " : "") + kind_word(u.kind) +
              " type not in the TYP file (" + drawn_by(u) + "): " +
              (extended ? "many devices do not draw it at all"
                        : "the device draws it in its own default look"));
    }
    if (u.kind == 0 && typ.has_draw_order && !typ.draw_order.contains(u.key))
      add(Severity::warning, u.kind, u.key, r.file, r.name, r.line, "not-in-draw-order",
          "polygon type not in the TYP file's [_drawOrder] (" + drawn_by(u) +
              "): the device does not draw it");
  }

  // Areas and lines of one kind drawn at a shared level that the eye cannot
  // tell apart. Points are told by their icons' shapes, not their colours.
  std::array<std::vector<const Use*>, 2> defined;  // polygons, lines
  for (const auto& u : uses)
    if (u.entry && u.kind < 2) defined[static_cast<std::size_t>(u.kind)].push_back(&u);
  for (auto& of_kind : defined) {
    if (of_kind.size() > alike_types) {
      const auto& u = *of_kind[alike_types];
      add(Severity::note, u.kind, u.key, u.first->file, u.first->name, u.first->line, "looks-alike",
          "not compared: only the first " + text::decimal(static_cast<long long>(alike_types)) +
              " " + kind_word(u.kind) + " types are");
      of_kind.resize(alike_types);
    }
  }
  for (const auto& of_kind : defined) {
    for (std::size_t i = 0; i < of_kind.size(); ++i) {
      const auto& a = *of_kind[i];
      for (std::size_t j = i + 1; j < of_kind.size(); ++j) {
        const auto& b = *of_kind[j];
        auto levels = shared(a.levels, b.levels);
        if (levels.empty()) continue;
        auto difference = alike(a, b);
        if (!difference) continue;
        bool same = *difference < 0.05;
        add(same ? Severity::note : Severity::warning, a.kind, a.key, a.first->file, a.first->name,
            a.first->line, "looks-alike",
            (same ? "drawn exactly like " : "looks like ") + type_shown(b.key) + " (" +
                where(*b.first) + ") at " + levels_text(levels) + ": " +
                (same ? "the same colours" : "colour difference " + one_decimal(*difference)) +
                (a.kind == 1             ? ", width and pattern"
                 : a.entry->rows.empty() ? ""
                                         : " and pattern"));
      }
    }
  }

  if (family_id && typ.family_id && *family_id != *typ.family_id)
    add(Severity::warning, -1, "", typ_path, typ_path, typ.family_id_line, "family-id",
        "the TYP file's FID " + text::decimal(*typ.family_id) + " is not the map's family id " +
            text::decimal(*family_id) + ": the device ignores the TYP file");

  for (const auto& e : typ.entries) {
    if (e.key.empty()) continue;
    if (!e.night_missing.empty())
      add(Severity::note, e.kind, e.key, typ_path, typ_path, e.line, "night-colours-missing",
          e.night_missing + ": the night look is missing");
    if (entries.at(kind_type_key(e.kind, e.key)) == &e &&
        !use_of.contains(kind_type_key(e.kind, e.key)))
      add(Severity::note, e.kind, e.key, typ_path, typ_path, e.line, "unused-entry",
          std::string(kind_word(e.kind)) + " type that no rule of the style draws");
  }

  std::stable_sort(out.begin(), out.end(), [](const TypFinding& a, const TypFinding& b) {
    return a.severity > b.severity;
  });
  return out;
}

std::string findings_summary(const std::vector<TypFinding>& findings) {
  auto warnings = std::count_if(findings.begin(), findings.end(), [](const TypFinding& f) {
    return f.severity == Severity::warning;
  });
  auto notes = static_cast<long long>(findings.size()) - warnings;
  return text::decimal(warnings) + (warnings == 1 ? " warning, " : " warnings, ") +
         text::decimal(notes) + (notes == 1 ? " note" : " notes");
}

}  // namespace zw
