// The tag=value codec: message building, checksum, field parsing, buffer.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "trade/core/byte_buffer.h"
#include "trade/core/trade_codec.h"
#include "trade/core/trade_vocab.h"
#include "platform/gbk.h"

namespace {

std::string Bytes(const CByteBuffer& b) { return std::string(b.Data(), b.Size()); }

TEST(TradeCodec, HoldingsQueryAndLoginHaveTheExactWireBytes) {
  auto holdings = BuildTradeMessage(0, "1021", 0, false, nullptr, 2, "S1");
  EXPECT_EQ(Bytes(*holdings), std::string("1008=FIX.4.2\x01"
                                          "1009=24\x01"
                                          "1035=1021\x01"
                                          "1053=0\x01"
                                          "336=S1\x01"
                                          "1010=126\x01"));

  TagFieldList body;
  AddTextField(body, 1, "u01");
  AddStringField(body, 91, std::string(40, 'a'));
  auto login = BuildTradeMessage(0, "1001", 0, false, &body, 2, "");
  EXPECT_EQ(Bytes(*login),
            "1008=FIX.4.2\x01"
            "1009=72\x01"
            "1035=1001\x01"
            "1053=0\x01"
            "336=\x01"
            "1=u01\x01"
            "91=" +
                std::string(40, 'a') +
                "\x01"
                "1010=016\x01");
  EXPECT_EQ(VerifyTradeChecksum(login->Data(), login->Size()), 1);
}

TEST(TradeCodec, AMoneyApplyOfNineFieldsHasTheExactWireBytes) {
  // Values short and long (past a string's inline room), one empty, tags of
  // one to four digits; the labels never reach the wire.
  TagFieldList body;
  AddTextField(body, 1, "u0001", "account");
  AddTextField(body, 9310, "1", "direction");
  AddTextField(body, 9311, "5000.00", "amount");
  AddTextField(body, 9309, "6222000011112222", "bank account");
  AddStringField(body, 9415, std::string(40, 'a'), "funds password");
  AddCharField(body, 150, '0', "state");
  AddTextField(body, 8107, "13900000000", "phone");
  AddTextField(body, 8108, "110101199001011234", "id number");
  AddTextField(body, 9416, "", "phone bank password");
  auto m = BuildTradeMessage(0, "2017", 0, false, &body, 2, "SESSION01");
  EXPECT_EQ(Bytes(*m),
            "1008=FIX.4.2\x01"
            "1009=180\x01"
            "1035=2017\x01"
            "1053=0\x01"
            "336=SESSION01\x01"
            "1=u0001\x01"
            "9310=1\x01"
            "9311=5000.00\x01"
            "9309=6222000011112222\x01"
            "9415=" +
                std::string(40, 'a') +
                "\x01"
                "150=0\x01"
                "8107=13900000000\x01"
                "8108=110101199001011234\x01"
                "9416=\x01"
                "1010=047\x01");
}

TEST(TradeCodec, TagsAndSerialNumbersOfEveryLengthAreWrittenInDecimal) {
  for (const int n : {0, 7, 10, 42, 99, 100, 336, 999, 1000, 9999, 10000, 123456789, -5, -12345}) {
    SCOPED_TRACE(n);
    TagFieldList body;
    AddTextField(body, n, "v");
    auto m = BuildTradeMessage(0, "1021", n, false, &body, 2, "S");
    const std::string fields =
        "1035=1021\x01"
        "1053=" +
        std::to_string(n) +
        "\x01"
        "336=S\x01" +
        std::to_string(n) + "=v\x01";
    const std::string head =
        "1008=FIX.4.2\x01"
        "1009=" +
        std::to_string(fields.size()) + "\x01";
    const std::string text = Bytes(*m);
    EXPECT_EQ(text.substr(0, text.size() - 9), head + fields);
    EXPECT_EQ(VerifyTradeChecksum(text.data(), static_cast<int>(text.size())), 1);
  }
  std::vector<char> out;
  TagFieldList lengths{{5, std::string(12345, '\x01'), ""}, {6, "a\x01", ""}};
  ASSERT_EQ(SerializeFields(out, nullptr, nullptr, &lengths, true, '\x01'), 0);
  EXPECT_EQ(std::string(out.begin(), out.begin() + 9), "5(12345)=");
  EXPECT_EQ(std::string(out.end() - 8, out.end()), "6(2)=a\x01\x01");
}

TEST(TradeCodec, ValuesOfEveryLengthAreCopiedWhole) {
  // Short values are copied in overlapping pieces: every byte differs, so a
  // piece put in the wrong place shows.
  for (size_t n = 0; n <= 40; ++n) {
    SCOPED_TRACE(n);
    std::string value;
    for (size_t i = 0; i < n; ++i) value += static_cast<char>('A' + i);
    TagFieldList body;
    AddStringField(body, 58, value);
    AddTextField(body, 9, "z");
    auto m = BuildTradeMessage(0, "1011", 0, false, &body, 2, value.c_str());
    const std::string fields =
        "1035=1011\x01"
        "1053=0\x01"
        "336=" +
        value +
        "\x01"
        "58=" +
        value +
        "\x01"
        "9=z\x01";
    const std::string text = Bytes(*m);
    EXPECT_EQ(text.substr(0, text.size() - 9),
              "1008=FIX.4.2\x01"
              "1009=" +
                  std::to_string(fields.size()) + "\x01" + fields);
    EXPECT_EQ(VerifyTradeChecksum(text.data(), static_cast<int>(text.size())), 1);
  }
}

TEST(TradeCodec, ResendFlagAndBeginStrings) {
  auto m = BuildTradeMessage(0, "1021", 7, true, nullptr, 2, "");
  EXPECT_NE(Bytes(*m).find("1053=7\x01"
                           "336=\x01"
                           "1097=Y\x01"),
            std::string::npos);
  int len = 0;
  EXPECT_EQ(FormatBeginString(&len, 1, 0),
            "1008(7)=QEL.1.0\x01"
            "1009=");
  EXPECT_EQ(len, 21);
  EXPECT_EQ(FormatBeginString(&len, 0, 4),
            "1008=FIX.4.4\x01"
            "1009=");
  EXPECT_EQ(FormatBeginString(&len, 0, 5), "");
  EXPECT_EQ(len, 0);
  EXPECT_EQ(FormatBeginString(nullptr, 2, 0), "");
}

TEST(TradeCodec, ChecksumTrailerIsCheckedFromTheEnd) {
  auto m = BuildTradeMessage(0, "1023", 0, false, nullptr, 2, "xyz");
  std::string good = Bytes(*m);
  EXPECT_EQ(VerifyTradeChecksum(good.data(), static_cast<int>(good.size())), 1);

  std::string wrongSum = good;
  wrongSum[20] ^= 1;
  std::string noSoh = good;
  noSoh.back() = 'x';
  std::string badDigit = good;
  badDigit[badDigit.size() - 4] = '3';  // the hundreds digit may only be 0-2
  for (const std::string& bad : {wrongSum, noSoh, badDigit})
    EXPECT_EQ(VerifyTradeChecksum(bad.data(), static_cast<int>(bad.size())), 0);

  // A sum of 7 prints as 007; nine bytes is the shortest sound block.
  EXPECT_EQ(VerifyTradeChecksum("1010=000\x01", 9), 1);
  EXPECT_EQ(VerifyTradeChecksum("10=000\x01", 7), 0);
  EXPECT_EQ(VerifyTradeChecksum("", 0), 0);
  EXPECT_EQ(CalcTradeChecksum("\x03\x04", 2), 7);
}

TEST(TradeCodec, ChecksumIsTheByteSumModulo256AtEveryLength) {
  // All-0xFF bytes are the largest sums; the lengths cross every word and
  // block boundary of the summing loop.
  std::string ones(2100, '\xFF'), mixed(2100, '\0');
  for (size_t i = 0; i < mixed.size(); ++i) mixed[i] = static_cast<char>(i * 131 + i / 7);
  for (const std::string* data : {&ones, &mixed}) {
    unsigned sum = 0;
    for (int len = 0; len <= static_cast<int>(data->size()); ++len) {
      ASSERT_EQ(CalcTradeChecksum(data->data(), len), static_cast<int>(sum % 256)) << len;
      if (len < static_cast<int>(data->size())) sum += static_cast<unsigned char>((*data)[len]);
    }
  }
}

struct ParseCase {
  const char* name;
  std::string data;
  int result;
  int tag;  // tag to look at
  std::vector<std::string> values;
  std::string error;  // part of the error text
};

TEST(TradeCodec, ParseTable) {
  const ParseCase cases[] = {
      {"explicit length holding SOH",
       std::string("58(3)=a\x01"
                   "b\x01"
                   "9=1\x01"),
       0,
       58,
       {std::string("a\x01"
                    "b")},
       ""},
      {"raw data 90/91",
       std::string("90=5\x01"
                   "91=ab\x01"
                   "cd\x01"
                   "10=1\x01"),
       0,
       91,
       {std::string("ab\x01"
                    "cd")},
       ""},
      {"raw data without its length tag is plain", "91=abc\x01", 0, 91, {"abc"}, ""},
      {"repeated tag",
       "48=A\x01"
       "48=B\x01"
       "48=C\x01",
       0,
       48,
       {"A", "B", "C"},
       ""},
      {"empty field between delimiters",
       "1=a\x01\x01"
       "2=b\x01",
       0,
       2,
       {"b"},
       ""},
      {"trailing text without = is ignored",
       "1=a\x01"
       "junk",
       0,
       1,
       {"a"},
       ""},
      {"( without )", "58(3=abc\x01", -1, 58, {}, "There maybe some error at TagID[58(3]"},
      {"explicit length past the end", "58(30)=abc\x01", -1, 58, {}, "past"},
      {"explicit length not a number", "58(x)=abc\x01", -1, 58, {}, "decimal"},
      {"explicit length negative", "58(-1)=abc\x01", -1, 58, {}, "decimal"},
      {"explicit length overlong", "58(9999999999)=a\x01", -1, 58, {}, "decimal"},
      {"value not ended by SOH", "58(2)=abc\x01", -1, 58, {}, "should be separator"},
      {"raw length past the end",
       "90=50\x01"
       "91=abc\x01",
       -1,
       91,
       {},
       "past"},
      {"raw length negative",
       "90=-3\x01"
       "91=abc\x01",
       -1,
       91,
       {},
       "decimal"},
      {"raw length not a number",
       "90=x\x01"
       "91=abc\x01",
       -1,
       91,
       {},
       "decimal"},
      {"last value without SOH",
       "1=a\x01"
       "2=b",
       -1,
       1,
       {"a"},
       "separator"},
      {"tag with leading zeros",
       "0048=A\x01"
       "48=B\x01",
       0,
       48,
       {"A", "B"},
       ""},
      {"ten-digit tag", "0000000048=A\x01", 0, 48, {"A"}, ""},
      {"signed and blank-led tags",
       "+48=A\x01"
       " 48=B\x01"
       "-48=C\x01",
       0,
       48,
       {"A", "B"},
       ""},
      {"tag past the int range", "99999999999=A\x01", 0, 2147483647, {"A"}, ""},
      {"raw data after an explicit length field",
       std::string("90(1)=3\x01"
                   "91=a\x01"
                   "b\x01"),
       0,
       91,
       {std::string("a\x01"
                    "b")},
       ""},
  };
  for (const ParseCase& c : cases) {
    SCOPED_TRACE(c.name);
    TagMap map;
    std::string error;
    EXPECT_EQ(ParseTradeMessage(c.data.data(), static_cast<int>(c.data.size()), map, nullptr,
                                nullptr, nullptr, nullptr, error),
              c.result);
    auto it = map.find(c.tag);
    EXPECT_EQ(it == map.end() ? std::vector<std::string>{} : it->second.ToVector(), c.values);
    if (!c.error.empty()) {
      EXPECT_NE(error.find(c.error), std::string::npos) << error;
    }

    // The scan into field references reads the same fields.
    TradeFieldRefs refs;
    std::string scanError;
    EXPECT_EQ(ScanTradeMessage(c.data.data(), static_cast<int>(c.data.size()), refs, scanError),
              c.result);
    EXPECT_EQ(scanError, error);
    TagMap scanned;
    for (const TradeFieldRef& f : refs)
      scanned[f.tag].push_back(std::string_view(c.data.data() + f.offset, f.length));
    EXPECT_TRUE(scanned == map);
  }
}

TEST(TradeCodec, ValuesOfEveryLengthEndAtTheirDelimiter) {
  // The delimiter search looks at several bytes at a time: every position
  // of the delimiter in and past those words, with '=' and SOH nearby.
  for (size_t n = 0; n <= 70; ++n) {
    const std::string value = std::string(n, 'v') + (n % 3 == 0 ? "" : "=");
    const std::string data = "1=" + value +
                             "\x01"
                             "22=\x01"
                             "3=" +
                             value + value + "\x01";
    TagMap map;
    std::string error;
    ASSERT_EQ(ParseTradeMessage(data.data(), static_cast<int>(data.size()), map, nullptr, nullptr,
                                nullptr, nullptr, error),
              0)
        << n;
    EXPECT_EQ(GetFieldText(map, 1), value);
    EXPECT_EQ(GetFieldText(map, 22), "");
    EXPECT_EQ(GetFieldText(map, 3), value + value);
  }
}

TEST(TradeCodec, ParseSplitsFieldsIntoHeaderBodyAndTrailerAndReaders) {
  const std::string data =
      "8=FIX\x01"
      "48=A\x01"
      "48=B\x01"
      "10=123\x01"
      "9003=2\x01";
  TagMap map;
  TagFieldList header, body, trailer;
  std::string error;
  ASSERT_EQ(ParseTradeMessage(data.data(), static_cast<int>(data.size()), map, &header, &body,
                              &trailer, nullptr, error),
            0);
  ASSERT_EQ(header.size(), 1u);
  EXPECT_EQ(header[0].tag, 8);
  ASSERT_EQ(body.size(), 3u);
  EXPECT_EQ(body[1].value, "B");
  ASSERT_EQ(trailer.size(), 1u);
  EXPECT_EQ(trailer[0].value, "123");

  std::string out = "stale";
  EXPECT_EQ(GetField(map, 48, out), 0);
  EXPECT_EQ(out, "A");
  EXPECT_EQ(GetField(map, 77, out), -1);
  EXPECT_EQ(out, "");
  int n = 5;
  EXPECT_EQ(GetIntField(map, 77, &n), -1);
  EXPECT_EQ(n, 5);
  EXPECT_EQ(GetIntField(map, 9003, &n), 0);
  EXPECT_EQ(n, 2);
  EXPECT_EQ(GetFieldTextAt(map, 48, 5), "");
}

TEST(TradeCodec, SerializerWritesExplicitLengthOnlyWhenAskedAndNeeded) {
  TagFieldList fields;
  AddStringField(fields, 58,
                 std::string("a\x01"
                             "b"));
  AddCharField(fields, 8131, '4');
  AddIntField(fields, 53, -12);
  std::vector<char> out;
  int len = 0;
  ASSERT_EQ(SerializeFields(out, &len, nullptr, &fields, true, GetSOH()), 0);
  EXPECT_EQ(std::string(out.data(), len),
            "58(3)=a\x01"
            "b\x01"
            "8131=4\x01"
            "53=-12\x01");
  ASSERT_EQ(SerializeFields(out, &len, nullptr, &fields, false, GetSOH()), 0);
  EXPECT_EQ(std::string(out.data(), len),
            "58=a\x01"
            "b\x01"
            "8131=4\x01"
            "53=-12\x01");
  TagPairList pairs{{"k", "v"}};
  ASSERT_EQ(SerializeFields(out, &len, &pairs, nullptr, false, '|'), 0);
  EXPECT_EQ(std::string(out.data(), len), "k=v|");
  EXPECT_EQ(SerializeFields(out, &len, nullptr, nullptr, false, '|'), -1);
}

TEST(ByteBuffer, GrowsInsertsAndRefusesWhenReleased) {
  CByteBuffer b;
  EXPECT_EQ(b.Capacity(), 31);
  const std::string big(100, 'x');
  ASSERT_EQ(b.Append("tail", 4), 0);
  ASSERT_EQ(b.Append(big.data(), 100), 0);
  ASSERT_EQ(b.Insert(0, "head", 4), 0);
  EXPECT_EQ(std::string(b.Data()), "headtail" + big);  // NUL-terminated
  EXPECT_EQ(b.Insert(b.Size() + 1, "x", 1), -1);
  b.Release();
  EXPECT_FALSE(b.IsValid());
  EXPECT_EQ(b.Append("x", 1), -1);
  EXPECT_EQ(b.Compact(), -1);
}

TEST(ByteBuffer, ExtendGivesRoomToWriteInPlace) {
  CByteBuffer b;
  ASSERT_EQ(b.Append("head", 4), 0);
  char* at = b.Extend(40);  // past the first capacity
  ASSERT_NE(at, nullptr);
  EXPECT_EQ(at, b.Data() + 4);
  std::memset(at, 'x', 40);
  EXPECT_EQ(std::string(b.Data()), "head" + std::string(40, 'x'));  // NUL-terminated
  EXPECT_EQ(b.Extend(-1), nullptr);
  EXPECT_EQ(b.Size(), 44);
  b.Release();
  EXPECT_EQ(b.Extend(1), nullptr);
}

TEST(TradeVocabulary, CodesAndTheirLabels) {
  EXPECT_STREQ(GetOrderStatusText("3"), GBK("部分成交"));
  EXPECT_STREQ(GetOrderStatusText("7"), GBK("其他"));
  for (const char* none : {"abc", "0", "8", "-1"}) EXPECT_STREQ(GetOrderStatusText(none), "");
  EXPECT_STREQ(GetOrderTypeText("YC"), GBK("对手方最优撤"));
  EXPECT_STREQ(GetOrderTypeText("0B"), GBK("限价买"));
  for (const char* none : {"0b", "7S", "", "0BB"}) EXPECT_STREQ(GetOrderTypeText(none), "");
  EXPECT_STREQ(GetAllotKindText("1"), GBK("中签"));
  EXPECT_STREQ(GetAllotKindText("2"), "");
}

}  // namespace

