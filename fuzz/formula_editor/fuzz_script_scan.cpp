// The script editor's token rules on arbitrary text, as GBK bytes and as
// UTF-16 units: no crash, tokens in order inside the line, rewrites that
// change the case of ASCII letters only.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "formula/editor/FormulaScriptWords.h"
#include "formula/editor/ScriptScanner.h"

namespace {

void CheckTokens(const formula::SScriptLineScan& scan, size_t length) {
  uint32_t last = 0;
  for (const formula::SScriptToken& t : scan.tokens) {
    if (t.start < last || t.end <= t.start || t.end > length) std::abort();
    last = t.end;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 1 << 14) return 0;
  static const formula::CScriptScanner scanner = [] {
    formula::CScriptScanner s;
    formula::ConfigureFormulaScript(s);
    return s;
  }();
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  formula::SScriptLineScan scan;
  scanner.ScanLine(line, scan);
  CheckTokens(scan, size);
  const std::string rewritten = formula::CScriptScanner::Rewritten(line, scan);
  if (rewritten.size() != size) std::abort();
  for (size_t i = 0; i < size; ++i) {
    const unsigned char a = static_cast<unsigned char>(line[i]),
                        b = static_cast<unsigned char>(rewritten[i]);
    if (a != b && ((a | 0x20) != (b | 0x20) || (a | 0x20) < 'a' || (a | 0x20) > 'z')) std::abort();
  }

  std::u16string wide(size / 2, u'\0');
  for (size_t i = 0; i + 1 < size; i += 2) wide[i / 2] = char16_t(data[i] | (data[i + 1] << 8));
  scanner.ScanLine(wide, scan);
  CheckTokens(scan, wide.size());

  const formula::SLineRange range =
      formula::LinesTouchedByEdit(line, size ? data[0] : 0, size > 1 ? data[1] : 0);
  if (range.first < 0 || range.last < range.first) std::abort();
  return 0;
}
