#include "platform/gbk.h"

#include <iconv.h>

#include <QString>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <unordered_map>

namespace platform {
namespace {

// glibc's CP936 is GBK with the euro sign at 0x80, as the system's code page.
std::string Convert(const char* from, const char* to, std::string_view in) {
  iconv_t cd = iconv_open(to, from);
  if (cd == (iconv_t)-1) return std::string(in);
  std::string out;
  out.resize(in.size() * 4 + 16);
  char* src = const_cast<char*>(in.data());
  size_t srcLeft = in.size();
  char* dst = out.data();
  size_t dstLeft = out.size();
  while (srcLeft > 0) {
    size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    if (rc != (size_t)-1) break;
    if (errno == E2BIG) {
      size_t used = dst - out.data();
      out.resize(out.size() * 2);
      dst = out.data() + used;
      dstLeft = out.size() - used;
      continue;
    }
    // Invalid or truncated sequence: one '?' for one source byte, then on.
    if (dstLeft == 0) {
      size_t used = dst - out.data();
      out.resize(out.size() * 2);
      dst = out.data() + used;
      dstLeft = out.size() - used;
    }
    *dst++ = '?';
    --dstLeft;
    ++src;
    --srcLeft;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  out.resize(dst - out.data());
  iconv_close(cd);
  return out;
}

}  // namespace

std::string GbkToUtf8(std::string_view gbk) { return Convert("CP936", "UTF-8", gbk); }
std::string Utf8ToGbk(std::string_view utf8) { return Convert("UTF-8", "CP936", utf8); }

QString GbkToQString(std::string_view gbk) {
  std::string utf8 = GbkToUtf8(gbk);
  return QString::fromUtf8(utf8.data(), (qsizetype)utf8.size());
}

std::string QStringToGbk(const QString& text) {
  QByteArray utf8 = text.toUtf8();
  return Utf8ToGbk(std::string_view(utf8.constData(), (size_t)utf8.size()));
}

size_t GbkCutLength(const char* text, size_t maxBytes) {
  if (!text) return 0;
  size_t i = 0;
  while (i < maxBytes && text[i] != '\0') {
    unsigned char b = (unsigned char)text[i];
    if (IsGbkLeadByte(b)) {
      if (i + 2 > maxBytes || text[i + 1] == '\0') break;  // never look past maxBytes
      i += 2;
    } else {
      ++i;
    }
  }
  return i;
}

void GbkCopyCut(char* dst, size_t dstSize, const char* src) {
  if (!dst || dstSize == 0) return;
  size_t n = GbkCutLength(src, dstSize - 1);
  if (n) std::memcpy(dst, src, n);
  dst[n] = '\0';
}

namespace {

unsigned char FoldAscii(unsigned char c) {
  return (c >= 'A' && c <= 'Z') ? (unsigned char)(c + ('a' - 'A')) : c;
}

// Compares up to the end of the shorter text; sets *common to the bytes
// that matched.
int CompareFolded(std::string_view a, std::string_view b, size_t* common) {
  size_t i = 0;
  const size_t n = std::min(a.size(), b.size());
  while (i < n) {
    const unsigned char c = (unsigned char)a[i], d = (unsigned char)b[i];
    if (IsGbkLeadByte(c) && c == d && i + 1 < n) {
      // A two-byte character: its trail byte is never a letter.
      if (a[i + 1] != b[i + 1]) {
        *common = i;
        return (int)(unsigned char)a[i + 1] - (int)(unsigned char)b[i + 1];
      }
      i += 2;
      continue;
    }
    if (FoldAscii(c) != FoldAscii(d)) {
      *common = i;
      return (int)FoldAscii(c) - (int)FoldAscii(d);
    }
    ++i;
  }
  *common = i;
  return 0;
}

}  // namespace

int GbkCompareNoCase(std::string_view a, std::string_view b) {
  size_t common = 0;
  if (int c = CompareFolded(a, b, &common)) return c;
  return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

bool GbkStartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (prefix.size() > text.size()) return false;
  size_t common = 0;
  return CompareFolded(text.substr(0, prefix.size()), prefix, &common) == 0;
}

const char* GbkLiteral(const char* utf8) {
  static std::mutex mutex;
  static std::unordered_map<std::string, std::string>* cache =
      new std::unordered_map<std::string, std::string>();  // lives until exit, never destroyed
  std::lock_guard<std::mutex> lock(mutex);
  auto it = cache->find(utf8);
  if (it == cache->end()) it = cache->emplace(utf8, Utf8ToGbk(utf8)).first;
  return it->second.c_str();
}

}  // namespace platform
