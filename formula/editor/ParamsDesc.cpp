#include "formula/editor/ParamsDesc.h"

#include <algorithm>
#include <cstring>

#include "formula/editor/KindDescFile.h"
#include "platform/gbk.h"

namespace formula {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Calls fn(line) for each line of text; a "\n" (with a "\r" before it or
// not) ends a line, and a final line end starts no further line.
template <typename Fn>
void ForEachLine(std::string_view text, Fn fn) {
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    const size_t next = end == std::string_view::npos ? text.size() : end + 1;
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (end < text.size() && !line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!fn(line)) return;
    start = next;
  }
}

int CopyOut(const std::string& text, bool ok, char* dst, size_t size) {
  if (dst && size > 0) dst[0] = '\0';
  if (!ok || !dst || text.size() + 1 > size) return 0;
  std::memcpy(dst, text.c_str(), text.size() + 1);
  return 1;
}

}  // namespace

int CParamsDescParse::IsValidDesc(const char* text) {
  if (!text || !std::strstr(text, kParamMarker)) return 0;
  bool valid = true;
  ForEachLine(text, [&](std::string_view line) {
    valid = line.find(kParamMarker) != std::string_view::npos;
    return valid;
  });
  return valid ? 1 : 0;
}

int CParamsDescParse::Load(const char* text) {
  if (!IsValidDesc(text)) return 0;
  std::string_view view(text);
  while (!view.empty() && IsBlank(view.front())) view.remove_prefix(1);
  while (!view.empty() && IsBlank(view.back())) view.remove_suffix(1);
  while (!view.empty() && view.front() == '"') view.remove_prefix(1);
  while (!view.empty() && view.back() == '"') view.remove_suffix(1);
  text_.assign(view);
  loaded_ = true;
  return 1;
}

bool CParamsDescParse::LineView(int n, std::string_view& out) const {
  if (n < 0 || !loaded_) return false;
  int index = 0;
  bool found = false;
  ForEachLine(text_, [&](std::string_view line) {
    if (index++ < n) return true;
    out = line;
    found = true;
    return false;
  });
  return found;
}

int CParamsDescParse::LineCount() const {
  if (!loaded_) return 0;
  int count = 0;
  ForEachLine(text_, [&](std::string_view) { return ++count, true; });
  return count;
}

bool CParamsDescParse::Line(int n, std::string& out) const {
  std::string_view line;
  if (!LineView(n, line)) return false;
  out.assign(line);
  return true;
}

bool CParamsDescParse::MarkedLine(int n, std::string_view& line, size_t& marker) const {
  if (!LineView(n, line)) return false;
  marker = line.find(kParamMarker);
  return marker != std::string_view::npos;
}

bool CParamsDescParse::LinePrefix(int n, std::string& out) const {
  std::string_view line;
  size_t marker = 0;
  if (!MarkedLine(n, line, marker)) return false;
  out.assign(line.substr(0, marker));
  return true;
}

bool CParamsDescParse::LineSuffix(int n, std::string& out) const {
  std::string_view line;
  size_t marker = 0;
  if (!MarkedLine(n, line, marker)) return false;
  const size_t after = marker + std::strlen(kParamMarker) + 1;  // the marker's own character too
  out.assign(after < line.size() ? line.substr(after) : std::string_view());
  return true;
}

int CParamsDescParse::GetLine(int n, char* dst, size_t size) const {
  std::string line;
  return CopyOut(line, Line(n, line), dst, size);
}

int CParamsDescParse::GetLinePrefix(int n, char* dst, size_t size) const {
  std::string prefix;
  return CopyOut(prefix, LinePrefix(n, prefix), dst, size);
}

int CParamsDescParse::GetLineSuffix(int n, char* dst, size_t size) const {
  std::string suffix;
  return CopyOut(suffix, LineSuffix(n, suffix), dst, size);
}

std::string QuoteDescText(std::string_view text, size_t size) {
  if (size == 0) return std::string();
  std::string out(text.substr(0, std::min(text.size(), size - 1)));
  out.resize(platform::GbkCutLength(out.c_str(), out.size()));
  size_t first = 0;
  while (first < out.size() && IsBlank(out[first])) ++first;
  size_t last = out.size();
  while (last > first && IsBlank(out[last - 1])) --last;
  out = out.substr(first, last - first);
  if ((out.empty() || out.back() != '"') && out.size() < size - 1) out += '"';
  if ((out.empty() || out.front() != '"') && out.size() < size - 1) out.insert(out.begin(), '"');
  return out;
}

const char* CheckParamsDescEntry(const char* formulaName, int kind, const char* text) {
  if (!formulaName || !*formulaName || kind < 0) return GBK("传入参数错误");
  if (!CParamsDescParse::IsValidDesc(text)) return GBK("不允许中间空行，每行规定1个参数，请检查!");
  return nullptr;
}

std::string ReadParamsDesc(const std::string& formulaDir, int kind, const char* formulaName) {
  return ReadKindValue(formulaDir + kParamsDescFile, kind, formulaName);
}

bool WriteParamsDesc(const std::string& formulaDir, int kind, const char* formulaName,
                     const std::string& value) {
  return WriteKindValue(formulaDir + kParamsDescFile, kind, formulaName, value);
}

}  // namespace formula
