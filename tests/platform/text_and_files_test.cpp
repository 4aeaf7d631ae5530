#include <QString>
#include <atomic>
#include <chrono>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <deque>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "enforced_permissions.h"

#include "platform/dynlib.h"
#include "platform/gbk.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "platform/registry.h"
#include "platform/socket.h"
#include "platform/types.h"
#include "support/temp_folder.h"

namespace {

// A fresh folder for each call (with a trailing '/'), all removed when the
// program ends.
std::string TempDir() {
  static std::deque<test_support::TempFolder> folders;
  return folders.emplace_back("zeb-platform").Path() + "/";
}

TEST(Gbk, RoundTripsChineseText) {
  const std::string utf8 = "确定退出系统吗？abc";
  std::string gbk = platform::Utf8ToGbk(utf8);
  EXPECT_EQ(gbk.substr(0, 4), "\xC8\xB7\xB6\xA8");  // 确定
  EXPECT_EQ(gbk.size(), 8u * 2 + 3);
  EXPECT_EQ(platform::GbkToUtf8(gbk), utf8);
  EXPECT_STREQ(GBK("确定"), "\xC8\xB7\xB6\xA8");
  EXPECT_EQ(GBK("确定"), GBK("确定"));  // one stable copy
  EXPECT_EQ(platform::GbkToQString(gbk).toStdString(), utf8);
}

TEST(Gbk, CutsOnCharacterBoundaries) {
  const char* text =
      "\xC8\xB7\xB6\xA8"
      "a";  // 确定a
  struct Case {
    size_t max, want;
  } cases[] = {{0, 0}, {1, 0}, {2, 2}, {3, 2}, {4, 4}, {5, 5}, {99, 5}};
  for (const Case& c : cases) EXPECT_EQ(platform::GbkCutLength(text, c.max), c.want) << c.max;
  // A lead byte at the very end is never kept alone.
  EXPECT_EQ(platform::GbkCutLength("ab\xC8", 10), 2u);
  // A fixed field without a NUL is read no further than maxBytes.
  const char field[3] = {'a', 'b', '\xC8'};
  EXPECT_EQ(platform::GbkCutLength(field, sizeof field), 2u);
  char out[4];
  platform::GbkCopyCut(out, sizeof out, text);
  EXPECT_STREQ(out, "\xC8\xB7");
  // Bad bytes become '?', never vanish silently.
  EXPECT_EQ(platform::GbkToUtf8("a\xFF"
                                "b"),
            "a?b");
}

TEST(Rect, EdgesAreExclusive) {
  RECT r{0, 0, 10, 10};
  EXPECT_TRUE(PtInRect(r, POINT{9, 9}));
  EXPECT_FALSE(PtInRect(r, POINT{10, 9}));
  RECT a{0, 0, 10, 10}, b{10, 0, 20, 10}, out{1, 1, 1, 1};
  EXPECT_FALSE(IntersectRect(out, a, b));  // touching rectangles do not overlap
  EXPECT_TRUE(IsRectEmpty(out));
  EXPECT_TRUE(IntersectRect(out, a, RECT{5, 5, 15, 15}));
  EXPECT_TRUE(EqualRect(out, RECT{5, 5, 10, 10}));
  EXPECT_EQ(RectWidth(out), 5);
  EXPECT_EQ(RGB(1, 2, 3), 0x030201u);
}

TEST(Profile, ReadsWritesAndKeepsOtherLines) {
  std::string path = TempDir() + "sysset.ini";
  ASSERT_TRUE(
      platform::WriteFileAtomic(path, "; note\r\n[A]\r\nx = 1\r\n\r\n[B]\r\ny=\"two\"\r\n"));
  char buf[16];
  EXPECT_EQ(GetPrivateProfileString("a", "X", "d", buf, sizeof buf, path.c_str()), 1u);
  EXPECT_STREQ(buf, "1");
  GetPrivateProfileString("B", "y", "d", buf, sizeof buf, path.c_str());
  EXPECT_STREQ(buf, "two");
  GetPrivateProfileString("B", "none", "dflt", buf, sizeof buf, path.c_str());
  EXPECT_STREQ(buf, "dflt");
  EXPECT_EQ(GetPrivateProfileInt("A", "x", 7, path.c_str()), 1u);
  EXPECT_EQ(GetPrivateProfileInt("A", "nope", 7, path.c_str()), 7u);

  const char* section = GBK("主力大单");
  EXPECT_TRUE(WritePrivateProfileString(section, "VALUE", "500", path.c_str()));
  EXPECT_TRUE(WritePrivateProfileString("A", "z", "3", path.c_str()));
  EXPECT_TRUE(WritePrivateProfileString("A", "x", "9", path.c_str()));
  std::string data;
  ASSERT_TRUE(platform::ReadFile(path, data));
  EXPECT_EQ(data, std::string("; note\r\n[A]\r\nx=9\r\nz=3\r\n\r\n[B]\r\ny=\"two\"\r\n[") +
                      section + "]\r\nVALUE=500\r\n");
  // A value longer than the buffer is cut, never overrun.
  char small[3];
  EXPECT_EQ(GetPrivateProfileString(section, "VALUE", "", small, sizeof small, path.c_str()), 2u);
  EXPECT_STREQ(small, "50");
}

// Several changes saved together: all of them in one rewrite, or none when
// one of them is refused (a line break in a value).
TEST(Profile, SeveralChangesAreSavedTogetherOrNotAtAll) {
  const std::string path = TempDir() + "together.ini";
  const std::string kept = "[A]\r\nx=1\r\n";
  const struct {
    const char* name;
    std::vector<platform::ProfileWrite> writes;
    std::string after;
  } cases[] = {
      {"two sections", {{"A", "x", "2"}, {"B", "y", "3"}}, "[A]\r\nx=2\r\n[B]\r\ny=3\r\n"},
      {"the second refused", {{"A", "x", "2"}, {"B", "y", "3\r\n[C]"}}, kept},
      {"a key and a section deleted", {{"A", "x", nullptr}, {"A", nullptr, nullptr}}, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(platform::WriteFileAtomic(path, kept));
    EXPECT_EQ(platform::WriteProfileStrings(c.writes, path.c_str()) != FALSE, c.after != kept);
    std::string data;
    ASSERT_TRUE(platform::ReadFile(path, data));
    EXPECT_EQ(data, c.after);
  }
}

// Names ignore the case of ASCII letters only. "\x81\x41" and "\x81\x61" are
// two Chinese characters whose trail bytes happen to be 'A' and 'a': folding
// them made one key overwrite the other.
TEST(Profile, ChineseNamesDifferingInATrailByteStayApart) {
  const std::string path = TempDir() + "names.ini";
  const char* upperTrail = "\x81\x41";
  const char* lowerTrail = "\x81\x61";
  for (const char* section : {upperTrail, lowerTrail}) {
    EXPECT_TRUE(WritePrivateProfileString(section, upperTrail, "1", path.c_str()));
    EXPECT_TRUE(WritePrivateProfileString(section, lowerTrail, "2", path.c_str()));
  }
  char buf[8];
  for (const char* section : {upperTrail, lowerTrail}) {
    GetPrivateProfileString(section, upperTrail, "d", buf, sizeof buf, path.c_str());
    EXPECT_STREQ(buf, "1");
    GetPrivateProfileString(section, lowerTrail, "d", buf, sizeof buf, path.c_str());
    EXPECT_STREQ(buf, "2");
  }
  std::string data;
  ASSERT_TRUE(platform::ReadFile(path, data));
  const std::string body = std::string(upperTrail) + "=1\r\n" + lowerTrail + "=2\r\n";
  EXPECT_EQ(data,
            "[" + std::string(upperTrail) + "]\r\n" + body + "[" + lowerTrail + "]\r\n" + body);
  // ASCII letters still fold, also beside a Chinese character.
  EXPECT_TRUE(WritePrivateProfileString("Mixed", (std::string(upperTrail) + "key").c_str(), "3",
                                        path.c_str()));
  GetPrivateProfileString("MIXED", (std::string(upperTrail) + "KEY").c_str(), "d", buf, sizeof buf,
                          path.c_str());
  EXPECT_STREQ(buf, "3");
}

// Files as they come from elsewhere: other line ends, NUL bytes, a huge line.
TEST(Profile, ReadsOddFilesWithinBounds) {
  const std::string dir = TempDir();
  struct Case {
    const char* name;
    std::string content;
    const char *section, *key, *want;
  } cases[] = {
      {"cr", "[A]\rx=1\ry=2\r[B]\rx=3", "A", "y", "2"},
      {"cr-b", "[A]\rx=1\ry=2\r[B]\rx=3", "B", "x", "3"},
      {"lf", "[A]\nx=1\n", "A", "x", "1"},
      {"nul", std::string("[A]\r\nx=a\0b\r\ny=2\r\n", 17), "A", "y", "2"},
      {"huge", "[A]\r\nx=" + std::string(1 << 20, 'v') + "\r\ny=2\r\n", "A", "x", "vvvvvvv"},
      {"no-close", "[A\r\nx=1\r\n", "A", "x", "d"},
  };
  for (const Case& c : cases) {
    const std::string path = dir + c.name + ".ini";
    ASSERT_TRUE(platform::WriteFileAtomic(path, c.content));
    char buf[8];
    GetPrivateProfileString(c.section, c.key, "d", buf, sizeof buf, path.c_str());
    EXPECT_STREQ(buf, c.want) << c.name;
  }
  // A write to a CR-only file keeps its other keys, each on a line of its own.
  const std::string path = dir + "cr.ini";
  ASSERT_TRUE(WritePrivateProfileString("A", "x", "9", path.c_str()));
  std::string data;
  ASSERT_TRUE(platform::ReadFile(path, data));
  EXPECT_EQ(data, "[A]\r\nx=9\r\ny=2\r\n[B]\r\nx=3\r\n");
  // A value (or name) with a line break would add lines of its own: refused.
  EXPECT_FALSE(WritePrivateProfileString("A", "x", "1\r\n[B]\r\nx=evil", path.c_str()));
  EXPECT_FALSE(WritePrivateProfileString("A", "x\ny", "1", path.c_str()));
  std::string after;
  ASSERT_TRUE(platform::ReadFile(path, after));
  EXPECT_EQ(after, data);
}

// A file that exists but cannot be read whole is never rewritten from what
// was read of it (nothing): the user's other lines would be lost.
TEST(Profile, WritesLeaveUnreadableFilesAlone) {
  const std::string path = TempDir() + "sysset.ini";
  const std::string kept = "[A]\r\nx=1\r\n[B]\r\ny=2\r\n";
  const struct {
    const char* what;
    mode_t mode;
    std::string content;
  } cases[] = {
      {"no read permission", 0200, kept},
      {"larger than a settings file may be", 0644, kept + std::string(16 << 20, ';')},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(platform::WriteFileAtomic(path, c.content));
    ASSERT_EQ(chmod(path.c_str(), c.mode), 0);
    {
      EnforcedPermissions enforced;
      EXPECT_FALSE(WritePrivateProfileString("A", "x", "9", path.c_str()));
      EXPECT_FALSE(WritePrivateProfileString("A", nullptr, nullptr, path.c_str()));
    }
    struct stat st;
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, c.mode);
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(std::string(std::istreambuf_iterator<char>(in), {}) == c.content);
  }
}

// Threads of one process saving one file: every save is whole and none is
// lost, including read-change-write of different profile keys.
TEST(Files, ConcurrentSavesOfOneFile) {
  const std::string dir = TempDir();
  const std::string file = dir + "same.txt", ini = dir + "same.ini";
  std::atomic<int> failures{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      const std::string mine(1000 + t * 1000, (char)('a' + t));
      for (int i = 0; i < 20; ++i) {
        if (!platform::WriteFileAtomic(file, mine)) ++failures;
        std::string key = "k" + std::to_string(t) + "_" + std::to_string(i);
        if (!WritePrivateProfileString("S", key.c_str(), "1", ini.c_str())) ++failures;
      }
    });
  }
  for (auto& t : threads) t.join();
  EXPECT_EQ(failures.load(), 0);
  std::string data;
  ASSERT_TRUE(platform::ReadFile(file, data));
  ASSERT_FALSE(data.empty());
  EXPECT_EQ(data, std::string(data.size(), data[0]));
  EXPECT_EQ(data.size(), 1000u + (size_t)(data[0] - 'a') * 1000);
  for (int t = 0; t < 4; ++t)
    for (int i = 0; i < 20; ++i) {
      std::string key = "k" + std::to_string(t) + "_" + std::to_string(i);
      EXPECT_EQ(GetPrivateProfileInt("S", key.c_str(), 0, ini.c_str()), 1u) << key;
    }
}

