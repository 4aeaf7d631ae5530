// The tag=value codec of the trade-server protocol: messages are runs of
// "tag=value" fields ended by SOH (0x01), framed by the house begin string
// (1008), body length (1009) and checksum (1010).
#pragma once
#include <map>
#include <memory>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "trade/core/byte_buffer.h"
#include "trade/core/large_block_allocator.h"
#include "trade/core/tag_field_value.h"
#include "trade/core/tag_map.h"

// The field delimiter; every reader and writer of the codec asks for it here.
char GetSOH();

// One field of a message being built. The name is a label for the program's
// own use and never reaches the wire.
struct STagField {
  // Not defaulted: a field added to a list is then made by its members'
  // own constructors, without the zeroing of all of it that comes first
  // otherwise.
  STagField() noexcept {}
  STagField(int tag, TagFieldValue value, std::string name = std::string())
      : tag(tag), value(std::move(value)), name(std::move(name)) {}

  int tag = 0;
  TagFieldValue value;
  std::string name;
};
using TagFieldList = std::vector<STagField>;

// A parsed message (tag_map.h): every value of a tag in order of
// occurrence. The i-th value of each tag of a list reply belongs to its
// i-th record.

// Raw-data tag -> the tag that carries its byte count.
using RawDataDictionary = std::map<int, int>;

// Fills the dictionaries; runs once during static initialisation and is
// safe to call again (it does nothing then).
void InitTagDictionaries();
const RawDataDictionary& GetRawDataDictionary();

// 0 header, 1 body, 2 trailer.
int ClassifyTag(int tag);

int CalcTradeChecksum(const char* data, int len);
// 1 when the block ends in a sound "10=ddd<SOH>" trailer whose digits agree
// with the byte sum of everything before the nine-byte house trailer.
int VerifyTradeChecksum(const char* data, int len);

// The begin string up to the "=" of the body length field; "" for an
// unknown dialect or version.
std::string FormatBeginString(int* outLen, int dialect, int version);

// One whole message; requests use dialect 0, version 2 (FIX.4.2).
std::unique_ptr<CByteBuffer> BuildTradeMessage(int dialect, const char* msgType, int serNo,
                                               bool possResend, const TagFieldList* body,
                                               int version, const char* session);

using TagPairList = std::vector<std::pair<std::string, std::string>>;
// Writes the pairs (name=value) or the fields (tag=value); 0, or -1 when
// neither list is given. outLen receives the bytes written.
int SerializeFields(std::vector<char>& out, int* outLen, const TagPairList* pairs,
                    const TagFieldList* fields, bool explicitLength, char delimiter);

// Reads one field at *cursor: 0 read, 1 no further field, -1 error (with a
// text in error). Lengths (explicit or from the raw-data dictionary) must be
// decimal, non-negative and lie inside the data.
int ParseTagField(const char** cursor, const char* end, std::string& tag, std::string& value,
                  const RawDataDictionary& rawData, const TagMap& soFar, std::string& error,
                  char separator, char delimiter);

// 0 parsed to the end, -1 on a field error (the map keeps what was read).
int ParseTradeMessage(const char* data, int len, TagMap& map, TagFieldList* header,
                      TagFieldList* body, TagFieldList* trailer, const RawDataDictionary* rawData,
                      std::string& error);

// One field of a scanned message: its tag and where its value lies in the
// message (offset and byte count).
struct TradeFieldRef {
  int tag;
  uint32_t offset;
  uint32_t length;
};
// Reads every field of a message as ParseTradeMessage does (built-in
// raw-data dictionary), into fields (emptied first) rather than a map, so a
// long list reply costs no allocation per value. 0 read to the end, -1 on a
// field error (fields keeps what was read before it).
using TradeFieldRefs = std::vector<TradeFieldRef, SLargeBlockAllocator<TradeFieldRef>>;
int ScanTradeMessage(const char* data, int len, TradeFieldRefs& fields, std::string& error);

void InsertTagValue(int tag, const std::string& value, TagMap& map, TagFieldList* header,
                    TagFieldList* body, TagFieldList* trailer);

// Readers: the first value of a tag. The label only describes the field.
const std::string& GetFieldText(const TagMap& map, int tag);
int GetField(const TagMap& map, int tag, std::string& out, const char* label = nullptr);
int GetIntField(const TagMap& map, int tag, int* out, const char* label = nullptr);
// The index-th value of a tag, "" when there are fewer values.
const std::string& GetFieldTextAt(const TagMap& map, int tag, size_t index);

// Writers of a field list; a null name is stored as "".
void AddTextField(TagFieldList& list, int tag, const char* value, const char* name = nullptr);
void AddCharField(TagFieldList& list, int tag, char c, const char* name = nullptr);
void AddIntField(TagFieldList& list, int tag, int v, const char* name = nullptr);
void AddStringField(TagFieldList& list, int tag, const std::string& value,
                    const char* name = nullptr);

// atoi that never overflows: leading blanks, a sign and digits; 0 when none.
int TradeAtoi(std::string_view text);
