#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zw::rules {

// An element's tags in the order they were read; a handful per element, so a
// list beats a map.
class Tags {
 public:
  const std::string* get(std::string_view key) const;
  void set(std::string_view key, std::string_view value);
  // For a key the list does not have yet (tags as read: keys are unique).
  void append(std::string_view key, std::string_view value) {
    items_.emplace_back(key, value);
    ++keys_changed_;
  }
  void remove(std::string_view key);
  void clear() {
    items_.clear();
    ++keys_changed_;
  }
  bool empty() const { return items_.empty(); }
  const std::vector<std::pair<std::string, std::string>>& items() const { return items_; }
  // Changes whenever a key comes or goes (not when a value changes).
  std::uint32_t keys_changed() const { return keys_changed_; }

 private:
  std::vector<std::pair<std::string, std::string>> items_;
  std::uint32_t keys_changed_ = 0;
};

enum class ElementKind { node, way, relation };

// One OSM element as the rules see it: its tags and what the functions of the
// rule language ask about its shape.
struct Element {
  ElementKind kind = ElementKind::node;
  std::int64_t id = 0;
  Tags tags;
  bool closed = false;    // first and last node are the same
  std::size_t nodes = 0;  // of a way
  bool complete = true;   // every node's location was in the data
  double length = 0;      // metres
  double area_size = 0;   // square Garmin units (360/2^24 degrees)
};

// "node/12", "way/34", "relation/56": how the trace names an element.
std::string element_name(ElementKind kind, std::int64_t id);
const char* kind_word(ElementKind kind);

}  // namespace zw::rules
