#include "trade/core/trade_codec.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <charconv>
#include <climits>
#include <cstdio>
#include <cstring>
#include <optional>
#include <set>
#include <string_view>

#include "trade/core/short_copy.h"

namespace {

constexpr char kSOH = '\x01';

struct Dictionaries {
  RawDataDictionary rawData{{91, 90},   {89, 93},   {213, 212},    {355, 354},
                            {349, 348}, {351, 350}, {10073, 10072}};
  std::set<int> header{8,   9,   35, 49, 56, 115, 128, 90,  91,  34,  50,  142, 57,  143, 116, 144,
                       129, 145, 43, 97, 52, 122, 212, 213, 347, 369, 370, 627, 628, 629, 630};
  std::set<int> trailer{93, 89, 10};
};

// Built on first use (at the latest while the library's static data is
// initialised, below), before any thread parses; read-only afterwards.
const Dictionaries& Dicts() {
  static const Dictionaries d;
  return d;
}

const bool kDictionariesReady = (InitTagDictionaries(), true);

const std::string& EmptyText() {
  static const std::string empty;
  return empty;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A length as the protocol writes it: 1 to 9 decimal digits, nothing else.
bool ParseLength(std::string_view text, long* out) {
  if (text.empty() || text.size() > 9) return false;
  long v = 0;
  for (char c : text) {
    if (!IsDigit(c)) return false;
    v = v * 10 + (c - '0');
  }
  *out = v;
  return true;
}

int AtoiView(std::string_view text) {
  // The common case, a short run of digits, without the general rules.
  if (!text.empty() && text.size() <= 9) {
    int v = 0;
    size_t i = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) v = v * 10 + (text[i] - '0');
    if (i == text.size()) return v;
  }
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' ||
                             text[i] == '\r' || text[i] == '\v' || text[i] == '\f'))
    ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long v = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    v = v * 10 + (text[i] - '0');
    if (v > static_cast<long long>(INT_MAX) + 1) v = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative) v = -v;
  if (v > INT_MAX) v = INT_MAX;
  if (v < INT_MIN) v = INT_MIN;
  return static_cast<int>(v);
}

// The most bytes a field adds besides its value: the tag, an explicit
// length, "(", ")", "=" and the delimiter.
constexpr size_t kFieldOverhead = 40;

// Writes v in decimal at p and returns the end. A build writes a tag for
// every field, nearly always of one to four digits: those are written
// from a table of digit pairs without a call.
[[gnu::always_inline]] inline char* WriteDecimal(char* p, long v) {
  static constexpr char kPairs[] =
      "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
      "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
      "8081828384858687888990919293949596979899";
  if (v < 0 || v >= 10000) return std::to_chars(p, p + 20, v).ptr;
  const unsigned u = static_cast<unsigned>(v);  // divides without sign fix-ups
  if (u < 10) {
    *p = static_cast<char>('0' + u);
    return p + 1;
  }
  if (u < 100) {
    std::memcpy(p, kPairs + 2 * u, 2);
    return p + 2;
  }
  if (u < 1000) {
    *p = static_cast<char>('0' + u / 100);
    std::memcpy(p + 1, kPairs + 2 * (u % 100), 2);
    return p + 3;
  }
  std::memcpy(p, kPairs + 2 * (u / 100), 2);
  std::memcpy(p + 2, kPairs + 2 * (u % 100), 2);
  return p + 4;
}

// The number of characters WriteDecimal writes for v; as there, tags of one
// to four digits without a call.
[[gnu::always_inline]] inline size_t DecimalLength(int v) {
  if (v >= 0 && v < 10000) return v < 10 ? 1 : v < 100 ? 2 : v < 1000 ? 3 : 4;
  char digits[16];
  return static_cast<size_t>(std::to_chars(digits, digits + sizeof digits, v).ptr - digits);
}

// The bytes WriteField writes for a field without an explicit length.
[[gnu::always_inline]] inline size_t FieldLength(int tag, std::string_view value) {
  return DecimalLength(tag) + 1 + value.size() + 1;
}

