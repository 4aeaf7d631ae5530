#include "zeb/xml/xml_encoding.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <unordered_map>

#include "zeb/xml/xml_doc.h"
#include "xml_attrib.h"
#include "xml_encoding_names.h"
#include "xml_tokenizer.h"

namespace {

constexpr int kAnsiCodePage = 936;

std::string Lowered(std::string_view name) {
  std::string out(name);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = (char)(c + 32);
  }
  return out;
}

const std::unordered_map<std::string, int>& NameTable() {
  static const auto* table = [] {
    auto* t = new std::unordered_map<std::string, int>();
    for (size_t i = 0; i < kXmlEncodingNameCount; ++i) {
      t->emplace(kXmlEncodingNames[i].name, kXmlEncodingNames[i].codePage);
    }
    return t;
  }();
  return *table;
}

// The iconv name of a code page on this machine.
std::string IconvName(int codePage, std::string_view declared) {
  if (codePage == 0) codePage = kAnsiCodePage;
  switch (codePage) {
    case 1200: return "UTF-16LE";
    case 1201: return "UTF-16BE";
    case 12000: return "UTF-32LE";
    case 12001: return "UTF-32BE";
    case 65005: return Lowered(declared).find("be") != std::string::npos ? "UTF-32BE" : "UTF-32LE";
    case 65000: return "UTF-7";
    case 65001: return "UTF-8";
    case 54936: return "GB18030";
    case 52936: return "HZ";
    case 51936:
    case 20936: return "EUC-CN";
    case 51949: return "EUC-KR";
    case 51932:
    case 20932: return "EUC-JP";
    case 50220:
    case 50221:
    case 50222: return "ISO-2022-JP";
    case 50225: return "ISO-2022-KR";
    case 20127: return "ASCII";
    case 20866: return "KOI8-R";
    case 21866: return "KOI8-U";
    case 28603: return "ISO-8859-13";
    case 28605: return "ISO-8859-15";
    case 38598: return "ISO-8859-8";
    case 10000: return "MACINTOSH";
    case 10007: return "MAC-CYRILLIC";
    case 1361: return "JOHAB";
    case 874: return "CP874";
    default: break;
  }
  if (codePage >= 28591 && codePage <= 28599) return "ISO-8859-" + std::to_string(codePage - 28590);
  return "CP" + std::to_string(codePage);
}

// Code pages for which a lost character is not reported.
bool ReportsLoss(int codePage) {
  switch (codePage) {
    case 50220:
    case 50221:
    case 50222:
    case 50225:
    case 50227:
    case 50229:
    case 52936:
    case 54936:
    case 65000:
    case 65001: return false;
    default: return !(codePage >= 57002 && codePage <= 57011);
  }
}

// Runs cd over the input, then flushes its shift state. Input it cannot
// take is handed to onBad(src, srcLeft, dst, dstLeft), which consumes at
// least one byte and may write up to 32 bytes.
template <typename OnBad>
bool RunIconv(iconv_t cd, const char* in, size_t inLen, std::string& out, OnBad onBad) {
  out.assign(inLen * 4 + 32, '\0');
  char* src = const_cast<char*>(in);
  size_t srcLeft = inLen;
  size_t used = 0;
  auto room = [&](size_t need) {
    if (out.size() - used < need) out.resize(out.size() * 2 + need);
  };
  while (srcLeft > 0) {
    room(32);
    char* dst = out.data() + used;
    size_t dstLeft = out.size() - used;
    size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    used = (size_t)(dst - out.data());
    if (rc != (size_t)-1) break;
    if (errno == E2BIG) {
      out.resize(out.size() * 2 + 32);
      continue;
    }
    if (errno != EILSEQ && errno != EINVAL) return false;
    room(32);
    dst = out.data() + used;
    dstLeft = out.size() - used;
    onBad(src, srcLeft, dst, dstLeft);
    used = (size_t)(dst - out.data());
  }
  room(32);
  char* dst = out.data() + used;
  size_t dstLeft = out.size() - used;
  iconv(cd, nullptr, nullptr, &dst, &dstLeft);
  out.resize((size_t)(dst - out.data()));
  return true;
}

}  // namespace

int GetEncodingCodePage(std::string_view name) {
  if (name.empty()) return 0;
  if (name.compare(0, 6, "UTF-32") == 0) return 65005;
  if (name.size() >= 100) return -1;
  const auto& table = NameTable();
  auto it = table.find(Lowered(name));
  return it == table.end() ? -1 : it->second;
}

bool CanConvert(std::string_view fromName, std::string_view toName) {
  int from = GetEncodingCodePage(fromName);
  int to = GetEncodingCodePage(toName);
  if (from < 0 || to < 0) return false;
  if (from && to) return from != to;
  if (!from) from = kAnsiCodePage;
  if (!to) to = kAnsiCodePage;
  return from != to;
}

