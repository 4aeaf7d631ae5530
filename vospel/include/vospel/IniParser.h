// Vospel: the configuration-file library. A sectioned key/value format with
// nested value lists and named blocks ("domain<<Name>>{...}"), read into a
// model, queried and assigned through a selection, and written back in a
// normalised layout that keeps comment lines.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#define VOSPEL_API __attribute__((visibility("default")))

class KeyVals;

// An ordered list of values; copies copy the values.
class VOSPEL_API ValItor {
 public:
  ValItor();
  ValItor(const ValItor& other);
  ValItor(ValItor&& other) noexcept;
  ValItor& operator=(const ValItor& other);
  ValItor& operator=(ValItor&& other) noexcept;
  ~ValItor();

  // Element i; an index outside the list yields an invalid value
  // (isvalid() == 0) instead of reading past the end.
  KeyVals& operator[](int i);
  // The first value's text; 0 when the list is empty or it has no text.
  int operator>>(char* buf);
  int operator>>(int& v);

  int size() const;
  KeyVals& Append(const KeyVals& value);
  KeyVals& Append(KeyVals&& value);
  std::vector<KeyVals>& Items() { return items_; }
  const std::vector<KeyVals>& Items() const { return items_; }

 private:
  std::vector<KeyVals> items_;
};

// One value: a text, an empty value or a nested list.
class VOSPEL_API KeyVals {
 public:
  enum Type : uint8_t {
    kParsed = 0,    // text as read from the file
    kList = 1,      // nested list
    kEmpty = 3,     // no text
    kPooled = 4,    // text assigned through the parser
    kOwned = 5,     // text assigned through the value itself
    kInvalid = 125  // marks "no value"
  };

  KeyVals();
  KeyVals(const KeyVals& other);
  KeyVals(KeyVals&& other) noexcept;
  KeyVals& operator=(const KeyVals& other);
  KeyVals& operator=(KeyVals&& other) noexcept;
  ~KeyVals();

  // Copies the text into buf (the caller's buffer must hold it); 1.
  int operator>>(char* buf);
  // atol of the text; 1.
  int operator>>(int& v);
  // Copies at most size - 1 bytes of the text and a zero; 1, or 0 when
  // there is no text or it was cut.
  int Read(char* buf, size_t size) const;
  // Assigns an owned text (type 5); 0 for a list.
  int operator<<(const char* text);
  int operator<<(int v);
  // Element i of the nested list (the last one when i is beyond it); the
  // value itself without a list or with an empty one.
  KeyVals& operator[](int i);
  int isvalid() const { return type_ == kInvalid ? 0 : 1; }
  int size() const { return list_.size(); }

  uint16_t GetDepth() const { return depth_; }
  uint8_t GetType() const { return type_; }
  // nullptr when the value holds no text (a list, or no text at all).
  const char* GetText() const { return hasText_ ? text_.c_str() : nullptr; }
  const std::string& Text() const { return text_; }
  ValItor& GetList() { return list_; }
  const ValItor& GetList() const { return list_; }

  // Used by the reader and the parser's selection.
  void Set(uint8_t type, uint16_t depth, const char* text, size_t length);
  void SetText(uint8_t type, const std::string& text);
  void SetType(uint8_t type) { type_ = type; }

 private:
  uint16_t depth_ = 0;
  uint8_t type_ = kEmpty;
  bool hasText_ = false;
  std::string text_;
  ValItor list_;
};

struct IniContext;

// One parser with one file.
class VOSPEL_API CIniParser {
 public:
  CIniParser();
  // Copies share one context.
  CIniParser(const CIniParser& other);
  CIniParser& operator=(const CIniParser& other);
  virtual ~CIniParser();

  // Reads and parses the file; 1 or 0 (with a message box).
  int SetIniFile(const char* path);
  // Writes the model back to the file of the last SetIniFile; 1 or 0.
  int DumpIniFile();

  // Makes a section, a block of a section, or a top-level block current,
  // creating what is missing; always 1.
  int LocateRegion(const char* section, const char* domain);
  void FreeRegion();

  // Selects a key of the current region; 1 when it exists, 0 when a
  // placeholder was made for it.
  int operator<<=(const char* key);
  // Text of the key's first value, or nullptr.
  const char* ValOf(const char* key);
  ValItor& operator[](const char* key);
  KeyVals& operator[](int i);

  // Read the current value; 0 for a list, an empty or no value.
  int operator>>(char* buf);
  int operator>>(int& v);
  int Read(char* buf, size_t size);
  // Assign the current value; 0 when there is none or it is a list.
  int operator<<(const char* text);
  int operator<<(int v);

  // The text DumpIniFile would write.
  std::string DumpText() const;
  // Parses text as if read from a file (no box, no path).
  int ParseText(const char* text, size_t length);

 private:
  std::shared_ptr<IniContext> m_pContext;
};
