// Pens, brushes, bitmaps, regions and the stock objects.
#include <QImage>
#include <QPainterPath>
#include <QPolygon>
#include <cstdio>

#include "gdi_internal.h"
#include "platform/paths.h"

using namespace platform::gdi_detail;

namespace platform::gdi_detail {

int RegionKind(const QRegion& region) {
  if (region.isEmpty()) return NULLREGION;
  return region.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

}  // namespace platform::gdi_detail

// ---- CPen

namespace {
Qt::PenStyle QtPenStyle(int style) {
  switch (style) {
    case PS_DASH: return Qt::DashLine;
    case PS_DOT: return Qt::DotLine;
    case PS_DASHDOT: return Qt::DashDotLine;
    case PS_DASHDOTDOT: return Qt::DashDotDotLine;
    case PS_NULL: return Qt::NoPen;
    default: return Qt::SolidLine;
  }
}
}  // namespace

CPen::~CPen() { CPen::DeleteObject(); }

BOOL CPen::CreatePen(int style, int width, COLORREF color) {
  if (data_) return FALSE;  // as GDI: an object is created once
  auto d = std::make_shared<PenData>();
  d->style = style;
  d->width = width < 1 ? 1 : width;
  d->color = color & 0xFFFFFF;
  // Square caps keep both end points; the line code leaves out the last
  // point itself, as GDI does.
  d->pen = QPen(QBrush(ToQColor(color)), d->width, QtPenStyle(style), Qt::SquareCap, Qt::MiterJoin);
  data_ = std::move(d);
  return TRUE;
}

BOOL CPen::DeleteObject() {
  if (stock_ || !data_) return FALSE;
  data_.reset();
  return TRUE;
}

int CPen::GetStyle() const { return data_ ? data_->style : PS_NULL; }
int CPen::GetWidth() const { return data_ ? data_->width : 0; }
COLORREF CPen::GetColor() const { return data_ ? data_->color : CLR_INVALID; }

// ---- CBrush

CBrush::~CBrush() { CBrush::DeleteObject(); }

BOOL CBrush::CreateSolidBrush(COLORREF color) {
  if (data_) return FALSE;
  auto d = std::make_shared<BrushData>();
  d->color = color & 0xFFFFFF;
  d->brush = QBrush(ToQColor(color));
  data_ = std::move(d);
  return TRUE;
}

BOOL CBrush::CreatePatternBrush(const CBitmap* bitmap) {
  if (data_ || !bitmap || !bitmap->Image()) return FALSE;
  auto d = std::make_shared<BrushData>();
  d->brush = QBrush(*bitmap->Image());
  data_ = std::move(d);
  return TRUE;
}

BOOL CBrush::DeleteObject() {
  if (stock_ || !data_) return FALSE;
  data_.reset();
  return TRUE;
}

bool CBrush::IsHollow() const { return !data_ || data_->hollow; }
COLORREF CBrush::GetColor() const { return data_ && !data_->hollow ? data_->color : CLR_INVALID; }

// ---- CBitmap

CBitmap::~CBitmap() { CBitmap::DeleteObject(); }

BOOL CBitmap::CreateBitmap(int width, int height) {
  if (image_ || width <= 0 || height <= 0) return FALSE;
  auto image = std::make_shared<QImage>(width, height, QImage::Format_ARGB32_Premultiplied);
  if (image->isNull()) return FALSE;
  image->fill(QColor(0, 0, 0));
  image_ = std::move(image);
  return TRUE;
}

BOOL CBitmap::CreateCompatibleBitmap(CDC*, int width, int height) {
  return CreateBitmap(width, height);
}

BOOL CBitmap::FromImage(const QImage& image) {
  if (image_ || image.isNull()) return FALSE;
  image_ = std::make_shared<QImage>(image.convertToFormat(QImage::Format_ARGB32_Premultiplied));
  return TRUE;
}

BOOL CBitmap::LoadFromFile(const std::string& path) {
  // The path is the system's bytes (a scheme's GBK name, say), not UTF-8:
  // the file is read by the name as given and decoded from memory.
  std::string bytes;
  QImage image;
  if (!platform::ReadFile(path, bytes) ||
      !image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), int(bytes.size())))
    return FALSE;
  return FromImage(image);
}