// The house trailer "1010=ddd<SOH>".
constexpr size_t kTrailerLength = 9;

// Copies text to p and returns the end.
[[gnu::always_inline]] inline char* CopyText(char* p, std::string_view text) {
  CopyBytes(p, text.data(), text.size());
  return p + text.size();
}

// Writes one field, "<tag>=<value><delimiter>" (or "<tag>(<len>)=..." when
// explicitLength is set), at p, and returns the end: FieldLength bytes
// without an explicit length, at most the value and kFieldOverhead with.
// No snprintf, which once dominated the cost of building a request; inlined
// into the loops that write field after field.
[[gnu::always_inline]] inline char* WriteField(char* p, int tag, std::string_view value,
                                               bool explicitLength, char delimiter) {
  p = WriteDecimal(p, tag);
  if (explicitLength) {
    *p++ = '(';
    p = WriteDecimal(p, static_cast<long>(value.size()));
    *p++ = ')';
  }
  *p++ = '=';
  p = CopyText(p, value);
  *p++ = delimiter;
  return p;
}

void AppendField(std::vector<char>& out, int tag, std::string_view value, bool explicitLength,
                 char delimiter) {
  const size_t old = out.size();
  out.resize(old + value.size() + kFieldOverhead);
  char* end = WriteField(out.data() + old, tag, value, explicitLength, delimiter);
  out.resize(static_cast<size_t>(end - out.data()));
}

// The first byte c in [from, end), or null. Most values are a few bytes
// long, shorter than what a call of memchr pays for: the first 32 bytes are
// looked at eight at a time here.
const char* FindByte(const char* from, const char* end, char c) {
  if constexpr (std::endian::native == std::endian::little) {
    constexpr uint64_t kOnes = 0x0101010101010101ull;
    const uint64_t pattern = kOnes * static_cast<unsigned char>(c);
    for (int words = 0; words < 4 && end - from >= 8; ++words, from += 8) {
      uint64_t word;
      std::memcpy(&word, from, 8);
      const uint64_t x = word ^ pattern;  // a zero byte where c is
      const uint64_t zeros = (x - kOnes) & ~x & (kOnes << 7);
      if (zeros) return from + (std::countr_zero(zeros) >> 3);
    }
  }
  return static_cast<const char*>(std::memchr(from, c, static_cast<size_t>(end - from)));
}

// The raw-data dictionary with a one-word filter in front of it: most tags
// are neither raw-data nor length tags, and the filter says so without a
// lookup in the map.
class RawDataTags {
 public:
  explicit RawDataTags(const RawDataDictionary& dictionary) : dictionary_(&dictionary) {
    for (const auto& [raw, length] : dictionary) {
      rawBits_ |= Bit(raw);
      lengthBits_ |= Bit(length);
    }
  }
  // The length tag of a raw-data tag; false for any other tag.
  bool LengthTagOf(int tag, int* lengthTag) const {
    if (!(rawBits_ & Bit(tag))) return false;
    auto it = dictionary_->find(tag);
    if (it == dictionary_->end()) return false;
    *lengthTag = it->second;
    return true;
  }
  bool MayBeLengthTag(int tag) const { return (lengthBits_ & Bit(tag)) != 0; }
  const RawDataDictionary& Dictionary() const { return *dictionary_; }

 private:
  static uint64_t Bit(int tag) { return uint64_t{1} << (static_cast<unsigned>(tag) & 63); }
  const RawDataDictionary* dictionary_;
  uint64_t rawBits_ = 0;
  uint64_t lengthBits_ = 0;
};

const RawDataTags& BuiltInRawDataTags() {
  static const RawDataTags tags(Dicts().rawData);
  return tags;
}

