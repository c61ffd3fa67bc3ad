#pragma once
#include <functional>
#include <string>
#include <vector>

#include "rules/element.h"

// Reading OpenStreetMap data (.osm.pbf, .osm, .osm.gz, .osm.bz2) as a stream:
// nothing is held but what the rules need (node locations, for the length and
// shape of ways).
namespace zw::rules {

struct Member {
  ElementKind kind = ElementKind::node;
  std::int64_t id = 0;
  std::string role;
};

struct Relation {
  Element element;
  std::vector<Member> members;
};

// Whether this build reads the file's format; when not, why.
bool format_readable(const std::string& path, std::string& why);

// Reads the file: every relation, in file order, then relations_done, then
// every node with tags and every way with tags and two nodes or more, in file
// order, ways with their closedness, area and (when `lengths`) length. false
// with error naming the file.
bool read_data(const std::string& path, const std::function<void(Relation&)>& relation,
               const std::function<void()>& relations_done,
               const std::function<void(Element&)>& node, const std::function<void(Element&)>& way,
               std::string& error, bool lengths = true);

}  // namespace zw::rules
