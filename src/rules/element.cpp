#include "rules/element.h"

#include <algorithm>

namespace zw::rules {

const std::string* Tags::get(std::string_view key) const {
  for (const auto& [k, v] : items_)
    if (k == key) return &v;
  return nullptr;
}

void Tags::set(std::string_view key, std::string_view value) {
  for (auto& [k, v] : items_)
    if (k == key) {
      v = value;
      return;
    }
  items_.emplace_back(key, value);
  ++keys_changed_;
}

void Tags::remove(std::string_view key) {
  auto gone =
      std::remove_if(items_.begin(), items_.end(), [&](const auto& kv) { return kv.first == key; });
  if (gone == items_.end()) return;
  items_.erase(gone, items_.end());
  ++keys_changed_;
}

const char* kind_word(ElementKind kind) {
  switch (kind) {
    case ElementKind::node:
      return "node";
    case ElementKind::way:
      return "way";
    case ElementKind::relation:
      return "relation";
  }
  return "node";
}

std::string element_name(ElementKind kind, std::int64_t id) {
  return std::string(kind_word(kind)) + "/" + std::to_string(id);
}

}  // namespace zw::rules