int64_t CXmlConverter::ConvertText(std::string* target) {
  int fromPage = GetEncodingCodePage(strFromEncoding);
  int toPage = GetEncodingCodePage(strToEncoding);
  if (fromPage < 0) fromPage = 0;
  if (toPage < 0) toPage = 0;
  nLost = 0;
  nToCount = 0;
  // Two steps, as the platform conversion does: into code points (bytes
  // that do not decode become "?"), then into the target, where a
  // character without a form becomes the target's "?" and counts as lost.
  iconv_t toWide = iconv_open("UTF-32LE", IconvName(fromPage, strFromEncoding).c_str());
  if (toWide == (iconv_t)-1) return -1;
  iconv_t fromWide = iconv_open(IconvName(toPage, strToEncoding).c_str(), "UTF-32LE");
  if (fromWide == (iconv_t)-1) {
    iconv_close(toWide);
    return -1;
  }
  std::string wide;
  RunIconv(toWide, pFrom, (size_t)nFromLen, wide,
           [](char*& src, size_t& srcLeft, char*& dst, size_t& dstLeft) {
             const char question[4] = {'?', 0, 0, 0};
             for (char c : question) *dst++ = c;
             dstLeft -= 4;
             ++src;
             --srcLeft;
           });
  // The target's own "?", for characters it cannot represent.
  std::string question;
  {
    const char q[4] = {'?', 0, 0, 0};
    RunIconv(fromWide, q, 4, question, [](char*& src, size_t& srcLeft, char*&, size_t&) {
      src += srcLeft;
      srcLeft = 0;
    });
    if (question.size() > 32) question = "?";
  }
  int64_t lost = 0;
  std::string converted;
  bool ok = RunIconv(fromWide, wide.data(), wide.size(), converted,
                     [&](char*& src, size_t& srcLeft, char*& dst, size_t& dstLeft) {
                       size_t step = srcLeft < 4 ? srcLeft : 4;
                       src += step;
                       srcLeft -= step;
                       for (char c : question) *dst++ = c;
                       dstLeft -= question.size();
                       ++lost;
                     });
  iconv_close(toWide);
  iconv_close(fromWide);
  if (!ok) return -1;
  nLost = ReportsLoss(toPage ? toPage : kAnsiCodePage) ? lost : 0;
  nToCount = (int64_t)converted.size();
  if (target) *target = std::move(converted);
  return nToCount;
}

std::string GetDeclaredEncoding(std::string_view text) {
  CXmlTokenizer tokenizer(text, XML_FLAG_IGNORECASE);
  SXmlNode node;
  bool sawStartTag = false;
  while (tokenizer.ParseNode(node) >= 0) {
    std::string_view markup = text.substr((size_t)node.nStart, (size_t)node.nLength);
    if (node.nKind == XML_NODE_PROCESSING_INSTRUCTION) {
      if (node.nStart == 0 && tokenizer.Match(node, "xml")) {
        SXmlAttribMatch m = FindXmlAttrib(markup, "encoding", true);
        if (!m.found) return std::string();
        return std::string(
            markup.substr((size_t)m.valueStart, (size_t)(m.valueEnd - m.valueStart)));
      }
      continue;
    }
    if (node.nKind == XML_NODE_END_TAG && tokenizer.Match(node, "head")) break;
    if (node.nKind != XML_NODE_ELEMENT) continue;
    if (!sawStartTag) {
      sawStartTag = true;
      if (!tokenizer.Match(node, "html")) break;
      continue;
    }
    if (!tokenizer.Match(node, "meta")) continue;
    SXmlAttribMatch equiv = FindXmlAttrib(markup, "http-equiv", true);
    std::string equivValue(
        markup.substr((size_t)equiv.valueStart, (size_t)(equiv.valueEnd - equiv.valueStart)));
    if (!equiv.found || Lowered(equivValue) != "content-type") continue;
    SXmlAttribMatch content = FindXmlAttrib(markup, "content", true);
    if (!content.found) break;
    std::string_view value =
        markup.substr((size_t)content.valueStart, (size_t)(content.valueEnd - content.valueStart));
    // Names and single separators: the name after "charset" and "=".
    auto isSeparator = [](char c) {
      return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ';' || c == '=' || c == ',' ||
             c == '"' || c == '\'';
    };
    std::string previous2, previous1;
    size_t i = 0;
    while (i < value.size()) {
      std::string token;
      if (isSeparator(value[i])) {
        token = std::string(1, value[i++]);
        if (token == " " || token == "\t" || token == "\r" || token == "\n") continue;
      } else {
        size_t j = i;
        while (j < value.size() && !isSeparator(value[j])) ++j;
        token = std::string(value.substr(i, j - i));
        i = j;
        if (Lowered(previous2) == "charset" && previous1 == "=") return token;
      }
      previous2 = previous1;
      previous1 = token;
    }
    break;
  }
  return std::string();
}
