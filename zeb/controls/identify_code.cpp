// CIdentifyCode: the code, its glyphs and its picture; see identify_code.h.
#include "zeb/controls/identify_code.h"

#include <memory>
#include <random>

namespace zebui {

namespace {

constexpr char kAlphabet[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr int kGlyphSide = 10;

// One glyph per digit: 10 rows of 10 columns from the top; '0' is a dot.
constexpr const char* kGlyphs[10] = {
    // 0
    "1110000111"
    "1101111011"
    "1101111011"
    "1101001011"
    "1101001011"
    "1101001011"
    "1101001011"
    "1101111011"
    "1101111011"
    "1110000111",
    // 1
    "1111011111"
    "1100011111"
    "1111011111"
    "1111011111"
    "1111011111"
    "1111011111"
    "1111011111"
    "1111011111"
    "1111011111"
    "1100000111",
    // 2
    "1110000111"
    "1101111011"
    "1101111011"
    "1111111011"
    "1111110111"
    "1111101111"
    "1111011111"
    "1110111111"
    "1101111011"
    "1100000011",
    // 3
    "1110000111"
    "1101111011"
    "1101111011"
    "1111110111"
    "1111001111"
    "1111110111"
    "1111111011"
    "1101111011"
    "1101111011"
    "1110000111",
    // 4
    "1111101111"
    "1111101111"
    "1111001111"
    "1110101111"
    "1101101111"
    "1101101111"
    "1100000011"
    "1111101111"
    "1111101111"
    "1111000011",
    // 5
    "1100000011"
    "1101111111"
    "1101111111"
    "1101000111"
    "1100111011"
    "1111111011"
    "1111111011"
    "1101111011"
    "1101111011"
    "1110000111",
    // 6
    "1111000111"
    "1110111011"
    "1101111111"
    "1101111111"
    "1101000111"
    "1100111011"
    "1101111011"
    "1101111011"
    "1101111011"
    "1110000111",
    // 7
    "1100000011"
    "1101110111"
    "1101110111"
    "1111101111"
    "1111101111"
    "1111011111"
    "1111011111"
    "1111011111"
    "1111011111"
    "1111011111",
    // 8
    "1110000111"
    "1101111011"
    "1101111011"
    "1101111011"
    "1110000111"
    "1110110111"
    "1101111011"
    "1101111011"
    "1101111011"
    "1110000111",
    // 9
    "1110001111"
    "1101110111"
    "1101111011"
    "1101111011"
    "1101110011"
    "1110001011"
    "1111111011"
    "1111111011"
    "1101110111"
    "1110001111",
};

}  // namespace

void DrawIdentifyCode(CDC* dc, const int glyphs[4], int width, int height,
                      const CodeRandom& random) {
  dc->Rectangle(0, 0, width, height);
  constexpr COLORREF kInk = RGB(0, 0, 0), kShadow = RGB(250, 236, 211);
  for (int i = 0; i < 4; ++i) {
    const char* glyph = kGlyphs[glyphs[i] >= 0 && glyphs[i] < 10 ? glyphs[i] : 0];
    for (int j = 0; j < kGlyphSide; ++j) {
      // Each glyph column is two pixels wide; the right half sits a pixel lower.
      for (int k = 0; k < 2 * kGlyphSide; ++k) {
        if (glyph[j * kGlyphSide + k / 2] == '0') {
          dc->SetPixel(5 + 20 * i + k, 6 + j + k / 11, kInk);
          dc->SetPixel(6 + 20 * i + k, 8 + j + k / 11, kShadow);
        } else if (random() % 4 == 0 && width > 0 && height > 0) {
          const int y = (int)(random() % (uint32_t)height);
          const int x = (int)(random() % (uint32_t)width);
          dc->SetPixel(x, y, kInk);
        }
      }
    }
  }
}

}  // namespace zebui

CIdentifyCode::CIdentifyCode(zebui::CodeRandom random) : random_(std::move(random)) {
  if (!random_) {
    auto engine = std::make_shared<std::mt19937>(std::random_device{}());
    random_ = [engine] { return (uint32_t)(*engine)(); };
  }
  MakeCode();
}

void CIdentifyCode::MakeCode() {
  for (int i = 0; i < 4; ++i) {
    glyphs_[i] = (int)(random_() % 10);
    code_[i] = zebui::kAlphabet[glyphs_[i]];
  }
  code_[4] = '\0';
}

void CIdentifyCode::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);
  zebui::DrawIdentifyCode(&dc, glyphs_, client.Width(), client.Height(), random_);
}

void CIdentifyCode::OnLButtonUp(UINT flags, CPoint point) {
  CWndImpl<QWidget>::OnLButtonUp(flags, point);
  MakeCode();
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}
