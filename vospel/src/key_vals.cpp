#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "vospel/IniParser.h"

// ---- ValItor ----------------------------------------------------------------

ValItor::ValItor() = default;
ValItor::ValItor(const ValItor& other) = default;
ValItor::ValItor(ValItor&& other) noexcept = default;
ValItor& ValItor::operator=(const ValItor& other) = default;
ValItor& ValItor::operator=(ValItor&& other) noexcept = default;
ValItor::~ValItor() = default;

KeyVals& ValItor::operator[](int i) {
  if (i >= 0 && i < size()) return items_[static_cast<size_t>(i)];
  // Out of range: an invalid value, never memory past the list.
  thread_local KeyVals outside;
  outside = KeyVals();
  outside.SetType(KeyVals::kInvalid);
  return outside;
}

int ValItor::operator>>(char* buf) {
  if (items_.empty()) return 0;
  return items_.front() >> buf;
}

int ValItor::operator>>(int& v) {
  if (items_.empty()) return 0;
  return items_.front() >> v;
}

KeyVals& ValItor::Append(KeyVals&& value) {
  items_.push_back(std::move(value));
  return items_.back();
}

int ValItor::size() const { return static_cast<int>(items_.size()); }

KeyVals& ValItor::Append(const KeyVals& value) {
  items_.push_back(value);
  return items_.back();
}

// ---- KeyVals ----------------------------------------------------------------

KeyVals::KeyVals() = default;
KeyVals::KeyVals(const KeyVals& other) = default;
KeyVals::KeyVals(KeyVals&& other) noexcept = default;
KeyVals& KeyVals::operator=(const KeyVals& other) = default;
KeyVals& KeyVals::operator=(KeyVals&& other) noexcept = default;
KeyVals::~KeyVals() = default;

int KeyVals::operator>>(char* buf) {
  if (buf == nullptr) return 0;
  if (!hasText_) {
    buf[0] = '\0';
    return 0;
  }
  std::strcpy(buf, text_.c_str());
  return 1;
}

int KeyVals::operator>>(int& v) {
  if (!hasText_) return 0;
  v = static_cast<int>(std::atol(text_.c_str()));
  return 1;
}

int KeyVals::Read(char* buf, size_t size) const {
  if (buf == nullptr || size == 0) return 0;
  if (!hasText_) {
    buf[0] = '\0';
    return 0;
  }
  size_t n = text_.size() < size - 1 ? text_.size() : size - 1;
  std::memcpy(buf, text_.data(), n);
  buf[n] = '\0';
  return n == text_.size() ? 1 : 0;
}

int KeyVals::operator<<(const char* text) {
  if (type_ == kList || text == nullptr) return 0;
  SetText(kOwned, text);
  return 1;
}

int KeyVals::operator<<(int v) {
  char text[100];
  std::snprintf(text, sizeof text, "%d", v);
  return *this << text;
}

KeyVals& KeyVals::operator[](int i) {
  int n = list_.size();
  if (n == 0) return *this;
  if (i < 0) i = 0;
  return list_.Items()[static_cast<size_t>(i < n ? i : n - 1)];
}

void KeyVals::Set(uint8_t type, uint16_t depth, const char* text, size_t length) {
  type_ = type;
  depth_ = depth;
  hasText_ = text != nullptr;
  if (hasText_) {
    text_.assign(text, length);
  } else {
    text_.clear();
  }
}

void KeyVals::SetText(uint8_t type, const std::string& text) {
  type_ = type;
  hasText_ = true;
  text_ = text;
}
