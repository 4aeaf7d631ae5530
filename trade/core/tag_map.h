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
    if (n_ == 0) first_.assign(value);
    else rest_.emplace_back(value);
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

// Tags are kept in order of first occurrence. A message has a few dozen
// distinct tags at most, and over so few a lookup reads the tags one after
// another, after a one-word filter has said whether the tag may be there at
// all (most tags a parse adds are new): cheaper than keeping them sorted,
// which moves entries on every tag that arrives out of order. A map with
// many distinct tags (only a malformed message has them) keeps a sorted
// index beside them, so lookups stay logarithmic.
class TagMap {
 public:
  using Values = TagValues;
  using value_type = std::pair<int, Values>;
  using iterator = std::vector<value_type>::iterator;
  using const_iterator = std::vector<value_type>::const_iterator;

  TagMap() = default;
  TagMap(const TagMap&) = default;
  TagMap(TagMap&&) noexcept = default;
  TagMap& operator=(const TagMap&) = default;
  TagMap& operator=(TagMap&&) noexcept = default;
  ~TagMap() { GiveBackBlocks(); }

  // Iteration runs in order of first occurrence.
  iterator begin() { return entries_.begin(); }
  iterator end() { return entries_.end(); }
  const_iterator begin() const { return entries_.begin(); }
  const_iterator end() const { return entries_.end(); }
  bool empty() const { return entries_.empty(); }
  size_t size() const { return entries_.size(); }
  void clear() {
    entries_.clear();
    tags_.clear();
    index_.clear();
    for (uint64_t& word : seen_) word = 0;
    last_ = 0;
  }

  const_iterator find(int tag) const {
    const size_t at = Position(tag);
    return at == kNone ? entries_.end() : entries_.begin() + static_cast<std::ptrdiff_t>(at);
  }
  iterator find(int tag) {
    const size_t at = Position(tag);
    return at == kNone ? entries_.end() : entries_.begin() + static_cast<std::ptrdiff_t>(at);
  }
  size_t count(int tag) const { return Position(tag) != kNone ? 1 : 0; }

  // The values of tag, created empty on first use.
  Values& operator[](int tag) {
    if (Values* values = Existing(tag)) return *values;
    return Create(tag);
  }

  // Appends a value to tag, which is created on its first value.
  void Add(int tag, std::string_view value) {
    if (Values* values = Existing(tag)) {
      values->push_back(value);
    } else {
      Create(tag, value);
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
  static constexpr size_t kNone = ~size_t{0};
  // Room for the tags of a message from the start, so a parse does not
  // move its values to a larger block halfway.
  static constexpr size_t kInitialTags = 32;
  // Beyond this many distinct tags lookups go through the sorted index.
  static constexpr size_t kScanTags = 48;

  static uint64_t Bit(int tag) { return uint64_t{1} << (static_cast<unsigned>(tag) & 63); }
  static size_t Word(int tag) { return (static_cast<unsigned>(tag) >> 6) & 3; }
  bool MayHave(int tag) const { return (seen_[Word(tag)] & Bit(tag)) != 0; }

  // The place of tag in entries_, or kNone.
  size_t Position(int tag) const {
    if (!MayHave(tag)) return kNone;
    if (index_.empty()) {
      const int* tags = tags_.data();
      for (size_t i = 0, n = tags_.size(); i < n; ++i)
        if (tags[i] == tag) return i;
      return kNone;
    }
    auto it = std::lower_bound(index_.begin(), index_.end(), tag,
                               [](const IndexEntry& e, int t) { return e.first < t; });
    return it != index_.end() && it->first == tag ? it->second : kNone;
  }

  // The values of tag, or null when it has none yet.
  Values* Existing(int tag) {
    // Records of a list reply repeat their tags in the same order: the tag
    // after the previous one is the likely next.
    if (last_ < entries_.size()) {
      if (entries_[last_].first == tag) return &entries_[last_].second;
      if (last_ + 1 < entries_.size() && entries_[last_ + 1].first == tag)
        return &entries_[++last_].second;
    }
    const size_t at = Position(tag);
    if (at == kNone) return nullptr;
    last_ = static_cast<uint32_t>(at);
    return &entries_[at].second;
  }

  // A parse makes a map, reads it and drops it, and the next parse on the
  // thread makes another: each thread keeps the blocks of one dropped map
  // (emptied) for its next, which saves the allocation of the larger one.
  struct SpareBlocks {
    std::vector<value_type> entries;
    std::vector<int> tags;
  };
  static SpareBlocks& ThreadSpare() {
    thread_local SpareBlocks spare;
    return spare;
  }
  void GiveBackBlocks() {
    if (entries_.capacity() != kInitialTags || tags_.capacity() != kInitialTags) return;
    SpareBlocks& spare = ThreadSpare();
    if (spare.entries.capacity() != 0) return;
    entries_.clear();
    tags_.clear();
    spare.entries.swap(entries_);
    spare.tags.swap(tags_);
  }
  void TakeBlocks() {
    SpareBlocks& spare = ThreadSpare();
    if (spare.entries.capacity() == kInitialTags && entries_.capacity() == 0 &&
        tags_.capacity() == 0) {
      entries_.swap(spare.entries);
      tags_.swap(spare.tags);
    } else {
      entries_.reserve(kInitialTags);
      tags_.reserve(kInitialTags);
    }
  }

  template <class... FirstValue>
  Values& Create(int tag, FirstValue&&... first) {
    if (entries_.empty()) TakeBlocks();
    last_ = static_cast<uint32_t>(entries_.size());
    tags_.push_back(tag);
    seen_[Word(tag)] |= Bit(tag);
    if (!index_.empty()) {
      const IndexEntry entry{tag, last_};
      index_.insert(std::lower_bound(index_.begin(), index_.end(), entry), entry);
    } else if (tags_.size() > kScanTags) {
      index_.reserve(tags_.size() * 2);
      for (size_t i = 0; i < tags_.size(); ++i)
        index_.emplace_back(tags_[i], static_cast<uint32_t>(i));
      std::sort(index_.begin(), index_.end());
    }
    entries_.emplace_back(std::piecewise_construct, std::forward_as_tuple(tag),
                          std::forward_as_tuple(std::forward<FirstValue>(first)...));
    return entries_.back().second;
  }

  std::vector<value_type> entries_;
  std::vector<int> tags_;          // the tag of each entry, side by side
  std::vector<IndexEntry> index_;  // sorted by tag, once there are many tags
  uint64_t seen_[4] = {};          // a bit per tag modulo 256: may it be here
  uint32_t last_ = 0;
};