// The most recent value of each length tag among the fields read so far,
// for readers that do not keep a TagMap.
class LastLengths {
 public:
  explicit LastLengths(const RawDataTags& tags) : tags_(tags) {}
  void Note(int tag, std::string_view value) {
    if (!tags_.MayBeLengthTag(tag)) return;
    for (const auto& [raw, length] : tags_.Dictionary()) {
      if (length != tag) continue;
      for (auto& seen : seen_) {
        if (seen.first == tag) {
          seen.second = value;
          return;
        }
      }
      seen_.emplace_back(tag, value);
      return;
    }
  }
  bool operator()(int lengthTag, std::string_view* value) const {
    for (const auto& seen : seen_) {
      if (seen.first == lengthTag) {
        *value = seen.second;
        return true;
      }
    }
    return false;
  }

 private:
  const RawDataTags& tags_;
  std::vector<std::pair<int, std::string_view>> seen_;
};

// The most recent value of a length tag as the TagMap filled so far holds it.
struct LastLengthInMap {
  const TagMap& soFar;
  bool operator()(int lengthTag, std::string_view* value) const {
    auto it = soFar.find(lengthTag);
    if (it == soFar.end() || it->second.empty()) return false;
    *value = it->second.back();
    return true;
  }
};

// The field reader behind ParseTagField, ParseTradeMessage and
// ScanTradeMessage; the views point into the caller's data. lastLength
// gives the most recent value of a length tag read so far. Inlined into
// the loops that read message after message, where a call per field
// costs as much as the common case of the read itself.
template <class LastLength>
[[gnu::always_inline]] inline int ReadField(const char** cursor, const char* end,
                                            std::string_view& tagText, int* tagNumber,
                                            std::string_view& value, const RawDataTags& rawData,
                                            const LastLength& lastLength, std::string& error,
                                            char separator, char delimiter) {
  const char* start = *cursor;
  if (start >= end) return 1;

  long length = -1;
  // Nearly every tag is a short run of digits right before the separator:
  // then it has no explicit length and no delimiter in front, and its
  // number is those digits.
  const char* p = start;
  int number = 0;
  if (!IsDigit(separator) && !IsDigit(delimiter)) {
    while (p < end && p - start < 9 && IsDigit(*p)) number = number * 10 + (*p++ - '0');
  }
  const char* eq;
  if (p > start && p < end && *p == separator) {
    eq = p;
    tagText = std::string_view(start, static_cast<size_t>(eq - start));
    *tagNumber = number;
  } else {
    eq = FindByte(start, end, separator);
    if (!eq) return 1;
    tagText = std::string_view(start, static_cast<size_t>(eq - start));
    const size_t open = tagText.rfind('(');
    if (open != std::string_view::npos) {
      const size_t close = tagText.rfind(')');
      if (close == std::string_view::npos || close < open) {
        error = "There maybe some error at TagID[" + std::string(tagText) + "]";
        return -1;
      }
      if (!ParseLength(tagText.substr(open + 1, close - open - 1), &length)) {
        error = "The length of tag[" + std::string(tagText) + "] is not a decimal count";
        return -1;
      }
      tagText = tagText.substr(0, open);
    }
    // An empty field between two delimiters leaves one before the tag.
    std::string_view digits = tagText;
    while (!digits.empty() && digits.front() == delimiter) digits.remove_prefix(1);
    *tagNumber = AtoiView(digits);
  }
  int lengthTag = 0;
  if (length < 0 && rawData.LengthTagOf(*tagNumber, &lengthTag)) {
    // A raw-data value takes its byte count from the most recent value of
    // its length tag in this message.
    std::string_view lengthText;
    if (lastLength(lengthTag, &lengthText) && !ParseLength(lengthText, &length)) {
      error = "The length of raw data tag[" + std::string(tagText) + "] is not a decimal count";
      return -1;
    }
  }

  const char* valueStart = eq + 1;
  if (length < 0) {
    const char* stop = FindByte(valueStart, end, delimiter);
    if (!stop) {
      error = "The value of tag[" + std::string(tagText) + "] has no separator";
      return -1;
    }
    value = std::string_view(valueStart, static_cast<size_t>(stop - valueStart));
    *cursor = stop + 1;
    return 0;
  }
  if (length >= end - valueStart) {  // the delimiter must follow inside the data
    error = "The value of tag[" + std::string(tagText) + "] reaches past the data";
    return -1;
  }
  if (valueStart[length] != delimiter) {
    error = "The value end pos of tag[" + std::string(tagText) + "] should be separator";
    return -1;
  }
  value = std::string_view(valueStart, static_cast<size_t>(length));
  *cursor = valueStart + length + 1;
  return 0;
}

