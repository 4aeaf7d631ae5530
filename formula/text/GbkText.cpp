#include "formula/text/GbkText.h"

#include "platform/gbk.h"

namespace formula {
namespace {

bool IsLead(unsigned char b) { return b >= 0x81 && b <= 0xFE; }

template <typename Fold>
void FoldAscii(char* text, Fold fold) {
  if (!text) return;
  for (unsigned char* p = reinterpret_cast<unsigned char*>(text); *p; ++p) {
    if (IsLead(*p)) {
      if (!p[1]) return;  // a lone lead byte at the end stays as it is
      ++p;                // the trail byte is never a letter
      continue;
    }
    *p = fold(*p);
  }
}

unsigned char Lower(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; }
unsigned char Upper(unsigned char c) { return (c >= 'a' && c <= 'z') ? c - ('a' - 'A') : c; }

}  // namespace

void FoldLowerAscii(char* text) { FoldAscii(text, Lower); }
void FoldUpperAscii(char* text) { FoldAscii(text, Upper); }

int CompareNoCase(const char* a, const char* b) {
  if (a == b) return 0;
  if (!a) return -1;
  if (!b) return 1;
  return platform::GbkCompareNoCase(a, b);
}

}  // namespace formula
