#include <cstdio>
#include <cstring>

#include "platform/paths.h"
#include "sharecode/text_utils.h"

std::string PadText(const char* text, int width, int mode, char fill) {
  if (width < 0) width = 0;
  size_t length = text ? std::strlen(text) : 0;
  if (length == 0) return std::string((size_t)width, fill);
  if (length >= (size_t)width) return std::string(text, (size_t)width);
  std::string pad((size_t)width - length, fill);
  return mode == PAD_LEFT_ALIGN ? std::string(text) + pad : pad + text;
}

const char* FindLastOf(const char* text, const char* set) {
  if (!text || !set || !*set) return nullptr;
  for (size_t i = std::strlen(text); i > 0; --i)
    if (std::strchr(set, text[i - 1])) return text + i - 1;
  return nullptr;
}

const char* FindLastSubstring(const char* text, const char* part) {
  if (!text || !part || !*part) return nullptr;
  const char* last = nullptr;
  for (const char* at = std::strstr(text, part); at; at = std::strstr(at + 1, part)) last = at;
  return last;
}

void SplitPath(const char* path, std::string& dir, std::string& file) {
  dir.clear();
  file.clear();
  if (!path) return;
  const char* separator = FindLastOf(path, "/\\");
  if (!separator) {
    file = path;
    return;
  }
  if (separator != path) dir.assign(path, (size_t)(separator - path));
  file = separator + 1;
}

void BytesToHex(char* out, const unsigned char* data, int length) {
  if (!out) return;
  static const char digits[] = "0123456789abcdef";
  int n = 0;
  for (int i = 0; data && i < length; ++i) {
    out[n++] = digits[data[i] >> 4];
    out[n++] = digits[data[i] & 15];
  }
  out[n] = 0;
}

std::string BytesToHex(const unsigned char* data, int length) {
  if (!data || length < 1) return std::string();
  std::string text((size_t)length * 2 + 1, '\0');
  BytesToHex(text.data(), data, length);
  text.resize((size_t)length * 2);
  return text;
}

std::string GetModulePath(const char* fallback) {
  std::string path = platform::GetExecutablePath();
  // The system reads it into a 4096-byte buffer.
  if (path.empty() || path.size() >= 4096) return fallback ? fallback : "";
  return path;
}