// The begin string of a dialect and version up to the "=" of the body
// length; empty for an unknown one.
std::string_view BeginStringOf(int dialect, int version) {
  static constexpr std::string_view kFix[] = {
      "1008=FIX.4.0\x01"
      "1009=",
      "1008=FIX.4.1\x01"
      "1009=",
      "1008=FIX.4.2\x01"
      "1009=",
      "1008=FIX.4.3\x01"
      "1009=",
      "1008=FIX.4.4\x01"
      "1009="};
  if (dialect == 0 && version >= 0 && version <= 4) return kFix[version];
  if (dialect == 1)
    return "1008(7)=QEL.1.0\x01"
           "1009=";
  return {};
}

}  // namespace

char GetSOH() { return kSOH; }

void InitTagDictionaries() { (void)Dicts(); }

const RawDataDictionary& GetRawDataDictionary() {
  (void)kDictionariesReady;
  return Dicts().rawData;
}

int ClassifyTag(int tag) {
  const Dictionaries& d = Dicts();
  if (d.header.count(tag)) return 0;
  if (d.trailer.count(tag)) return 2;
  return 1;
}

int CalcTradeChecksum(const char* data, int len) {
  // Only the sum modulo 256 matters, so eight bytes at a time: the even and
  // the odd bytes of a word add up in four 16-bit lanes, which are cut back
  // to their low byte before they can carry into each other.
  constexpr uint64_t kLowBytes = 0x00FF00FF00FF00FFull;
  uint64_t lanes = 0;
  int i = 0;
  while (len - i >= 8) {
    const int stop = i + std::min(len - i, 8 * 128) / 8 * 8;
    for (; i < stop; i += 8) {
      uint64_t word;
      std::memcpy(&word, data + i, 8);
      lanes += (word & kLowBytes) + ((word >> 8) & kLowBytes);
    }
    lanes &= kLowBytes;
  }
  unsigned sum = static_cast<unsigned>((lanes * 0x0001000100010001ull) >> 48);
  for (; i < len; ++i) sum += static_cast<unsigned char>(data[i]);
  return static_cast<int>(sum % 256);
}

int VerifyTradeChecksum(const char* data, int len) {
  // The nine-byte house trailer "1010=ddd<SOH>" is the shortest sound block.
  if (!data || len < 9) return 0;
  const char* t = data + len;
  if (t[-1] != kSOH || !IsDigit(t[-2]) || !IsDigit(t[-3]) || t[-4] < '0' || t[-4] > '2' ||
      t[-5] != '=' || t[-6] != '0' || t[-7] != '1')
    return 0;
  const int stated = (t[-4] - '0') * 100 + (t[-3] - '0') * 10 + (t[-2] - '0');
  return (stated & 0xFF) == CalcTradeChecksum(data, len - 9) ? 1 : 0;
}

std::string FormatBeginString(int* outLen, int dialect, int version) {
  const std::string_view begin = BeginStringOf(dialect, version);
  if (outLen) *outLen = static_cast<int>(begin.size());
  return std::string(begin);
}

