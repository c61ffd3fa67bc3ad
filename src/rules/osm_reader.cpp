#include "rules/osm_reader.h"

#include <cmath>
#include <cstring>
#include <exception>
#include <filesystem>

#include <osmium/geom/haversine.hpp>
#include <osmium/handler/node_locations_for_ways.hpp>
#include <osmium/index/map/flex_mem.hpp>
#include <osmium/io/gzip_compression.hpp>
#include <osmium/io/pbf_input.hpp>
#include <osmium/io/reader.hpp>
#include <osmium/visitor.hpp>
#ifdef ZW_HAVE_EXPAT
#include <osmium/io/xml_input.hpp>
#endif
#ifdef ZW_HAVE_BZIP2
#include <osmium/io/bzip2_compression.hpp>
#endif

#include "base/file_io.h"
#include "base/paths.h"
#include "base/text.h"
#include "rules/evaluate.h"

namespace zw::rules {
namespace {

// One Garmin unit is 360/2^24 degrees.
constexpr double garmin_units_per_degree = 16777216.0 / 360.0;

void copy_tags(const osmium::TagList& from, Tags& to) {
  for (const auto& t : from) to.append(t.key(), t.value());
}

ElementKind kind_of(osmium::item_type t) {
  if (t == osmium::item_type::way) return ElementKind::way;
  if (t == osmium::item_type::relation) return ElementKind::relation;
  return ElementKind::node;
}

// The file as osmium should read it, or an error naming it: only regular files
// with data, in a format this build reads.
bool openable(const std::string& path, std::string& error) {
  auto what = file_io::kind_of(paths::to_host(path), true);
  if (what == file_io::Kind::none) {
    error = path + ": no such file";
    return false;
  }
  if (what != file_io::Kind::regular) {
    error = path + ": is " + file_io::describe(what) + ", not a data file";
    return false;
  }
  std::string why;
  if (!format_readable(path, why)) {
    error = path + ": " + why;
    return false;
  }
  std::error_code ec;
  if (std::filesystem::file_size(paths::to_host(path), ec) == 0 && !ec) {
    error = path + ": is empty, not OSM data";
    return false;
  }
  return true;
}

struct RelationHandler : osmium::handler::Handler {
  const std::function<void(Relation&)>* each = nullptr;
  void relation(const osmium::Relation& r) {
    Relation rel;
    rel.element.kind = ElementKind::relation;
    rel.element.id = r.id();
    copy_tags(r.tags(), rel.element.tags);
    for (const auto& m : r.members()) rel.members.push_back({kind_of(m.type()), m.ref(), m.role()});
    (*each)(rel);
  }
};

using Index = osmium::index::map::FlexMem<osmium::unsigned_object_id_type, osmium::Location>;

struct NodeWayHandler : osmium::handler::Handler {
  explicit NodeWayHandler(Index& index) : locations(index) {}
  osmium::handler::NodeLocationsForWays<Index> locations;
  const std::function<void(Element&)>* node_each = nullptr;
  const std::function<void(Element&)>* way_each = nullptr;
  bool lengths = true;

  void node(const osmium::Node& n) {
    locations.node(n);
    if (n.tags().empty()) return;
    Element el;
    el.kind = ElementKind::node;
    el.id = n.id();
    copy_tags(n.tags(), el.tags);
    (*node_each)(el);
  }

  void way(osmium::Way& w) {
    if (w.tags().empty() || w.nodes().size() < 2) return;
    locations.way(w);
    Element el;
    el.kind = ElementKind::way;
    el.id = w.id();
    copy_tags(w.tags(), el.tags);
    const auto& nodes = w.nodes();
    el.closed = nodes.front().ref() == nodes.back().ref();
    el.nodes = nodes.size();
    double area = 0;
    const osmium::NodeRef* prev = nullptr;
    for (const auto& nr : nodes) {
      if (!nr.location().valid()) {
        el.complete = false;
        prev = nullptr;
        continue;
      }
      if (prev) {
        // Four sines and cosines a segment: only for styles that ask.
        if (lengths)
          el.length += osmium::geom::haversine::distance(prev->location(), nr.location());
        area += (prev->location().lon() * nr.location().lat() -
                 nr.location().lon() * prev->location().lat());
      }
      prev = &nr;
    }
    if (el.closed && el.complete)
      el.area_size = std::fabs(area) / 2 * garmin_units_per_degree * garmin_units_per_degree;
    (*way_each)(el);
  }
};

}  // namespace

bool format_readable(const std::string& path, std::string& why) {
  std::string name = text::lower(paths::part(path, 1));
  auto ends = [&](const char* s) { return name.size() >= std::strlen(s) && name.ends_with(s); };
  if (ends(".pbf")) return true;
#ifndef ZW_HAVE_EXPAT
  if (ends(".osm") || ends(".osm.gz") || ends(".osm.bz2") || ends(".xml")) {
    why = "OSM XML files cannot be read by this build (it reads .osm.pbf)";
    return false;
  }
#endif
#ifndef ZW_HAVE_BZIP2
  if (ends(".bz2")) {
    why = "bzip2 files cannot be read by this build";
    return false;
  }
#endif
  if (ends(".osm") || ends(".osm.gz") || ends(".osm.bz2")) return true;
  why = "unknown data format (expected .osm.pbf, .osm, .osm.gz or .osm.bz2)";
  return false;
}

bool read_data(const std::string& path, const std::function<void(Relation&)>& relation,
               const std::function<void()>& relations_done,
               const std::function<void(Element&)>& node, const std::function<void(Element&)>& way,
               std::string& error, bool lengths) {
  if (!openable(path, error)) return false;
  try {
    // Both readings start at once: while the relations are read and handled,
    // the second already decodes the nodes and ways ahead, on another core.
    osmium::io::File file(paths::to_host(path));
    osmium::io::Reader first(file, osmium::osm_entity_bits::relation, osmium::io::read_meta::no);
    osmium::io::Reader second(file, osmium::osm_entity_bits::node | osmium::osm_entity_bits::way,
                              osmium::io::read_meta::no);
    RelationHandler relations;
    relations.each = &relation;
    while (osmium::memory::Buffer buffer = first.read()) osmium::apply(buffer, relations);
    first.close();
    relations_done();
    Index index;
    NodeWayHandler h(index);
    h.locations.ignore_errors();
    h.node_each = &node;
    h.way_each = &way;
    h.lengths = lengths;
    while (osmium::memory::Buffer buffer = second.read()) osmium::apply(buffer, h);
    second.close();
  } catch (const RegexTooCostly&) {
    throw;  // the style's fault, not the data's
  } catch (const std::exception& e) {
    error = path + ": not readable as OSM data: " + e.what();
    return false;
  }
  return true;
}

}  // namespace zw::rules
