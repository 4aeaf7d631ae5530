// Fonts: LOGFONT descriptions and the Qt fonts they are drawn with.
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QStringList>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <map>

#include "gdi_internal.h"
#include "platform/gbk.h"

using namespace platform::gdi_detail;

namespace {

const char kCjkFamily[] = "WenQuanYi Micro Hei";
const char kCjkMonoFamily[] = "WenQuanYi Micro Hei Mono";

bool HaveGuiApp() {
  return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

bool IsFixedFace(const QString& face) {
  static const char* const fixed[] = {"Courier",  "Courier New",    "Terminal",
                                      "Fixedsys", "Lucida Console", "Consolas"};
  for (const char* f : fixed)
    if (face.compare(QLatin1String(f), Qt::CaseInsensitive) == 0) return true;
  return false;
}

// Faces the machine lacks (the system's "宋体", "System", "Tahoma" ...)
// are drawn with the installed CJK font so Chinese text always shows.
QString DrawnFamily(const QString& face, bool fixed) {
  static std::mutex mutex;
  static std::map<std::pair<QString, bool>, QString> cache;
  std::lock_guard<std::mutex> lock(mutex);
  auto key = std::make_pair(face, fixed);
  auto it = cache.find(key);
  if (it != cache.end()) return it->second;
  QString family;
  const QStringList families = QFontDatabase::families();
  for (const QString& f : families)
    if (!face.isEmpty() && f.compare(face, Qt::CaseInsensitive) == 0) family = f;
  if (family.isEmpty()) {
    family = QLatin1String(fixed ? kCjkMonoFamily : kCjkFamily);
    if (!families.contains(family) && !families.isEmpty()) family = QLatin1String(kCjkFamily);
  }
  cache.emplace(key, family);
  return family;
}

}  // namespace

namespace platform::gdi_detail {

uint64_t FontData::NextSerial() {
  static std::atomic<uint64_t> next{1};  // 0 stays free for "no font"
  return next.fetch_add(1, std::memory_order_relaxed);
}

const QFont& FontData::Resolved() const {
  std::call_once(once_, [this] {
    const QString face = platform::GbkToQString(
        std::string_view(logFont.lfFaceName, strnlen(logFont.lfFaceName, LF_FACESIZE)));
    const bool fixed = (logFont.lfPitchAndFamily & 3) == FIXED_PITCH || IsFixedFace(face);
    auto font = std::make_unique<QFont>(HaveGuiApp() ? DrawnFamily(face, fixed) : face);
    font->setStyleStrategy(QFont::PreferAntialias);
    // Heights come from settings files too: one far taller than any screen
    // would only fill memory with glyphs, so it is bounded.
    constexpr long kMaxPixels = 4096;
    const long height = std::clamp(logFont.lfHeight, -kMaxPixels, kMaxPixels);
    int pixels;
    if (height < 0) {
      pixels = (int)-height;  // character height
    } else if (height > 0) {
      // Cell height: scale so ascent + descent come to the given height.
      QFont probe(*font);
      probe.setPixelSize(100);
      int cell = HaveGuiApp() ? QFontMetrics(probe).height() : 100;
      pixels = cell > 0 ? (int)std::lround(height * 100.0 / cell) : (int)height;
    } else {
      pixels = 12;
    }
    font->setPixelSize(std::clamp(pixels, 1, (int)kMaxPixels));
    int weight = logFont.lfWeight <= 0 ? FW_NORMAL : std::clamp((int)logFont.lfWeight, 100, 900);
    font->setWeight(static_cast<QFont::Weight>(weight));
    font->setItalic(logFont.lfItalic != 0);
    font->setUnderline(logFont.lfUnderline != 0);
    font->setStrikeOut(logFont.lfStrikeOut != 0);
    if (fixed) font->setFixedPitch(true);
    font_ = std::move(font);
  });
  return *font_;
}

}  // namespace platform::gdi_detail

CFont::~CFont() { CFont::DeleteObject(); }

BOOL CFont::CreateFontIndirect(const LOGFONT* lf) {
  if (data_ || !lf) return FALSE;
  auto d = std::make_shared<FontData>();
  d->logFont = *lf;
  d->logFont.lfFaceName[LF_FACESIZE - 1] = 0;
  data_ = std::move(d);
  return TRUE;
}

BOOL CFont::CreateFont(int height, int width, int escapement, int orientation, int weight,
                       BYTE italic, BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision,
                       BYTE clipPrecision, BYTE quality, BYTE pitchAndFamily,
                       const char* faceName) {
  LOGFONT lf;
  lf.lfHeight = height;
  lf.lfWidth = width;
  lf.lfEscapement = escapement;
  lf.lfOrientation = orientation;
  lf.lfWeight = weight;
  lf.lfItalic = italic;
  lf.lfUnderline = underline;
  lf.lfStrikeOut = strikeOut;
  lf.lfCharSet = charSet;
  lf.lfOutPrecision = outPrecision;
  lf.lfClipPrecision = clipPrecision;
  lf.lfQuality = quality;
  lf.lfPitchAndFamily = pitchAndFamily;
  if (faceName) platform::GbkCopyCut(lf.lfFaceName, LF_FACESIZE, faceName);
  return CreateFontIndirect(&lf);
}

BOOL CFont::CreatePointFont(int pointSizeTenths, const char* faceName) {
  // At 96 pixels per inch, as the screen the system was laid out on.
  int pixels = (int)std::lround(pointSizeTenths * 96.0 / 720.0);
  return CreateFont(-std::max(1, pixels), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                    faceName);
}

BOOL CFont::DeleteObject() {
  if (stock_ || !data_) return FALSE;
  data_.reset();
  return TRUE;
}

int CFont::GetLogFont(LOGFONT* lf) const {
  if (!data_ || !lf) return 0;
  *lf = data_->logFont;
  return (int)sizeof(LOGFONT);
}

std::string CFont::GetDrawnFamily() const {
  if (!data_) return std::string();
  return data_->Resolved().family().toStdString();
}
