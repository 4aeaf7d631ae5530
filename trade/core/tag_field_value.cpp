#include "trade/core/tag_field_value.h"

#include <cstring>
#include <ostream>

TagFieldValue::TagFieldValue(TagFieldValue&& other) noexcept { TakeFrom(other); }

TagFieldValue& TagFieldValue::operator=(const TagFieldValue& other) {
  assign(other.View());
  return *this;
}

TagFieldValue& TagFieldValue::operator=(TagFieldValue&& other) noexcept {
  if (this == &other) return *this;
  Clear();
  TakeFrom(other);
  return *this;
}

void TagFieldValue::TakeFrom(TagFieldValue& other) noexcept {
  heap_ = other.heap_;
  size_ = other.size_;
  if (!heap_) CopyBytes(inline_, other.inline_, size_ + 1);
  other.heap_ = nullptr;
  other.size_ = 0;
  other.inline_[0] = '\0';
}

void TagFieldValue::Store(std::string_view text) {
  size_ = text.size();
  char* to = inline_;
  if (size_ > kInlineCapacity) to = heap_ = new char[size_ + 1];
  CopyBytes(to, text.data(), size_);
  to[size_] = '\0';
}

void TagFieldValue::AssignElsewhere(std::string_view text) {
  // The new bytes are in place before the old block goes: text may lie in it.
  char* fresh = nullptr;
  char* to = inline_;
  if (text.size() > kInlineCapacity) to = fresh = new char[text.size() + 1];
  CopyBytes(to, text.data(), text.size());
  to[text.size()] = '\0';
  delete[] heap_;
  heap_ = fresh;
  size_ = text.size();
}

void TagFieldValue::Clear() noexcept {
  delete[] heap_;
  heap_ = nullptr;
  size_ = 0;
  inline_[0] = '\0';
}

std::ostream& operator<<(std::ostream& out, const TagFieldValue& value) {
  return out << value.View();
}
