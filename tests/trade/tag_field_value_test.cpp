// The value of a field being built: kept inside the field up to
// kInlineCapacity bytes and on the heap beyond, and the same bytes either
// way, through copies, moves, reassignment and lists that grow.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "trade/core/tag_field_value.h"
#include "trade/core/trade_codec.h"

namespace {

// n bytes, no two neighbours alike, so a byte copied to the wrong place
// shows.
std::string Distinct(size_t n, char first = 'A') {
  std::string s;
  for (size_t i = 0; i < n; ++i) s += static_cast<char>(first + i % 50);
  return s;
}

void ExpectHolds(const TagFieldValue& v, const std::string& text) {
  EXPECT_EQ(v.View(), text);
  EXPECT_EQ(v.size(), text.size());
  EXPECT_EQ(v.empty(), text.empty());
  EXPECT_EQ(v.c_str()[text.size()], '\0');
}

// Lengths on both sides of every copy width and of the inline room.
const size_t kLengths[] = {0,  1,  3,  4,  7,  8,  15, 16, 17, 31,  32,
                           33, 40, 46, 47, 48, 49, 63, 64, 65, 100, 1000};

TEST(TagFieldValue, EveryLengthSurvivesCopyAndMove) {
  for (const size_t n : kLengths) {
    SCOPED_TRACE(n);
    const std::string text = Distinct(n);
    const TagFieldValue original(text);
    ExpectHolds(original, text);

    TagFieldValue copy(original);
    ExpectHolds(copy, text);
    TagFieldValue moved(std::move(copy));
    ExpectHolds(moved, text);
    ExpectHolds(copy, "");  // a moved-from value is empty, not dangling

    TagFieldValue target("x");
    target = moved;
    ExpectHolds(target, text);
    TagFieldValue other(Distinct(200, 'a'));
    other = std::move(target);
    ExpectHolds(other, text);
    ExpectHolds(original, text);
  }
}

TEST(TagFieldValue, ReassignmentAcrossTheInlineRoomKeepsTheNewBytes) {
  for (const size_t from : kLengths) {
    for (const size_t to : kLengths) {
      SCOPED_TRACE(std::to_string(from) + " -> " + std::to_string(to));
      TagFieldValue v(Distinct(from));
      const std::string text = Distinct(to, 'a');
      v.assign(text);
      ExpectHolds(v, text);
    }
  }
}

TEST(TagFieldValue, AssignFromItsOwnBytes) {
  // The tail of the value itself, overlapping what is overwritten, from
  // the inline room and from the heap, to either.
  for (const size_t n : kLengths) {
    for (const size_t skip : {size_t{0}, size_t{1}, size_t{5}, size_t{20}}) {
      if (skip > n) continue;
      SCOPED_TRACE(std::to_string(n) + " skip " + std::to_string(skip));
      const std::string text = Distinct(n);
      TagFieldValue v(text);
      v.assign(v.View().substr(skip));
      ExpectHolds(v, text.substr(skip));
    }
  }
}

TEST(TagFieldValue, LongValuesInAGrowingListGoOutWhole) {
  // No reserve: the list moves its fields as it grows, and is copied
  // before it is sent.
  TagFieldList grown;
  std::string expected;
  for (size_t n = 0; n <= 130; ++n) {
    const std::string value = Distinct(n);
    const int tag = 100 + static_cast<int>(n);
    AddStringField(grown, tag, value, Distinct(n, 'a').c_str());
    expected += std::to_string(tag) + "=" + value + "\x01";
  }
  const TagFieldList copy = grown;
  grown.clear();
  auto m = BuildTradeMessage(0, "2017", 0, false, &copy, 2, "S");
  const std::string text(m->Data(), static_cast<size_t>(m->Size()));
  const std::string header =
      "1035=2017\x01"
      "1053=0\x01"
      "336=S\x01";
  EXPECT_EQ(text.substr(0, text.size() - 9),
            "1008=FIX.4.2\x01"
            "1009=" +
                std::to_string(header.size() + expected.size()) + "\x01" + header + expected);
  EXPECT_EQ(VerifyTradeChecksum(text.data(), static_cast<int>(text.size())), 1);
  for (size_t n = 0; n <= 130; ++n) EXPECT_EQ(copy[n].name, Distinct(n, 'a'));
}

}  // namespace