// A peer that stops reading: a send with a time-out gives up instead of
// blocking once the socket buffers are full.
TEST(Socket, SendAllKeepsItsTimeOutAgainstAStalledPeer) {
  int port = 0;
  platform::SocketFd listener = platform::ListenLoopback(0, &port);
  ASSERT_NE(listener, platform::kInvalidSocket);
  platform::SocketFd client = platform::ConnectTcp("127.0.0.1", port, 2000);
  ASSERT_NE(client, platform::kInvalidSocket);
  platform::SocketFd server = platform::AcceptClient(listener, 2000);
  ASSERT_NE(server, platform::kInvalidSocket);
  std::atomic<bool> finished{false};
  std::thread watchdog([&] {  // turns a hang into a failure
    for (int i = 0; i < 10000 && !finished.load(); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (!finished.load()) platform::ShutdownSocket(client);
  });
  const std::string big(64 << 20, 'x');
  const auto t0 = std::chrono::steady_clock::now();
  EXPECT_FALSE(platform::SendAll(client, big.data(), big.size(), 100));
  finished = true;
  watchdog.join();
  EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(9));
  // Ports out of range are refused, not wrapped round to another port.
  std::string error;
  EXPECT_EQ(platform::ConnectTcp("127.0.0.1", port + 65536, 500, &error), platform::kInvalidSocket);
  EXPECT_FALSE(error.empty());
  // Bad descriptors fail at once rather than wait.
  EXPECT_EQ(platform::WaitReadable(platform::kInvalidSocket, -1), -1);
  char c;
  EXPECT_FALSE(platform::RecvExact(platform::kInvalidSocket, &c, 1, 5000));
  for (platform::SocketFd fd : {client, server, listener}) platform::CloseSocket(fd);
}