int SerializeFields(std::vector<char>& out, int* outLen, const TagPairList* pairs,
                    const TagFieldList* fields, bool explicitLength, char delimiter) {
  if (!pairs && !fields) return -1;
  size_t reserve = 32;
  if (pairs)
    for (const auto& p : *pairs) reserve += p.first.size() + p.second.size() + 32;
  if (fields)
    for (const auto& f : *fields) reserve += f.value.size() + 48;
  out.clear();
  out.reserve(reserve);
  if (pairs) {
    for (const auto& p : *pairs) {
      out.insert(out.end(), p.first.begin(), p.first.end());
      out.push_back('=');
      out.insert(out.end(), p.second.begin(), p.second.end());
      out.push_back(delimiter);
    }
  } else {
    for (const auto& f : *fields) {
      const std::string_view value = f.value;
      AppendField(out, f.tag, value,
                  explicitLength && value.find(delimiter) != std::string_view::npos, delimiter);
    }
  }
  if (outLen) *outLen = static_cast<int>(out.size());
  return 0;
}

std::unique_ptr<CByteBuffer> BuildTradeMessage(int dialect, const char* msgType, int serNo,
                                               bool possResend, const TagFieldList* body,
                                               int version, const char* session) {
  // The message is the begin string, the body length, header and body, then
  // the checksum. The body length is counted first, so every byte is written
  // once, in order, straight into the buffer returned; its capacity is
  // header + body + 128, room for both ends.
  char serial[24];
  const std::string_view serialText(serial,
                                    static_cast<size_t>(WriteDecimal(serial, serNo) - serial));
  const std::string_view header[] = {msgType ? msgType : "", serialText, session ? session : "",
                                     "Y"};
  const int headerTags[] = {1035, 1053, 336, 1097};
  const size_t headerFields = possResend ? 4 : 3;
  size_t size = 0;
  for (size_t i = 0; i < headerFields; ++i) size += FieldLength(headerTags[i], header[i]);
  if (body) {
    for (const STagField& f : *body) size += FieldLength(f.tag, f.value);
  }

  const std::string_view begin = BeginStringOf(dialect, version);
  char digits[24];
  const char* const digitsEnd = WriteDecimal(digits, static_cast<long>(size));
  const std::string_view sizeText(digits, static_cast<size_t>(digitsEnd - digits));
  auto buffer = std::make_unique<CByteBuffer>(static_cast<int>(size) + 128);
  const size_t total = begin.size() + sizeText.size() + 1 + size + kTrailerLength;
  char* const start = buffer->Extend(static_cast<int>(total));
  if (!start) return buffer;
  char* p = CopyText(start, begin);
  p = CopyText(p, sizeText);
  *p++ = kSOH;
  for (size_t i = 0; i < headerFields; ++i) {
    p = WriteField(p, headerTags[i], header[i], false, kSOH);
  }
  if (body) {
    for (const STagField& f : *body) p = WriteField(p, f.tag, f.value, false, kSOH);
  }

  // "1010=" and the sum as three digits ("%03d").
  const int c = CalcTradeChecksum(start, static_cast<int>(p - start));
  const char trailer[kTrailerLength] = {'1',
                                        '0',
                                        '1',
                                        '0',
                                        '=',
                                        static_cast<char>('0' + c / 100),
                                        static_cast<char>('0' + c / 10 % 10),
                                        static_cast<char>('0' + c % 10),
                                        kSOH};
  std::memcpy(p, trailer, kTrailerLength);
  assert(p + kTrailerLength == start + total);
  return buffer;
}

int ParseTagField(const char** cursor, const char* end, std::string& tag, std::string& value,
                  const RawDataDictionary& rawData, const TagMap& soFar, std::string& error,
                  char separator, char delimiter) {
  std::string_view tagView, valueView;
  int tagNumber = 0;
  const int r = ReadField(cursor, end, tagView, &tagNumber, valueView, RawDataTags(rawData),
                          LastLengthInMap{soFar}, error, separator, delimiter);
  if (r == 0) {
    tag.assign(tagView);
    value.assign(valueView);
  }
  return r;
}

