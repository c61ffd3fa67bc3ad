#include "rules/trace.h"

#include <algorithm>
#include <memory>
#include <unordered_map>

#include "base/text.h"
#include "rules/osm_reader.h"

namespace zw::rules {
namespace {

constexpr std::size_t max_examples = 3;
// Relations inside relations deeper than this are a loop.
constexpr int max_apply_depth = 16;

std::uint64_t key_of(ElementKind kind, std::int64_t id) {
  return (static_cast<std::uint64_t>(id) << 2) | static_cast<std::uint64_t>(kind);
}

// What relations' apply actions leave for their members, performed on each
// member when it is read, in the order the relations ran.
class Members : public ApplyTarget {
 public:
  struct Pending {
    const Action* action;
    std::shared_ptr<const Element> relation;
  };

  explicit Members(std::unordered_map<std::int64_t, Relation>& relations) : relations_(relations) {}

  void apply(const Action& a, const Element& relation) override {
    auto it = relations_.find(relation.id);
    if (it == relations_.end()) return;
    auto snapshot = std::make_shared<const Element>(relation);
    std::vector<std::uint64_t> done;
    for (const auto& m : it->second.members) {
      if (a.has_role && m.role != a.role) continue;
      std::uint64_t key = key_of(m.kind, m.id);
      if (a.kind == Action::Kind::apply_once) {
        if (std::find(done.begin(), done.end(), key) != done.end()) continue;
        done.push_back(key);
      }
      if (m.kind == ElementKind::relation) {
        auto sub = relations_.find(m.id);
        if (sub == relations_.end() || depth_ >= max_apply_depth) continue;
        ++depth_;
        perform(a.body, sub->second.element, snapshot.get(), this, nullptr);
        --depth_;
      } else {
        pending_[key].push_back({&a, snapshot});
      }
    }
  }

  void perform_pending(Element& el) {
    auto it = pending_.find(key_of(el.kind, el.id));
    if (it == pending_.end()) return;
    for (const auto& p : it->second)
      perform(p.action->body, el, p.relation.get(), nullptr, nullptr);
    pending_.erase(it);
  }

 private:
  std::unordered_map<std::int64_t, Relation>& relations_;
  std::unordered_map<std::uint64_t, std::vector<Pending>> pending_;
  int depth_ = 0;
};

bool free_text(const std::string& key, const std::string& value) {
  static const char* const prefixes[] = {
      "name",          "addr:",    "source",   "note",       "description", "ref",
      "wiki",          "website",  "url",      "phone",      "email",       "fixme",
      "opening_hours", "alt_name", "old_name", "created_by", "height",      "ele",
      "start_date",    "is_in",    "operator", "brand",      "contact:",    "image",
      "official_name", "int_name", "loc_name", "short_name", "level",       "building:levels"};
  for (const char* p : prefixes)
    if (text::starts_with(key, p)) return true;
  return value.size() > 24;
}

class Tracer {
 public:
  Tracer(const Style& style, const TraceOptions& options, Trace& trace)
      : style_(style), options_(options), trace_(trace) {
    for (int k = 0; k < kind_count; ++k) {
      auto kk = static_cast<std::size_t>(k);
      trace_.rules[kk].assign(style.rules[kk].size(), {});
      trace_.finalize[kk].assign(style.finalize[kk].size(), {});
    }
  }

  void relation(Relation& r) {
    auto id = r.element.id;
    const std::string* type = r.element.tags.get("type");
    if (type && (*type == "multipolygon" || *type == "boundary")) {
      auto tags = std::make_shared<const Tags>(r.element.tags);
      areas_.push_back({*type == "boundary", r.element.id, tags});
      for (const auto& m : r.members)
        if (m.kind == ElementKind::way && (m.role == "outer" || m.role.empty()))
          area_outers_[m.id].push_back(tags);
    }
    relations_.emplace(id, std::move(r));
    order_.push_back(id);
  }

  void run_relations(Members& members) {
    for (auto id : order_) {
      auto it = relations_.find(id);
      if (it == relations_.end() || it->second.element.tags.empty()) continue;
      run_one(it->second.element, {relations}, members);
    }
  }

  // mkgmap joins the outer ways of an area relation into ways of its own that
  // carry the relation's tags: the outlines of a boundary are lines, the
  // rings of a multipolygon polygons. They are named after the relation.
  void run_areas(Members& members) {
    for (const auto& a : areas_) {
      Element el;
      el.kind = ElementKind::way;
      el.id = a.id;
      for (const auto& [k, v] : a.tags->items())
        if (k != "type") el.tags.set(k, v);
      if (el.tags.empty()) continue;
      el.tags.set("mkgmap:mp_created", "true");
      el.closed = true;
      run_one(el, {a.boundary ? lines : polygons}, members,
              element_name(ElementKind::relation, a.id));
    }
  }

  void node(Element& el, Members& members) {
    members.perform_pending(el);
    run_one(el, {points}, members);
  }

