#include "trade/core/trade_codec.h"

#include <charconv>
#include <climits>
#include <cstdio>
#include <cstring>
#include <set>
#include <string_view>

namespace {

constexpr char kSOH = '\x01';

struct Dictionaries {
  RawDataDictionary rawData{{91, 90},   {89, 93},   {213, 212},    {355, 354},
                            {349, 348}, {351, 350}, {10073, 10072}};
  std::set<int> header{8,   9,   35,  49,  56,  115, 128, 90,  91,  34,  50,
                       142, 57,  143, 116, 144, 129, 145, 43,  97,  52,  122,
                       212, 213, 347, 369, 370, 627, 628, 629, 630};
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

// Appends "<tag>=" (or "<tag>(<len>)=") to out; to_chars, as snprintf
// dominated the cost of building a request.
void AppendTagHead(std::vector<char>& out, int tag, int explicitLength) {
  char head[32];
  char* p = std::to_chars(head, head + 12, tag).ptr;
  if (explicitLength >= 0) {
    *p++ = '(';
    p = std::to_chars(p, head + 30, explicitLength).ptr;
    *p++ = ')';
  }
  *p++ = '=';
  out.insert(out.end(), head, p);
}

const char* FindByte(const char* from, const char* end, char c) {
  return static_cast<const char*>(std::memchr(from, c, static_cast<size_t>(end - from)));
}

// The field reader behind ParseTagField and ParseTradeMessage; the views
// point into the caller's data.
int ParseFieldView(const char** cursor, const char* end, std::string_view& tagText,
                   int* tagNumber, std::string_view& value, const RawDataDictionary& rawData,
                   const TagMap& soFar, std::string& error, char separator, char delimiter) {
  const char* start = *cursor;
  if (start >= end) return 1;
  const char* eq = FindByte(start, end, separator);
  if (!eq) return 1;
  tagText = std::string_view(start, static_cast<size_t>(eq - start));

  long length = -1;
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
  if (length < 0) {
    // A raw-data value takes its byte count from the most recent value of
    // its length tag in this message.
    auto raw = rawData.find(*tagNumber);
    if (raw != rawData.end()) {
      auto lengthValues = soFar.find(raw->second);
      if (lengthValues != soFar.end() && !lengthValues->second.empty()) {
        if (!ParseLength(lengthValues->second.back(), &length)) {
          error = "The length of raw data tag[" + std::string(tagText) + "] is not a decimal count";
          return -1;
        }
      }
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
  unsigned sum = 0;
  for (int i = 0; i < len; ++i) sum += static_cast<unsigned char>(data[i]);
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
  static const char* const kFix[] = {"1008=FIX.4.0\x01" "1009=", "1008=FIX.4.1\x01" "1009=",
                                     "1008=FIX.4.2\x01" "1009=", "1008=FIX.4.3\x01" "1009=",
                                     "1008=FIX.4.4\x01" "1009="};
  std::string result;
  if (dialect == 0 && version >= 0 && version <= 4) {
    result = kFix[version];
  } else if (dialect == 1) {
    result = "1008(7)=QEL.1.0\x01" "1009=";
  }
  if (outLen) *outLen = static_cast<int>(result.size());
  return result;
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
      const bool withLength = explicitLength && f.value.find(delimiter) != std::string::npos;
      AppendTagHead(out, f.tag, withLength ? static_cast<int>(f.value.size()) : -1);
      out.insert(out.end(), f.value.begin(), f.value.end());
      out.push_back(delimiter);
    }
  }
  if (outLen) *outLen = static_cast<int>(out.size());
  return 0;
}

std::unique_ptr<CByteBuffer> BuildTradeMessage(int dialect, const char* msgType, int serNo,
                                               bool possResend, const TagFieldList* body,
                                               int version, const char* session) {
  TagFieldList header;
  header.reserve(4);
  AddTextField(header, 1035, msgType, "MsgType");
  AddIntField(header, 1053, serNo, "SerNo");
  AddTextField(header, 336, session, "Session");
  if (possResend) AddTextField(header, 1097, "Y", "PossResend");

  std::vector<char> headerBytes, bodyBytes;
  int headerLen = 0, bodyLen = 0;
  SerializeFields(headerBytes, &headerLen, nullptr, &header, false, kSOH);
  if (body) SerializeFields(bodyBytes, &bodyLen, nullptr, body, false, kSOH);

  auto buffer = std::make_unique<CByteBuffer>(headerLen + bodyLen + 128);
  buffer->Append(headerBytes.data(), headerLen);
  if (bodyLen > 0) buffer->Append(bodyBytes.data(), bodyLen);

  std::string prefix = FormatBeginString(nullptr, dialect, version);
  char length[16];
  char* end = std::to_chars(length, length + 15, buffer->Size()).ptr;
  *end++ = kSOH;
  prefix.append(length, end);
  buffer->Insert(0, prefix.data(), static_cast<int>(prefix.size()));

  // "1010=" and the sum as three digits ("%03d").
  const int c = CalcTradeChecksum(buffer->Data(), buffer->Size());
  const char trailer[9] = {'1', '0', '1', '0', '=', static_cast<char>('0' + c / 100),
                           static_cast<char>('0' + c / 10 % 10), static_cast<char>('0' + c % 10),
                           kSOH};
  buffer->Append(trailer, sizeof trailer);
  return buffer;
}

int ParseTagField(const char** cursor, const char* end, std::string& tag, std::string& value,
                  const RawDataDictionary& rawData, const TagMap& soFar, std::string& error,
                  char separator, char delimiter) {
  std::string_view tagView, valueView;
  int tagNumber = 0;
  const int r = ParseFieldView(cursor, end, tagView, &tagNumber, valueView, rawData, soFar, error,
                               separator, delimiter);
  if (r == 0) {
    tag.assign(tagView);
    value.assign(valueView);
  }
  return r;
}

int ParseTradeMessage(const char* data, int len, TagMap& map, TagFieldList* header,
                      TagFieldList* body, TagFieldList* trailer,
                      const RawDataDictionary* rawData, std::string& error) {
  if (!data || len <= 0) return 0;
  const RawDataDictionary& dict = rawData ? *rawData : GetRawDataDictionary();
  const char* cursor = data;
  const char* end = data + len;
  std::string_view tagText, value;
  int tag = 0;
  const bool lists = header || body || trailer;
  for (;;) {
    const int r = ParseFieldView(&cursor, end, tagText, &tag, value, dict, map, error, '=', kSOH);
    if (r == 1) return 0;
    if (r < 0) return -1;
    if (lists) {
      InsertTagValue(tag, std::string(value), map, header, body, trailer);
    } else {
      map[tag].emplace_back(value);
    }
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

void AddTextField(TagFieldList& list, int tag, const char* value, const char* name) {
  list.push_back(STagField{tag, value ? value : "", name ? name : ""});
}

void AddCharField(TagFieldList& list, int tag, char c, const char* name) {
  list.push_back(STagField{tag, std::string(1, c), name ? name : ""});
}

void AddIntField(TagFieldList& list, int tag, int v, const char* name) {
  list.push_back(STagField{tag, std::to_string(v), name ? name : ""});
}

void AddStringField(TagFieldList& list, int tag, const std::string& value, const char* name) {
  list.push_back(STagField{tag, value, name ? name : ""});
}

int TradeAtoi(const std::string& text) { return AtoiView(text); }