BOOL CBitmap::DeleteObject() {
  if (stock_ || !image_) return FALSE;
  image_.reset();
  return TRUE;
}

QImage* CBitmap::Image() const {
  ReleaseHeldPainter(image_.get());
  return image_.get();
}

const std::shared_ptr<QImage>& CBitmap::SharedImage() const {
  ReleaseHeldPainter(image_.get());
  return image_;
}

SIZE CBitmap::GetSize() const {
  if (!image_) return SIZE{};
  return SIZE{image_->width(), image_->height()};
}

// ---- CRgn

CRgn::~CRgn() { CRgn::DeleteObject(); }

BOOL CRgn::CreateRectRgn(int left, int top, int right, int bottom) {
  if (data_) return FALSE;
  data_ = std::make_shared<RegionData>();
  if (right > left && bottom > top) data_->region = QRegion(ToQRect(left, top, right, bottom));
  return TRUE;
}

BOOL CRgn::CreateRectRgnIndirect(const RECT* rect) {
  if (!rect) return FALSE;
  return CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom);
}

BOOL CRgn::CreateEllipticRgn(int left, int top, int right, int bottom) {
  if (data_) return FALSE;
  data_ = std::make_shared<RegionData>();
  if (right > left && bottom > top)
    data_->region = QRegion(ToQRect(left, top, right, bottom), QRegion::Ellipse);
  return TRUE;
}

BOOL CRgn::CreateRoundRectRgn(int left, int top, int right, int bottom, int cornerWidth,
                              int cornerHeight) {
  if (data_) return FALSE;
  data_ = std::make_shared<RegionData>();
  if (right > left && bottom > top) {
    QPainterPath path;
    path.addRoundedRect(QRectF(left, top, right - left, bottom - top), cornerWidth / 2.0,
                        cornerHeight / 2.0);
    data_->region = QRegion(path.toFillPolygon().toPolygon());
  }
  return TRUE;
}