  void way(Element& el, Members& members) {
    // mkgmap takes from the outer ways of an area relation the tags that the
    // relation has too (its area carries them); a way left bare is dropped.
    auto outer = area_outers_.find(el.id);
    if (outer != area_outers_.end()) {
      for (const auto& tags : outer->second)
        for (const auto& [k, v] : tags->items()) {
          const std::string* mine = el.tags.get(k);
          if (k != "type" && mine && *mine == v) el.tags.remove(k);
        }
      if (el.tags.empty()) return;
    }
    members.perform_pending(el);
    // A roundabout is one way unless tagged otherwise, before any rule runs.
    const std::string* junction = el.tags.get("junction");
    if (junction && *junction == "roundabout" && !el.tags.get("oneway"))
      el.tags.set("oneway", "yes");
    // mkgmap tests a closed way (of four nodes or more) against the lines and
    // then the polygons, as one list; any other way against the lines.
    if (el.closed && el.complete && el.nodes >= 4)
      run_one(el, {lines, polygons}, members);
    else
      run_one(el, {lines}, members);
  }

 private:
  void run_one(Element& el, std::vector<int> kinds, Members& members, std::string name = {}) {
    if (name.empty()) name = element_name(el.kind, el.id);
    Run run;
    run.explain = name == options_.explain;
    Tags before = el.tags;
    run_rules(style_, kinds, el, &members, run);
    for (const Rule* r : run.caught) {
      auto k = static_cast<std::size_t>(r->kind);
      const auto& list = r->finalize ? style_.finalize[k] : style_.rules[k];
      auto& tallies = r->finalize ? trace_.finalize[k] : trace_.rules[k];
      auto index = static_cast<std::size_t>(r - list.data());
      if (index >= tallies.size()) continue;
      auto& t = tallies[index];
      if (t.examples.empty() || t.examples.back() != name) {
        ++t.caught;
        if (t.examples.size() < max_examples) t.examples.push_back(name);
      }
      if (options_.keep_pairs)
        trace_.pairs.emplace_back(r->file + ":" + std::to_string(r->line), name);
    }
    for (int kind : kinds) {
      auto& kt = trace_.kinds[static_cast<std::size_t>(kind)];
      ++kt.read;

      bool caught = !run.types.empty();
      if (kind == relations) caught = !run.caught.empty();
      if (caught)
        ++kt.caught;
      else
        ++kt.uncaught[tag_combination(before)];
    }
    if (run.explain) explain(name, before, run);
  }

  void explain(const std::string& name, const Tags& before, const Run& run) {
    auto& out = trace_.explanation;
    out.push_back({"element", name});
    std::string tags;
    for (const auto& [k, v] : before.items()) tags += (tags.empty() ? "" : " ") + k + "=" + v;
    out.push_back({"tags", tags});
    for (const auto& l : run.lines) {
      out.push_back({"rule"});
      out.back().insert(out.back().end(), l.begin(), l.end());
    }
    trace_.explained_types = run.types;
  }

  const Style& style_;
  const TraceOptions& options_;
  Trace& trace_;

 public:
  std::unordered_map<std::int64_t, Relation> relations_;
  std::vector<std::int64_t> order_;
  std::unordered_map<std::int64_t, std::vector<std::shared_ptr<const Tags>>> area_outers_;
  struct Area {
    bool boundary;
    std::int64_t id;
    std::shared_ptr<const Tags> tags;
  };
  std::vector<Area> areas_;
};

}  // namespace

std::string tag_combination(const Tags& tags) {
  std::vector<std::string> parts;
  for (const auto& [k, v] : tags.items()) parts.push_back(free_text(k, v) ? k + "=*" : k + "=" + v);
  std::sort(parts.begin(), parts.end());
  std::string out;
  for (const auto& p : parts) out += (out.empty() ? "" : " ") + p;
  return out;
}

bool run_trace(const Style& style, const std::string& data, const TraceOptions& options,
               Trace& trace, std::string& error) {
  Tracer tracer(style, options, trace);
  Members members(tracer.relations_);
  try {
    if (!read_data(
            data, [&](Relation& r) { tracer.relation(r); },
            [&] {
              tracer.run_relations(members);
              tracer.run_areas(members);
            },
            [&](Element& el) { tracer.node(el, members); },
            [&](Element& el) { tracer.way(el, members); }, error, style.tests_length))
      return false;
  } catch (const RegexTooCostly& e) {
    error = e.what();
    return false;
  }
  return true;
}

}  // namespace zw::rules

#include "levels/drawn_levels.h"

namespace zw::rules {

std::vector<int> type_levels(const TypeDef& type, const LevelTable& levels) {
  int from = 24, to = 24;
  auto res_of = [&](int level) {
    if (level < 0 || level > levels.main_level_last ||
        level >= static_cast<int>(levels.level_res.size()))
      return -1;
    return static_cast<int>(levels.level_res[static_cast<std::size_t>(level)]);
  };
  if (type.level_from >= 0) {
    int lo = type.level_from, hi = type.level_to >= 0 ? type.level_to : type.level_from;
    if (lo > hi) std::swap(lo, hi);
    from = res_of(hi);
    to = type.level_to >= 0 ? res_of(lo) : 24;
    if (from < 0 || to < 0) return {};
  } else if (type.resolution_from >= 0) {
    from = type.resolution_from;
    to = type.resolution_to >= 0 ? type.resolution_to : 24;
    if (from > to) std::swap(from, to);
  }
  return drawn_levels(levels, from, to);
}

}  // namespace zw::rules