// A started program is collected when it ends: no zombie stays behind.
TEST(Process, StartedProgramLeavesNoZombie) {
  long pid = platform::StartProcess("/bin/true", {});
  ASSERT_GT(pid, 0);
  const std::string proc = "/proc/" + std::to_string(pid);
  for (int i = 0; i < 5000 && platform::FileExists(proc); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  EXPECT_FALSE(platform::FileExists(proc));
  EXPECT_EQ(platform::StartProcess("/nonexistent/program", {}), -1);
}

// A program started in a group of its own leads that group.
TEST(Process, NewProcessGroupOnRequest) {
  long pid = platform::StartProcess("/bin/sleep", {"30"}, true);
  ASSERT_GT(pid, 0);
  EXPECT_EQ(getpgid((pid_t)pid), (pid_t)pid);
  kill((pid_t)pid, SIGTERM);
  long same = platform::StartProcess("/bin/sleep", {"30"});
  ASSERT_GT(same, 0);
  EXPECT_EQ(getpgid((pid_t)same), getpgrp());
  kill((pid_t)same, SIGTERM);
}

TEST(Registry, KeepsDwordAndStringValues) {
  platform::SetConfigDirOverride(TempDir());
  const std::string key = "Software\\Oskavel\\KeyInput";
  DWORD v = 0;
  EXPECT_FALSE(platform::RegGetDword(key, "w", &v));
  EXPECT_TRUE(platform::RegSetDword(key, "w", 0xFFFFFFFF));
  EXPECT_TRUE(platform::RegGetDword(key, "w", &v));
  EXPECT_EQ(v, 0xFFFFFFFFu);
  std::string s;
  EXPECT_FALSE(platform::RegGetString(key, "w", &s));  // a DWORD is not a string
  EXPECT_TRUE(platform::RegSetString(key, "s", "a=b"));
  EXPECT_TRUE(platform::RegGetString(key, "s", &s));
  EXPECT_EQ(s, "a=b");
  EXPECT_TRUE(platform::RegDeleteValue(key, "s"));
  EXPECT_FALSE(platform::RegGetString(key, "s", &s));
  platform::SetConfigDirOverride("");
}

// Listing keeps the order of writing and leaves other keys' values out;
// deleting a key removes its values and nothing else.
TEST(Registry, ListsValuesAndDeletesKeys) {
  platform::SetConfigDirOverride(TempDir());
  const std::string key = "Software\\Oskavel\\KeyInput", other = "Software\\Other";
  EXPECT_TRUE(platform::RegEnumValues(key).empty());
  ASSERT_TRUE(platform::RegSetDword(key, "600001", 7));
  ASSERT_TRUE(platform::RegSetString(key, "s", "text"));
  ASSERT_TRUE(platform::RegSetDword(key, "01", 0x80000001u));
  ASSERT_TRUE(platform::RegSetDword(other, "x", 1));
  std::vector<platform::SRegValue> values = platform::RegEnumValues(key);
  ASSERT_EQ(values.size(), 3u);
  EXPECT_EQ(values[0].name, "600001");
  EXPECT_TRUE(values[0].isDword);
  EXPECT_EQ(values[0].dword, 7u);
  EXPECT_FALSE(values[1].isDword);
  EXPECT_EQ(values[1].text, "text");
  EXPECT_EQ(values[2].dword, 0x80000001u);
  EXPECT_TRUE(platform::RegDeleteKey(key));
  EXPECT_TRUE(platform::RegEnumValues(key).empty());
  EXPECT_TRUE(platform::RegDeleteKey(key));  // already gone
  EXPECT_EQ(platform::RegEnumValues(other).size(), 1u);
  platform::SetConfigDirOverride("");
}

// Why a read failed decides whether a reader may write the file afresh:
// only when nothing stands there. Files above the cap are refused unread,
// with a trace line naming them.
TEST(Files, ReadWholeFileTellsWhyNot) {
  const std::string dir = TempDir();
  auto sized = [&](const char* name, off_t size) {
    const std::string path = dir + name;
    std::ofstream(path, std::ios::binary).put('x');
    EXPECT_EQ(truncate(path.c_str(), size), 0);
    return path;
  };
  ASSERT_EQ(symlink((dir + "nowhere").c_str(), (dir + "dangling").c_str()), 0);
  ASSERT_EQ(mkfifo((dir + "pipe").c_str(), 0644), 0);
  const std::string locked = sized("locked", 10);
  ASSERT_EQ(chmod(locked.c_str(), 0), 0);
  const off_t cap = (off_t)platform::kMaxReadFileSize;
  const struct {
    std::string path;
    platform::FileRead want;
    size_t size;
  } cases[] = {
      {dir + "absent", platform::FileRead::kMissing, 0},
      {dir + "dangling", platform::FileRead::kUnreadable, 0},
      {dir, platform::FileRead::kUnreadable, 0},
      {dir + "pipe", platform::FileRead::kUnreadable, 0},
      {locked, platform::FileRead::kUnreadable, 0},
      {"/dev/zero", platform::FileRead::kUnreadable, 0},
      {sized("at-cap", cap), platform::FileRead::kRead, (size_t)cap},
      {sized("over-cap", cap + 1), platform::FileRead::kTooLarge, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    std::string data = "stale";
    testing::internal::CaptureStderr();
    platform::FileRead got;
    {
      EnforcedPermissions enforced;
      got = platform::ReadWholeFile(c.path, data);
    }
    const std::string trace = testing::internal::GetCapturedStderr();
    EXPECT_EQ(got, c.want);
    EXPECT_EQ(data.size(), c.size);
    EXPECT_EQ(trace.find(c.path) != std::string::npos, c.want == platform::FileRead::kTooLarge)
        << trace;
  }
}

TEST(Files, AtomicWriteReplacesWholeFile) {
  std::string path = TempDir() + "f.txt";
  ASSERT_TRUE(platform::WriteFileAtomic(path, "old content"));
  ASSERT_TRUE(platform::WriteFileAtomic(path, "new"));
  std::string data;
  ASSERT_TRUE(platform::ReadFile(path, data));
  EXPECT_EQ(data, "new");
  EXPECT_FALSE(platform::WriteFileAtomic("/nonexistent-dir/x", "y"));
  EXPECT_EQ(platform::ToNativePath("INDEX\\ALARM.DEX"), "INDEX/ALARM.DEX");
}

// A new file honours the umask unless it holds a secret (then it is the
// owner's alone whatever the umask); a file that exists keeps its mode.
TEST(Files, AtomicWriteModesOfNewAndExistingFiles) {
  struct Case {
    mode_t umask;
    platform::FileAccess access;
    int existing;  // the mode of a file already there, -1 for none
    mode_t want;
  };
  using platform::FileAccess;
  const Case cases[] = {
      {022, FileAccess::kShared, -1, 0644},   {077, FileAccess::kShared, -1, 0600},
      {002, FileAccess::kShared, -1, 0664},   {000, FileAccess::kPrivate, -1, 0600},
      {022, FileAccess::kPrivate, -1, 0600},  {022, FileAccess::kPrivate, 0644, 0644},
      {077, FileAccess::kShared, 0640, 0640}, {000, FileAccess::kShared, 0600, 0600},
  };
  const std::string dir = TempDir();
  const mode_t saved = umask(022);
  int n = 0;
  for (const Case& c : cases) {
    const std::string path = dir + "f" + std::to_string(++n);
    if (c.existing >= 0) {
      ASSERT_TRUE(platform::WriteFileAtomic(path, "old"));
      ASSERT_EQ(chmod(path.c_str(), (mode_t)c.existing), 0);
    }
    umask(c.umask);
    const bool written = platform::WriteFileAtomic(path, "EKEYPWD=x", c.access);
    umask(022);
    ASSERT_TRUE(written) << n;
    struct stat st;
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, c.want) << "case " << n;
  }
  umask(saved);
}

TEST(Files, AtomicWriteKeepsPermissionsAndLinks) {
  std::string dir = TempDir();
  std::string secret = dir + "zeb.ini";
  ASSERT_TRUE(platform::WriteFileAtomic(secret, "EKEYPWD=x"));
  ASSERT_EQ(chmod(secret.c_str(), 0600), 0);
  ASSERT_TRUE(platform::WriteFileAtomic(secret, "EKEYPWD=y"));
  struct stat st;
  ASSERT_EQ(stat(secret.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);

  std::string link = dir + "link.ini";
  ASSERT_EQ(symlink(secret.c_str(), link.c_str()), 0);
  ASSERT_TRUE(platform::WriteFileAtomic(link, "via link"));
  ASSERT_EQ(lstat(link.c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  std::string data;
  ASSERT_TRUE(platform::ReadFile(secret, data));
  EXPECT_EQ(data, "via link");
}

}  // namespace