BOOL CRgn::CreatePolygonRgn(const POINT* points, int count, int fillMode) {
  if (data_ || !points || count < 0) return FALSE;
  data_ = std::make_shared<RegionData>();
  QPolygon polygon;
  for (int i = 0; i < count; ++i) polygon << QPoint(points[i].x, points[i].y);
  if (count >= 3)
    data_->region = QRegion(polygon, fillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
  return TRUE;
}

int CRgn::OffsetRgn(int dx, int dy) {
  if (!data_) return RGN_ERROR;
  data_->region.translate(dx, dy);
  return RegionKind(data_->region);
}

int CRgn::CombineRgn(const CRgn* a, const CRgn* b, int mode) {
  if (!a || !a->data_) return RGN_ERROR;
  if (mode != RGN_COPY && (!b || !b->data_)) return RGN_ERROR;
  QRegion result;
  switch (mode) {
    case RGN_AND: result = a->data_->region & b->data_->region; break;
    case RGN_OR: result = a->data_->region | b->data_->region; break;
    case RGN_XOR: result = a->data_->region ^ b->data_->region; break;
    case RGN_DIFF: result = a->data_->region - b->data_->region; break;
    case RGN_COPY: result = a->data_->region; break;
    default: return RGN_ERROR;
  }
  if (!data_) data_ = std::make_shared<RegionData>();
  data_->region = result;
  return RegionKind(result);
}

BOOL CRgn::PtInRegion(int x, int y) const { return data_ && data_->region.contains(QPoint(x, y)); }

int CRgn::GetRgnBox(RECT* rect) const {
  if (!data_) return RGN_ERROR;
  if (rect) *rect = data_->region.isEmpty() ? RECT{} : FromQRect(data_->region.boundingRect());
  return RegionKind(data_->region);
}

BOOL CRgn::DeleteObject() {
  if (stock_ || !data_) return FALSE;
  data_.reset();
  return TRUE;
}

const QRegion* CRgn::Region() const { return data_ ? &data_->region : nullptr; }

void CRgn::SetRegion(const QRegion& region) {
  if (!data_) data_ = std::make_shared<RegionData>();
  data_->region = region;
}

// ---- Stock objects

struct StockObjects {
  CBrush brushes[6];
  CPen pens[3];
  CFont fonts[8];  // OEM_FIXED_FONT .. DEFAULT_GUI_FONT, by index - 10

  StockObjects() {
    const COLORREF greys[5] = {RGB(255, 255, 255), RGB(192, 192, 192), RGB(128, 128, 128),
                               RGB(64, 64, 64), RGB(0, 0, 0)};
    for (int i = 0; i < 5; ++i) brushes[i].CreateSolidBrush(greys[i]);
    auto hollow = std::make_shared<BrushData>();
    hollow->hollow = true;
    hollow->brush = QBrush(Qt::NoBrush);
    brushes[5].data_ = hollow;
    pens[0].CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
    pens[1].CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    pens[2].CreatePen(PS_NULL, 1, RGB(0, 0, 0));
    // The faces the system's stock fonts have; missing ones are drawn with
    // the installed fallback.
    struct StockFontDef {
      int index;
      int height;
      int weight;
      BYTE pitch;
      const char* face;
    };
    const StockFontDef defs[] = {
        {OEM_FIXED_FONT, 12, FW_NORMAL, FIXED_PITCH, "Terminal"},
        {ANSI_FIXED_FONT, 13, FW_NORMAL, FIXED_PITCH, "Courier"},
        {ANSI_VAR_FONT, 13, FW_NORMAL, VARIABLE_PITCH, "MS Sans Serif"},
        {SYSTEM_FONT, 16, FW_BOLD, VARIABLE_PITCH, "System"},
        {DEVICE_DEFAULT_FONT, 16, FW_BOLD, VARIABLE_PITCH, "System"},
        {SYSTEM_FIXED_FONT, 16, FW_NORMAL, FIXED_PITCH, "Fixedsys"},
        {DEFAULT_GUI_FONT, -12, FW_NORMAL, VARIABLE_PITCH, "\xCB\xCE\xCC\xE5"},  // 宋体
    };
    for (const StockFontDef& s : defs) {
      LOGFONT lf;
      lf.lfHeight = s.height;
      lf.lfWeight = s.weight;
      lf.lfPitchAndFamily = s.pitch;
      std::snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "%s", s.face);
      fonts[s.index - OEM_FIXED_FONT].CreateFontIndirect(&lf);
    }
    for (auto& b : brushes) b.stock_ = true;
    for (auto& p : pens) p.stock_ = true;
    for (auto& f : fonts) f.stock_ = true;
  }

  static StockObjects& Get() {
    // Never destroyed: stock objects outlive every DC, even at exit.
    static StockObjects* objects = new StockObjects;
    return *objects;
  }
};

HGDIOBJ GetStockObject(int index) {
  StockObjects& s = StockObjects::Get();
  if (index >= WHITE_BRUSH && index <= NULL_BRUSH) return &s.brushes[index];
  if (index >= WHITE_PEN && index <= NULL_PEN) return &s.pens[index - WHITE_PEN];
  if (index >= OEM_FIXED_FONT && index <= DEFAULT_GUI_FONT && index != 15)
    return &s.fonts[index - OEM_FIXED_FONT];
  return nullptr;
}

CFont* GetStockFont(int index) {
  HGDIOBJ object = GetStockObject(index);
  if (object && object->GetKind() == CGdiObject::Kind::Font) return static_cast<CFont*>(object);
  return static_cast<CFont*>(GetStockObject(SYSTEM_FONT));
}

namespace platform::gdi_detail {
const FontData& DefaultFontData() { return *GetStockFont(SYSTEM_FONT)->Data(); }
}  // namespace platform::gdi_detail
