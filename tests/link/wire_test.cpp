// The pure parts of the quote link: frames, requests, body handling, the
// byte queue and the stopwatch.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "link/link_trace.h"
#include "link/quote_frame.h"
#include "link/quote_protocol.h"
#include "link/received_body.h"
#include "link/signal_buffer.h"
#include "link/time_count.h"
#include "memory_source.h"
#include "platform/gbk.h"

using namespace quotelink;

namespace {

std::string Header(uint32_t length, uint32_t marker = kFrameMarker) {
  std::string h(8, '\0');
  for (int i = 0; i < 4; ++i) {
    h[i] = (char)(length >> (24 - 8 * i));
    h[4 + i] = (char)(marker >> (24 - 8 * i));
  }
  return h;
}

std::string Body(uint16_t type, uint16_t tag, size_t size = 12) {
  std::string b(size, 'x');
  WriteU16(&b[0], type);
  WriteU16(&b[2], tag);
  return b;
}

struct Outcome {
  std::vector<std::string> bodies;
  FrameReader::Result end;
};

Outcome ReadAll(const std::string& stream, size_t step) {
  MemorySource source(stream, step);
  FrameReader reader(256);
  Outcome out;
  for (;;) {
    auto r = reader.Next(source);
    if (r == FrameReader::Result::kEmpty) continue;
    if (r != FrameReader::Result::kBody) {
      out.end = r;
      return out;
    }
    // As the receive thread does: the bodies already buffered go along,
    // and all of them must still be intact together.
    std::vector<std::pair<const char*, uint32_t>> batch{{reader.Body(), reader.BodyLength()}};
    const char* body;
    uint32_t length;
    while (reader.NextBuffered(&body, &length))
      if (length) batch.emplace_back(body, length);
    for (auto& [b, n] : batch) out.bodies.emplace_back(b, n);
  }
}

TEST(FrameReader, FramesOfTheTable) {
  const std::string a = Body(0x0200, 1, 30), b = Body(0x0300, 2, 7000);
  struct Case {
    const char* name;
    std::string stream;
    std::vector<std::string> bodies;
    FrameReader::Result end;
  } cases[] = {
      {"two frames",
       EncodeFrame(a.data(), a.size()) + EncodeFrame(b.data(), b.size()),
       {a, b},
       FrameReader::Result::kClosed},
      {"a run of small frames",
       EncodeFrame(a.data(), a.size()) + Header(0) + EncodeFrame(a.data(), a.size()) +
           EncodeFrame(a.data(), a.size()),
       {a, a, a},
       FrameReader::Result::kClosed},
      {"length 0 delivers nothing",
       Header(0) + EncodeFrame(a.data(), a.size()),
       {a},
       FrameReader::Result::kClosed},
      {"top bit set delivers nothing",
       Header(0x80000010) + EncodeFrame(a.data(), a.size()),
       {a},
       FrameReader::Result::kClosed},
      {"bad marker ends the stream",
       EncodeFrame(a.data(), a.size()) + Header(4, 0x0A0A0A0B) + "abcd",
       {a},
       FrameReader::Result::kBadMarker},
      {"above the cap", Header(kMaxFrameBody + 1), {}, FrameReader::Result::kTooLong},
      {"cut inside a body",
       EncodeFrame(b.data(), b.size()).substr(0, 100),
       {},
       FrameReader::Result::kClosed},
  };
  for (const Case& c : cases) {
    for (size_t step : {size_t(1), size_t(3), size_t(100000)}) {
      SCOPED_TRACE(std::string(c.name) + ", pieces of " + std::to_string(step));
      Outcome out = ReadAll(c.stream, step);
      EXPECT_EQ(out.bodies, c.bodies);
      EXPECT_EQ(out.end, c.end);
    }
  }
}

TEST(FrameReader, ReceiveBufferGrowsToTheLongestBodyAndStays) {
  const std::string small = Body(1, 1, 100), big = Body(2, 1, 9000);
  MemorySource source(EncodeFrame(big.data(), big.size()) + EncodeFrame(small.data(), small.size()),
                      4096);
  FrameReader reader;
  EXPECT_EQ(reader.Capacity(), kInitialReceiveCapacity);
  ASSERT_EQ(reader.Next(source), FrameReader::Result::kBody);
  EXPECT_EQ(reader.Capacity(), 9000u);
  ASSERT_EQ(reader.Next(source), FrameReader::Result::kBody);
  EXPECT_EQ(std::string(reader.Body(), reader.BodyLength()), small);
  EXPECT_EQ(reader.Capacity(), 9000u);
}

TEST(FrameReader, ExchangedStorageKeepsItsBodiesWhileTheReaderReadsOn) {
  const std::string a = Body(0x0200, 1, 30), b = Body(0x0300, 2, 40), c = Body(0x0400, 3, 300);
  const std::string frameC = EncodeFrame(c.data(), c.size());
  // A and B come whole with the first receive, C's start with them.
  const std::string stream =
      EncodeFrame(a.data(), a.size()) + EncodeFrame(b.data(), b.size()) + frameC;
  MemorySource source(stream, stream.size() - frameC.size() + 100);
  FrameReader reader(1024);
  ASSERT_EQ(reader.Next(source), FrameReader::Result::kBody);
  const char* bodyA = reader.Body();
  const char* bodyB;
  uint32_t lengthB;
  ASSERT_TRUE(reader.NextBuffered(&bodyB, &lengthB));
  const char* none;
  uint32_t noneLength;
  EXPECT_FALSE(reader.NextBuffered(&none, &noneLength));  // C has not come whole
  FrameStorage kept;  // empty: the reader allocates what it goes on in
  ASSERT_TRUE(reader.ExchangeStorage(kept));
  EXPECT_EQ(kept.body.get(), bodyA);
  // C is put together from the bytes carried over and the next receive,
  // and every byte lands outside what was kept.
  ASSERT_EQ(reader.Next(source), FrameReader::Result::kBody);
  EXPECT_EQ(std::string(reader.Body(), reader.BodyLength()), c);
  EXPECT_EQ(std::string(bodyA, a.size()), a);
  EXPECT_EQ(std::string(bodyB, lengthB), b);
  EXPECT_EQ(reader.Next(source), FrameReader::Result::kClosed);
}

TEST(Requests, LoginRequestLayout) {
  LoginRequest r = BuildLoginRequest("user", std::string(25, 'p'));
  ASSERT_EQ(r.size(), 83u);
  const unsigned char head[12] = {0x00, 0x8B, 0, 0, 1, 0, 1, 0, 0, 0, 0, 0};
  EXPECT_EQ(0, std::memcmp(r.data(), head, 12));
  EXPECT_EQ(std::string((const char*)&r[12], 20), std::string("user") + std::string(16, '\0'));
  EXPECT_EQ(std::string((const char*)&r[32], 20), std::string(20, 'p'));  // cut, no zero
  EXPECT_EQ(ReadU32(&r[52]), 1u);
  EXPECT_EQ(std::string((const char*)&r[56], 27), std::string(27, '\0'));

  ShortRequest init = BuildInitDataRequest(), keep = BuildKeepAliveRequest();
  const unsigned char initBytes[12] = {0x00, 0x10, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0};
  const unsigned char keepBytes[12] = {0x00, 0x44, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(0, std::memcmp(init.data(), initBytes, 12));
  EXPECT_EQ(0, std::memcmp(keep.data(), keepBytes, 12));
}

TEST(ForwardingRule, TagsAndTypes) {
  struct Case {
    uint16_t type, tag;
    bool forwarded;
  } cases[] = {{0x0200, 100, true}, {0x0200, 101, false},   {0x0200, 0, true},
               {0x0C00, 500, true}, {0x1000, 0xFFFF, true}, {0x0300, 0xFFFF, false}};
  for (const Case& c : cases) {
    std::string b = Body(c.type, c.tag);
    EXPECT_EQ(ShouldForward(b.data(), (uint32_t)b.size()), c.forwarded)
        << std::hex << c.type << " tag " << std::dec << c.tag;
  }
  EXPECT_FALSE(ShouldForward("\x00\x02\x01", 3));  // too short for a tag
}

// Records what the handler asks for.
class Recorder : public BodyActions {
 public:
  std::vector<std::string> events;
  void Forward(const char* body, uint32_t length) override {
    events.push_back("forward " + std::to_string(length));
  }
  void ForwardInitialData(const char* body, uint32_t length) override {
    events.push_back("init " + std::to_string(length));
  }
  void Request(const void* body, uint32_t length) override {
    events.push_back("request " + std::to_string(ReadU16(body)) + "/" + std::to_string(length));
  }
  void Progress(int percent, const char* text) override {
    events.push_back("progress " + std::to_string(percent) + " " + platform::GbkToUtf8(text));
  }
  void EndLoginPhase() override { events.push_back("end"); }
  void ShowRefusal(const std::string& text) override {
    events.push_back("box " + platform::GbkToUtf8(text));
  }
};

std::string LoginReply(const std::string& text, uint32_t declared) {
  std::string b(12, '\0');
  WriteU16(&b[0], PKT_LOGIN);
  WriteU32(&b[4], declared);
  return b + text;
}

std::string InitData(uint32_t version, size_t size = 40) {
  std::string b = Body(PKT_INIT_DATA, 2, size);
  WriteU32(&b[4], version);
  return b;
}

class BodyHandling : public ::testing::Test {
 protected:
  void SetUp() override { ResetFirstDataFlagForTests(); }
  void Handle(const std::string& b) { handler.Handle(b.data(), (uint32_t)b.size()); }
  Recorder rec;
  ReceivedBodyHandler handler{rec};
};

TEST_F(BodyHandling, AcceptedLoginThenInitialData) {
  Handle(LoginReply("", 0));
  Handle(InitData(20261210));
  std::vector<std::string> expected = {"progress 40 开始接收数据",
                                       "progress 30 开始请求初始化数据",
                                       "request 4096/12",
                                       "progress 50 开始将初始化数据存盘...",
                                       "init 40",
                                       "progress 100 完成初始化过程",
                                       "end"};
  EXPECT_EQ(rec.events, expected);
  // A YYYYMMDD version is kept whole, so the same version again is old.
  EXPECT_EQ(handler.KeptVersion(), 20261210u);
  rec.events.clear();
  Handle(InitData(20261210));
  expected = {"progress 100 完成初始化过程", "end"};
  EXPECT_EQ(rec.events, expected);
}

TEST_F(BodyHandling, RefusedLoginShowsTheTextAndForwardsNothing) {
  std::string text = GBK("用户名或密码错误");
  for (uint32_t declared : {(uint32_t)text.size(), (uint32_t)text.size() + 1, 4000u}) {
    rec.events.clear();
    Handle(LoginReply(text + std::string(1, '\0'), declared));
    ASSERT_GE(rec.events.size(), 2u);
    EXPECT_EQ(rec.events[rec.events.size() - 2], "box 用户名或密码错误") << declared;
    EXPECT_EQ(rec.events.back(), "progress -1 用户名或密码错误") << declared;
  }
  // The text stops at the body's end when no zero comes.
  rec.events.clear();
  Handle(LoginReply("abc", 50));
  EXPECT_EQ(rec.events.back(), "progress -1 abc");
}

TEST_F(BodyHandling, NoticeAndFirstDataProgress) {
  Handle(Body(PKT_NOTICE, 900));  // a notice is no first data
  Handle(Body(PKT_PRE_DATA, 101));
  Handle(Body(0x0200, 5));
  Handle(Body(0x0200, 101));
  Handle(Body(0x0300, 7));
  std::vector<std::string> expected = {"forward 12",      "progress 30 开始请求初始化数据",
                                       "request 4096/12", "progress 40 开始接收数据",
                                       "forward 12",      "forward 12"};
  EXPECT_EQ(rec.events, expected);
}

TEST_F(BodyHandling, InitialDataIsAskedOnceUntilAnswered) {
  auto requests = [&] {
    size_t n = 0;
    for (auto& e : rec.events) n += e == "request 4096/12";
    return n;
  };
  for (int i = 0; i < 1000; ++i) Handle(Body(PKT_NOTICE, 0));
  Handle(LoginReply("", 0));
  EXPECT_EQ(requests(), 1u);
  // An answer, even one too short to use, ends the wait.
  Handle(InitData(5).substr(0, 10));
  Handle(Body(PKT_NOTICE, 0));
  Handle(Body(PKT_NOTICE, 0));
  EXPECT_EQ(requests(), 2u);
  // A new login starts afresh while the last request is still unanswered.
  handler.StartLogin();
  Handle(LoginReply("", 0));
  EXPECT_EQ(requests(), 3u);
}

TEST_F(BodyHandling, ShortBodiesAreRefused) {
  Handle(std::string(1, '\x02'));
  Handle(LoginReply("", 0).substr(0, 6));
  Handle(InitData(5).substr(0, 10));
  // Only the first-data report and the end of the login phase come out.
  std::vector<std::string> expected = {"progress 40 开始接收数据", "progress 100 完成初始化过程",
                                       "end"};
  EXPECT_EQ(rec.events, expected);
}

// A server may send unusable bodies as fast as the line carries them: the
// trace must not grow with them (it did by one line per body).
TEST_F(BodyHandling, AFloodOfShortBodiesTracesFewLines) {
  const std::string shortLogin = LoginReply("", 0).substr(0, 6);
  const std::string shortInit = InitData(5).substr(0, 10);
  std::string trace;
  SetTraceSink([&](const std::string& line) { trace += line; });
  for (int i = 0; i < 100000; ++i) {
    Handle(std::string(1, '\x02'));
    Handle(shortLogin);
    Handle(shortInit);
  }
  SetTraceSink(nullptr);
  const auto lines = std::count(trace.begin(), trace.end(), '\n');
  EXPECT_GE(lines, 1);
  EXPECT_LE(lines, 20);  // one per doubling of the 300,000 dropped
  EXPECT_NE(trace.find("(262144 dropped so far)"), std::string::npos) << trace;
}

TEST(SignalBufferTest, ChunksAndPartialGets) {
  SignalBuffer q;
  std::string data(20000, '\0');
  for (size_t i = 0; i < data.size(); ++i) data[i] = (char)(i * 7);
  ASSERT_EQ(q.Put(data.data(), (int)data.size(), -1), 0);
  char four[4];
  std::string out(20000, '\0');
  EXPECT_EQ(q.Get(out.data(), 12345, -1), 12345);
  EXPECT_EQ(q.Get(out.data() + 12345, 20000, -1), 20000 - 12345);
  EXPECT_EQ(out, data);
  EXPECT_EQ(q.Get(four, 4, -1), 0);
  // The tail chunk stays and takes the next bytes.
  ASSERT_EQ(q.Put("abcd", 4, -1), 0);
  EXPECT_EQ(q.Get(four, 4, -1), 4);
  EXPECT_EQ(std::string(four, 4), "abcd");
  SignalBuffer empty;
  EXPECT_EQ(empty.Get(four, 4, -1), 0);
}

TEST(SignalBufferTest, MoveToAndSignal) {
  SignalBuffer a, b;
  std::string data(9000, 'm');
  a.Put(data.data(), 9000, -1);
  a.MoveTo(b);
  std::string out(9001, '\0');
  EXPECT_EQ(b.Get(out.data(), 9001, -1), 9000);
  EXPECT_EQ(a.Get(out.data(), 1, -1), 0);

  // A Put with flag 0 wakes a consumer waiting in Get.
  std::string got;
  std::thread consumer([&] {
    char buf[8];
    a.Lock();
    a.Unlock();
    int n = a.Get(buf, 8, 0);
    got.assign(buf, (size_t)n);
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  a.Put("wake", 4, 0);
  consumer.join();
  EXPECT_EQ(got, "wake");
}

TEST(SignalBufferTest, LimitRefusesWholeAppends) {
  SignalBuffer q, other;
  q.SetLimit(10000);
  std::string data(9000, 'a');
  ASSERT_EQ(q.Put(data.data(), 9000, -1), 0);
  EXPECT_EQ(q.Put(data.data(), 1001, -1), -1);
  EXPECT_STREQ(q.GetErrorText(), "SignalBuffer::Put Queue Full...");
  EXPECT_EQ(q.Size(), 9000u);  // nothing of the refused bytes
  EXPECT_EQ(q.Put(data.data(), 1000, -1), 0);
  char out[600];
  EXPECT_EQ(q.Get(out, 600, -1), 600);
  EXPECT_EQ(q.Size(), 9400u);
  EXPECT_EQ(q.Put(data.data(), 600, -1), 0);
  // Moving ignores the receiving queue's limit and empties this one.
  other.SetLimit(1);
  q.MoveTo(other);
  EXPECT_EQ(q.Size(), 0u);
  EXPECT_EQ(other.Size(), 10000u);
  other.Clear();
  EXPECT_EQ(other.Size(), 0u);
}

TEST(TimeCountTest, StoppedWatchKeepsItsValue) {
  CTimeCount watch;
  EXPECT_TRUE(watch.IsStopped());
  EXPECT_EQ(watch.Elapsed(), 0.0);
  watch.Start();
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  watch.Stop();
  double stopped = watch.Elapsed();
  EXPECT_GE(stopped, 0.015);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(watch.Elapsed(), stopped);
}

}  // namespace
