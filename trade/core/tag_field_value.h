// The value of one field of a message being built. A request is built,
// sent and dropped at once, and nearly every value it carries (codes,
// amounts, dates, account and card numbers, a password digest) is a few
// dozen bytes at most: such a value is kept inside the field itself, so
// adding it to a list allocates nothing. A longer value is kept whole on
// the heap; either way the bytes are the ones given, and one NUL byte (not
// counted) follows them, as with a std::string.
#pragma once
#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>

#include "trade/core/short_copy.h"

class TagFieldValue {
 public:
  // The longest value kept inside; with the pointer and the length the
  // whole value is 64 bytes.
  static constexpr size_t kInlineCapacity = 47;

  TagFieldValue() noexcept { inline_[0] = '\0'; }
  // Implicit, so a field can be written as {tag, value, name}.
  TagFieldValue(std::string_view text) { Store(text); }
  TagFieldValue(const std::string& text) : TagFieldValue(std::string_view(text)) {}
  TagFieldValue(const char* text) : TagFieldValue(std::string_view(text)) {}
  TagFieldValue(const TagFieldValue& other) : TagFieldValue(other.View()) {}
  TagFieldValue(TagFieldValue&& other) noexcept;
  TagFieldValue& operator=(const TagFieldValue& other);
  TagFieldValue& operator=(TagFieldValue&& other) noexcept;
  ~TagFieldValue() { delete[] heap_; }

  // Replaces the value; text may lie inside this value. A short value
  // replacing a short one is copied here, without a call.
  void assign(std::string_view text) {
    if (text.size() > kInlineCapacity || heap_) return AssignElsewhere(text);
    CopyBytes(inline_, text.data(), text.size());
    inline_[text.size()] = '\0';
    size_ = text.size();
  }

  const char* data() const noexcept { return heap_ ? heap_ : inline_; }
  const char* c_str() const noexcept { return data(); }
  size_t size() const noexcept { return size_; }
  bool empty() const noexcept { return size_ == 0; }
  std::string_view View() const noexcept { return {data(), size_}; }
  operator std::string_view() const noexcept { return View(); }

  friend bool operator==(const TagFieldValue& a, std::string_view b) noexcept {
    return a.View() == b;
  }

 private:
  // Copies text into an empty value (no heap block held).
  void Store(std::string_view text);
  // assign for a long value, or over one.
  void AssignElsewhere(std::string_view text);
  // Gives up the heap block, if any, and leaves the value empty.
  void Clear() noexcept;
  // Takes other's bytes into this value, which holds no heap block, and
  // leaves other empty.
  void TakeFrom(TagFieldValue& other) noexcept;

  char* heap_ = nullptr;  // the bytes when longer than kInlineCapacity
  size_t size_ = 0;
  char inline_[kInlineCapacity + 1];
};

std::ostream& operator<<(std::ostream& out, const TagFieldValue& value);
