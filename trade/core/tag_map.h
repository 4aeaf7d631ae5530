// A parsed trade message: each tag with its values in order of occurrence,
// ordered by tag. Kept as one sorted vector rather than a node-based map,
// and the first value of a tag is held in place: most tags of a reply occur
// once, so parsing a short reply allocates almost nothing.
#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

// The values of one tag, in order of occurrence.
class TagValues {
 public:
  TagValues() = default;
  explicit TagValues(std::string_view first) : n_(1), first_(first) {}

  size_t size() const { return n_; }
  bool empty() const { return n_ == 0; }
  const std::string& operator[](size_t i) const { return i == 0 ? first_ : rest_[i - 1]; }
  std::string& operator[](size_t i) { return i == 0 ? first_ : rest_[i - 1]; }
  const std::string& front() const { return first_; }
  const std::string& back() const { return n_ <= 1 ? first_ : rest_.back(); }

  void push_back(std::string_view value) {
    if (n_ == 0)
      first_.assign(value);
    else
      rest_.emplace_back(value);
    ++n_;
  }
  void emplace_back(std::string_view value) { push_back(value); }

  std::vector<std::string> ToVector() const {
    std::vector<std::string> out;
    out.reserve(n_);
    for (size_t i = 0; i < n_; ++i) out.push_back((*this)[i]);
    return out;
  }

  class const_iterator {
   public:
    const_iterator(const TagValues* v, size_t i) : v_(v), i_(i) {}
    const std::string& operator*() const { return (*v_)[i_]; }
    const_iterator& operator++() {
      ++i_;
      return *this;
    }
    bool operator!=(const const_iterator& o) const { return i_ != o.i_; }
    bool operator==(const const_iterator& o) const { return i_ == o.i_; }

   private:
    const TagValues* v_;
    size_t i_;
  };
  const_iterator begin() const { return {this, 0}; }
  const_iterator end() const { return {this, n_}; }

  bool operator==(const TagValues& o) const {
    return n_ == o.n_ && first_ == o.first_ && rest_ == o.rest_;
  }

 private:
  size_t n_ = 0;
  std::string first_;
  std::vector<std::string> rest_;
};

// Tags are kept in order of first occurrence with a sorted index beside
// them, so a lookup is a binary search and adding a tag moves only index
// entries, never values.
class TagMap {
 public:
  using Values = TagValues;
  using value_type = std::pair<int, Values>;
  using iterator = std::vector<value_type>::iterator;
  using const_iterator = std::vector<value_type>::const_iterator;

  // Iteration runs in order of first occurrence.
  iterator begin() { return entries_.begin(); }
  iterator end() { return entries_.end(); }
  const_iterator begin() const { return entries_.begin(); }
  const_iterator end() const { return entries_.end(); }
  bool empty() const { return entries_.empty(); }
  size_t size() const { return entries_.size(); }
  void clear() {
    entries_.clear();
    index_.clear();
    last_ = 0;
  }

  const_iterator find(int tag) const {
    auto it = IndexOf(tag);
    return it != index_.end() && it->first == tag ? entries_.begin() + it->second : entries_.end();
  }
  iterator find(int tag) {
    auto it = IndexOf(tag);
    return it != index_.end() && it->first == tag ? entries_.begin() + it->second : entries_.end();
  }
  size_t count(int tag) const { return find(tag) != end() ? 1 : 0; }

  // The values of tag, created empty on first use.
  Values& operator[](int tag) {
    size_t at;
    if (Values* values = Existing(tag, &at)) return *values;
    return Create(at, tag);
  }

  // Appends a value to tag, which is created on its first value.
  void Add(int tag, std::string_view value) {
    size_t at;
    if (Values* values = Existing(tag, &at)) {
      values->push_back(value);
    } else {
      Create(at, tag, value);
    }
  }

  bool operator==(const TagMap& other) const {
    if (size() != other.size()) return false;
    for (const value_type& e : entries_) {
      auto o = other.find(e.first);
      if (o == other.end() || !(o->second == e.second)) return false;
    }
    return true;
  }

 private:
  using IndexEntry = std::pair<int, uint32_t>;
  // A message has a few dozen tags: room for them from the start, so a
  // parse does not move its values to a larger block halfway.
  static constexpr size_t kInitialTags = 32;

  // The values of tag, or null with *at the place of tag in the index.
  Values* Existing(int tag, size_t* at) {
    // Records of a list reply repeat their tags in the same order: the tag
    // after the previous one is the likely next.
    if (last_ < entries_.size()) {
      if (entries_[last_].first == tag) return &entries_[last_].second;
      if (last_ + 1 < entries_.size() && entries_[last_ + 1].first == tag)
        return &entries_[++last_].second;
    }
    // Messages mostly list their tags in ascending order: a tag above every
    // one seen so far is new, and its place is the end, without a search.
    if (index_.empty() || index_.back().first < tag) {
      *at = index_.size();
      return nullptr;
    }
    auto it = IndexOf(tag);
    *at = static_cast<size_t>(it - index_.begin());
    if (it == index_.end() || it->first != tag) return nullptr;
    last_ = it->second;
    return &entries_[last_].second;
  }

  template <class... FirstValue>
  Values& Create(size_t at, int tag, FirstValue&&... first) {
    if (entries_.empty()) {
      entries_.reserve(kInitialTags);
      index_.reserve(kInitialTags);
    }
    last_ = static_cast<uint32_t>(entries_.size());
    index_.emplace(index_.begin() + static_cast<std::ptrdiff_t>(at), tag, last_);
    entries_.emplace_back(std::piecewise_construct, std::forward_as_tuple(tag),
                          std::forward_as_tuple(std::forward<FirstValue>(first)...));
    return entries_.back().second;
  }

  std::vector<IndexEntry>::const_iterator IndexOf(int tag) const {
    return std::lower_bound(index_.begin(), index_.end(), tag,
                            [](const IndexEntry& e, int t) { return e.first < t; });
  }

  std::vector<value_type> entries_;
  std::vector<IndexEntry> index_;  // sorted by tag: position in entries_
  uint32_t last_ = 0;
};