int ParseTradeMessage(const char* data, int len, TagMap& map, TagFieldList* header,
                      TagFieldList* body, TagFieldList* trailer, const RawDataDictionary* rawData,
                      std::string& error) {
  if (!data || len <= 0) return 0;
  std::optional<RawDataTags> given;
  if (rawData) given.emplace(*rawData);
  const RawDataTags& raw = given ? *given : BuiltInRawDataTags();
  const char* cursor = data;
  const char* end = data + len;
  std::string_view tagText, value;
  int tag = 0;
  const bool lists = header || body || trailer;
  for (;;) {
    const int r =
        ReadField(&cursor, end, tagText, &tag, value, raw, LastLengthInMap{map}, error, '=', kSOH);
    if (r == 1) return 0;
    if (r < 0) return -1;
    if (lists) {
      InsertTagValue(tag, std::string(value), map, header, body, trailer);
    } else {
      map.Add(tag, value);
    }
  }
}

int ScanTradeMessage(const char* data, int len, TradeFieldRefs& fields, std::string& error) {
  fields.clear();
  if (!data || len <= 0) return 0;
  const RawDataTags& raw = BuiltInRawDataTags();
  LastLengths lengths(raw);
  const char* cursor = data;
  const char* end = data + len;
  std::string_view tagText, value;
  int tag = 0;
  for (;;) {
    const int r = ReadField(&cursor, end, tagText, &tag, value, raw, lengths, error, '=', kSOH);
    if (r == 1) return 0;
    if (r < 0) return -1;
    // A long reply is read and written far past the cache: ask early for
    // the lines ahead of both.
    if (fields.size() + 64 < fields.capacity()) {
      __builtin_prefetch(fields.data() + fields.size() + 64, 1);
    }
    if (end - cursor > 1024) __builtin_prefetch(cursor + 1024);
    fields.push_back(TradeFieldRef{tag, static_cast<uint32_t>(value.data() - data),
                                   static_cast<uint32_t>(value.size())});
    lengths.Note(tag, value);
  }
}

void InsertTagValue(int tag, const std::string& value, TagMap& map, TagFieldList* header,
                    TagFieldList* body, TagFieldList* trailer) {
  map[tag].push_back(value);
  if (!header && !body && !trailer) return;
  TagFieldList* lists[3] = {header, body, trailer};
  TagFieldList* target = lists[ClassifyTag(tag)];
  if (target) target->push_back(STagField{tag, value, std::string()});
}

const std::string& GetFieldText(const TagMap& map, int tag) { return GetFieldTextAt(map, tag, 0); }

const std::string& GetFieldTextAt(const TagMap& map, int tag, size_t index) {
  auto it = map.find(tag);
  if (it == map.end() || index >= it->second.size()) return EmptyText();
  return it->second[index];
}

int GetField(const TagMap& map, int tag, std::string& out, const char* /*label*/) {
  out.clear();
  auto it = map.find(tag);
  if (it == map.end() || it->second.empty()) return -1;
  out = it->second.front();
  return 0;
}

int GetIntField(const TagMap& map, int tag, int* out, const char* /*label*/) {
  auto it = map.find(tag);
  if (it == map.end() || it->second.empty()) return -1;
  *out = AtoiView(it->second.front());
  return 0;
}

namespace {
// Fields are built in their place in the list, without a temporary to move.
void AddField(TagFieldList& list, int tag, std::string_view value, const char* name) {
  STagField& f = list.emplace_back();
  f.tag = tag;
  f.value.assign(value);
  if (name) f.name.assign(name);
}
}  // namespace

void AddTextField(TagFieldList& list, int tag, const char* value, const char* name) {
  AddField(list, tag, value ? value : "", name);
}

void AddCharField(TagFieldList& list, int tag, char c, const char* name) {
  AddField(list, tag, std::string_view(&c, 1), name);
}

void AddIntField(TagFieldList& list, int tag, int v, const char* name) {
  char digits[16];
  const char* end = std::to_chars(digits, digits + 16, v).ptr;
  AddField(list, tag, std::string_view(digits, static_cast<size_t>(end - digits)), name);
}

void AddStringField(TagFieldList& list, int tag, const std::string& value, const char* name) {
  AddField(list, tag, value, name);
}

int TradeAtoi(std::string_view text) { return AtoiView(text); }
