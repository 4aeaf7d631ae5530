// What text drawing keeps from call to call: DrawText's prepared and laid
// out text, and the converted text and width TextOut and GetTextExtent
// take. A grid paints the same few hundred strings over and over; laying
// them out is most of what drawing text costs.
//
// Entries are keyed by the font's serial, the format bits that change the
// text or its lines, the width that matters (wrapping or eliding) and the
// GBK bytes, so a hit is exactly what a miss would make. Each thread has
// its own caches (a layout is not drawn from two threads at once), least
// recently used entries go first, and both count and memory are bounded.
// The calling thread's caches are emptied when the application ends, while
// the fonts their layouts hold can still be let go.
#pragma once
#include <QString>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <list>
#include <string>
#include <string_view>
#include <unordered_map>

#include "gdi_text_layout.h"

namespace platform::gdi_detail {

struct TextKey {
  uint64_t font;
  uint32_t format;
  int32_t width;
  std::string_view text;
  bool operator==(const TextKey& other) const {
    return font == other.font && format == other.format && width == other.width &&
           text == other.text;
  }
};

// Least recently used first out, within a count and a byte budget.
template <class Value>
class TextLru {
 public:
  TextLru(size_t maxEntries, size_t maxBytes) : maxEntries_(maxEntries), maxBytes_(maxBytes) {}
  TextLru(const TextLru&) = delete;
  TextLru& operator=(const TextLru&) = delete;

  // The entry of the key, made by make() when missing. Valid until the next
  // call that makes an entry.
  template <class Make>
  const Value& FindOrMake(const TextKey& key, Make&& make) {
    auto it = index_.find(key);
    if (it != index_.end()) {
      order_.splice(order_.begin(), order_, it->second);
      return it->second->value;
    }
    order_.push_front(Node{key.font, key.format, key.width, std::string(key.text), make(), 0});
    Node& node = order_.front();
    node.cost = node.text.size() + node.value.Cost() + kNodeOverhead;
    bytes_ += node.cost;
    index_.emplace(node.Key(), order_.begin());
    Trim();
    return node.value;
  }

  void SetLimits(size_t maxEntries, size_t maxBytes) {
    maxEntries_ = maxEntries;
    maxBytes_ = maxBytes;
    Trim();
  }
  void Clear() {
    index_.clear();
    order_.clear();
    bytes_ = 0;
  }
  size_t Size() const { return order_.size(); }
  size_t Bytes() const { return bytes_; }

 private:
  static constexpr size_t kNodeOverhead = 128;  // list node, index entry, key
  struct Node {
    uint64_t font;
    uint32_t format;
    int32_t width;
    std::string text;
    Value value;
    size_t cost;
    TextKey Key() const { return TextKey{font, format, width, text}; }
  };
  struct Hash {
    size_t operator()(const TextKey& k) const {
      size_t h = std::hash<std::string_view>()(k.text);
      h ^= std::hash<uint64_t>()(k.font ^ (uint64_t(k.format) << 32) ^ uint32_t(k.width)) +
           0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2);
      return h;
    }
  };

  // The newest entry stays even when it alone is over the budget.
  void Trim() {
    while (order_.size() > 1 && (order_.size() > maxEntries_ || bytes_ > maxBytes_)) {
      Node& last = order_.back();
      bytes_ -= last.cost;
      index_.erase(last.Key());
      order_.pop_back();
    }
  }

  size_t maxEntries_;
  size_t maxBytes_;
  size_t bytes_ = 0;
  std::list<Node> order_;  // most recently used first
  // Keys view the nodes' own text, which never moves.
  std::unordered_map<TextKey, typename std::list<Node>::iterator, Hash> index_;
};

// TextOut's and GetTextExtent's text and its width in the font.
struct TextExtent {
  QString text;
  int advance = 0;
  size_t Cost() const { return sizeof(TextExtent) + size_t(text.size()) * 2; }
};

struct TextCaches {
  TextLru<LaidOutText> layouts{kLayouts, kLayoutBytes};
  TextLru<TextExtent> extents{kExtents, kExtentBytes};

  // Two full screens of grid cells, a few megabytes.
  static constexpr size_t kLayouts = 4096, kLayoutBytes = 8u << 20;
  static constexpr size_t kExtents = 4096, kExtentBytes = 1u << 20;
  // Longer texts are not kept: drawing one costs more than the lookup saves.
  static constexpr size_t kLongestText = 1024;
};

// The calling thread's caches.
TextCaches& ThreadTextCaches();

}  // namespace platform::gdi_detail