// The map against a plain reference: few tags (read one after another) and
// many (through the sorted index), tags that share their filter bit, values
// added again later and out of order, maps copied, moved and made anew on a
// thread that kept the blocks of a dropped one.
TEST(TagMapTest, EveryTagKeepsItsValuesInOrderAtAnySize) {
  for (const int distinct : {1, 5, 31, 32, 33, 48, 49, 300}) {
    SCOPED_TRACE(distinct);
    std::vector<int> tags;
    for (int i = 0; i < distinct; ++i)
      tags.push_back((i * 7919) % 1000 * 256 + i % 3);  // clashing bits
    std::vector<std::pair<int, std::string>> added;
    for (int pass = 0; pass < 3; ++pass)
      for (int i = 0; i < distinct; ++i)
        if ((i + pass) % 2 == 0 || pass == 0)
          added.emplace_back(
              tags[static_cast<size_t>(pass == 1 ? distinct - 1 - i : i)],
              std::to_string(pass) + "-" + std::to_string(i) + std::string(pass * 9, 'x'));
    std::map<int, std::vector<std::string>> reference;
    std::vector<int> firstSeen;
    TagMap kept;
    for (int round = 0; round < 2; ++round) {
      TagMap map;  // the second is made from the blocks the first gave back
      for (const auto& [tag, value] : added) {
        if (round == 0 && !reference.count(tag)) firstSeen.push_back(tag);
        if (round == 0) reference[tag].push_back(value);
        map.Add(tag, value);
      }
      ASSERT_EQ(map.size(), reference.size());
      std::vector<int> order;
      for (const auto& entry : map) order.push_back(entry.first);
      EXPECT_EQ(order, firstSeen);
      for (const auto& [tag, values] : reference) {
        auto it = map.find(tag);
        ASSERT_NE(it, map.end()) << tag;
        EXPECT_EQ(it->second.ToVector(), values);
      }
      for (int missing : {0, tags[0] + 256, tags[0] + 1000000, -1})
        if (!reference.count(missing)) {
          EXPECT_EQ(map.count(missing), 0u) << missing;
        }
      map[7] = TagValues("seven");
      EXPECT_EQ(GetFieldText(map, 7), "seven");
      if (round == 0) kept = map;
    }
    TagMap moved(std::move(kept));
    EXPECT_EQ(moved.size(), reference.size() + 1);
    EXPECT_EQ(GetFieldText(moved, tags.back()), reference[tags.back()].front());
    moved.clear();
    EXPECT_TRUE(moved.empty());
    EXPECT_EQ(moved.count(tags[0]), 0u);
    moved.Add(tags[0], "again");
    EXPECT_EQ(GetFieldText(moved, tags[0]), "again");
  }
}
