// A device-context painter in the shape of GDI/MFC, drawn with QPainter.
//
// HDC is CDC*. A CDC paints on a QPaintDevice (usually a QImage), on a
// QPainter that is already active (inside a paintEvent), or, as a memory
// DC, on the CBitmap selected into it. Coordinates are device pixels and
// RECT keeps its exclusive right and bottom edges throughout.
//
// Selecting an object copies what drawing needs, so a pen, brush or font
// may be destroyed while selected without harming the DC; SelectObject
// still returns the previously selected object so callers can put it back.
// Stock objects live for the whole process; DeleteObject on them does
// nothing. Text is GBK. Fonts, text and text metrics need a
// QGuiApplication.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "platform/types.h"

class QImage;
class QPaintDevice;
class QPainter;
class QRect;
class QRegion;

class CDC;
class CGdiObject;
class CPen;
class CBrush;
class CFont;
class CBitmap;
class CRgn;
typedef CDC* HDC;
typedef CGdiObject* HGDIOBJ;
typedef CPen* HPEN;
typedef CBrush* HBRUSH;
typedef CFont* HFONT;
typedef CBitmap* HBITMAP;
typedef CRgn* HRGN;

// Stock object indexes.
constexpr int WHITE_BRUSH = 0, LTGRAY_BRUSH = 1, GRAY_BRUSH = 2, DKGRAY_BRUSH = 3, BLACK_BRUSH = 4,
              NULL_BRUSH = 5, HOLLOW_BRUSH = NULL_BRUSH, WHITE_PEN = 6, BLACK_PEN = 7, NULL_PEN = 8,
              OEM_FIXED_FONT = 10, ANSI_FIXED_FONT = 11, ANSI_VAR_FONT = 12, SYSTEM_FONT = 13,
              DEVICE_DEFAULT_FONT = 14, SYSTEM_FIXED_FONT = 16, DEFAULT_GUI_FONT = 17;

// Pen styles.
constexpr int PS_SOLID = 0, PS_DASH = 1, PS_DOT = 2, PS_DASHDOT = 3, PS_DASHDOTDOT = 4, PS_NULL = 5,
              PS_INSIDEFRAME = 6;

// Background modes.
constexpr int TRANSPARENT = 1, OPAQUE = 2;

// Text alignment of TextOut.
constexpr UINT TA_LEFT = 0, TA_TOP = 0, TA_RIGHT = 2, TA_CENTER = 6, TA_BOTTOM = 8,
               TA_BASELINE = 24;

// DrawText formats.
constexpr UINT DT_TOP = 0x0, DT_LEFT = 0x0, DT_CENTER = 0x1, DT_RIGHT = 0x2, DT_VCENTER = 0x4,
               DT_BOTTOM = 0x8, DT_WORDBREAK = 0x10, DT_SINGLELINE = 0x20, DT_EXPANDTABS = 0x40,
               DT_NOCLIP = 0x100, DT_CALCRECT = 0x400, DT_NOPREFIX = 0x800,
               DT_END_ELLIPSIS = 0x8000;

// Raster operation of BitBlt (only plain copying is supported).
constexpr DWORD SRCCOPY = 0x00CC0020;

// How AlphaBlend mixes: the source over the destination, scaled by a
// constant alpha and, with AC_SRC_ALPHA, by each source pixel's own alpha.
constexpr BYTE AC_SRC_OVER = 0x00, AC_SRC_ALPHA = 0x01;
struct BLENDFUNCTION {
  BYTE BlendOp = AC_SRC_OVER;
  BYTE BlendFlags = 0;
  BYTE SourceConstantAlpha = 255;
  BYTE AlphaFormat = AC_SRC_ALPHA;
};

// Region kinds (results of clipping calls) and CombineRgn modes.
constexpr int RGN_ERROR = 0, NULLREGION = 1, SIMPLEREGION = 2, COMPLEXREGION = 3;
constexpr int RGN_AND = 1, RGN_OR = 2, RGN_XOR = 3, RGN_DIFF = 4, RGN_COPY = 5;
constexpr int ALTERNATE = 1, WINDING = 2;

// Pen mixing modes of SetROP2 (lines and shape outlines and fills).
constexpr int R2_BLACK = 1, R2_NOT = 6, R2_XORPEN = 7, R2_COPYPEN = 13, R2_WHITE = 16;

// Font weights and character sets.
constexpr int FW_DONTCARE = 0, FW_THIN = 100, FW_LIGHT = 300, FW_NORMAL = 400, FW_MEDIUM = 500,
              FW_SEMIBOLD = 600, FW_BOLD = 700, FW_HEAVY = 900;
constexpr BYTE ANSI_CHARSET = 0, DEFAULT_CHARSET = 1, GB2312_CHARSET = 134;
constexpr BYTE DEFAULT_PITCH = 0, FIXED_PITCH = 1, VARIABLE_PITCH = 2;
constexpr int LF_FACESIZE = 32;

// A font description. The face name is GBK; a negative height is the
// character height in pixels, a positive one the cell height, 0 a default.
struct LOGFONT {
  LONG lfHeight = 0;
  LONG lfWidth = 0;
  LONG lfEscapement = 0;
  LONG lfOrientation = 0;
  LONG lfWeight = FW_NORMAL;
  BYTE lfItalic = 0;
  BYTE lfUnderline = 0;
  BYTE lfStrikeOut = 0;
  BYTE lfCharSet = DEFAULT_CHARSET;
  BYTE lfOutPrecision = 0;
  BYTE lfClipPrecision = 0;
  BYTE lfQuality = 0;
  BYTE lfPitchAndFamily = 0;
  char lfFaceName[LF_FACESIZE] = {};
};
typedef LOGFONT LOGFONTA;

struct TEXTMETRIC {
  LONG tmHeight = 0, tmAscent = 0, tmDescent = 0, tmInternalLeading = 0, tmExternalLeading = 0,
       tmAveCharWidth = 0, tmMaxCharWidth = 0, tmWeight = 0;
};

namespace platform::gdi_detail {
struct PenData;
struct BrushData;
struct FontData;
struct RegionData;
struct HeldPainter;
}  // namespace platform::gdi_detail

class CGdiObject {
 public:
  enum class Kind { Pen, Brush, Font, Bitmap, Region };
  explicit CGdiObject(Kind kind) : kind_(kind) {}
  virtual ~CGdiObject() = default;
  CGdiObject(const CGdiObject&) = delete;
  CGdiObject& operator=(const CGdiObject&) = delete;

  Kind GetKind() const { return kind_; }
  bool IsStock() const { return stock_; }
  // Frees what the object holds (never a stock object's); TRUE when it held something.
  virtual BOOL DeleteObject() = 0;
  virtual bool IsEmptyObject() const = 0;
  HGDIOBJ GetSafeHandle() { return IsEmptyObject() ? nullptr : this; }

 protected:
  friend struct StockObjects;
  bool stock_ = false;

 private:
  Kind kind_;
};

class CPen : public CGdiObject {
 public:
  CPen() : CGdiObject(Kind::Pen) {}
  CPen(int style, int width, COLORREF color) : CPen() { CreatePen(style, width, color); }
  ~CPen() override;
  BOOL CreatePen(int style, int width, COLORREF color);
  BOOL DeleteObject() override;
  bool IsEmptyObject() const override { return !data_; }
  int GetStyle() const;
  int GetWidth() const;
  COLORREF GetColor() const;
  const std::shared_ptr<const platform::gdi_detail::PenData>& Data() const { return data_; }

 private:
  std::shared_ptr<const platform::gdi_detail::PenData> data_;
};

class CBrush : public CGdiObject {
 public:
  CBrush() : CGdiObject(Kind::Brush) {}
  explicit CBrush(COLORREF color) : CBrush() { CreateSolidBrush(color); }
  ~CBrush() override;
  BOOL CreateSolidBrush(COLORREF color);
  // A brush that tiles the bitmap's picture.
  BOOL CreatePatternBrush(const CBitmap* bitmap);
  BOOL DeleteObject() override;
  bool IsEmptyObject() const override { return !data_; }
  bool IsHollow() const;
  COLORREF GetColor() const;
  const std::shared_ptr<const platform::gdi_detail::BrushData>& Data() const { return data_; }

 private:
  friend struct StockObjects;
  std::shared_ptr<const platform::gdi_detail::BrushData> data_;
};

class CFont : public CGdiObject {
 public:
  CFont() : CGdiObject(Kind::Font) {}
  ~CFont() override;
  BOOL CreateFontIndirect(const LOGFONT* lf);
  BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                  BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision,
                  BYTE clipPrecision, BYTE quality, BYTE pitchAndFamily, const char* faceName);
  // Point size in tenths of a point at 96 dpi.
  BOOL CreatePointFont(int pointSizeTenths, const char* faceName);
  BOOL DeleteObject() override;
  bool IsEmptyObject() const override { return !data_; }
  // The description as created (face name as written, even when the face
  // is drawn with a fallback).
  int GetLogFont(LOGFONT* lf) const;
  // The family Qt draws with (UTF-8); needs a QGuiApplication.
  std::string GetDrawnFamily() const;
  const std::shared_ptr<const platform::gdi_detail::FontData>& Data() const { return data_; }

 private:
  std::shared_ptr<const platform::gdi_detail::FontData> data_;
};

class CBitmap : public CGdiObject {
 public:
  CBitmap() : CGdiObject(Kind::Bitmap) {}
  ~CBitmap() override;
  // Opaque black picture of the given size (ARGB32).
  BOOL CreateCompatibleBitmap(CDC* dc, int width, int height);
  BOOL CreateBitmap(int width, int height);
  // Takes a copy of the picture (converted to ARGB32).
  BOOL FromImage(const QImage& image);
  BOOL LoadFromFile(const std::string& path);
  BOOL DeleteObject() override;
  bool IsEmptyObject() const override { return !image_; }
  SIZE GetSize() const;
  // The picture itself (shared with any DC it is selected into); may be
  // null. A memory DC painting on it closes its painter first, so the
  // picture may be painted on or copied until the DC draws again.
  QImage* Image() const;
  const std::shared_ptr<QImage>& SharedImage() const;

 private:
  std::shared_ptr<QImage> image_;
};

class CRgn : public CGdiObject {
 public:
  CRgn() : CGdiObject(Kind::Region) {}
  ~CRgn() override;
  BOOL CreateRectRgn(int left, int top, int right, int bottom);
  BOOL CreateRectRgnIndirect(const RECT* rect);
  BOOL CreateEllipticRgn(int left, int top, int right, int bottom);
  BOOL CreateRoundRectRgn(int left, int top, int right, int bottom, int cornerWidth,
                          int cornerHeight);
  BOOL CreatePolygonRgn(const POINT* points, int count, int fillMode);
  int OffsetRgn(int dx, int dy);
  // this := a combined with b by the mode (b unused for RGN_COPY); the
  // resulting kind, RGN_ERROR on failure.
  int CombineRgn(const CRgn* a, const CRgn* b, int mode);
  BOOL PtInRegion(int x, int y) const;
  int GetRgnBox(RECT* rect) const;
  BOOL DeleteObject() override;
  bool IsEmptyObject() const override { return !data_; }
  const QRegion* Region() const;
  void SetRegion(const QRegion& region);

 private:
  std::shared_ptr<platform::gdi_detail::RegionData> data_;
};

// Process-wide stock objects; null for an unknown index.
HGDIOBJ GetStockObject(int index);
// The stock font of the index; SYSTEM_FONT for an index that names no font.
CFont* GetStockFont(int index);

class CDC {
 public:
  CDC();
  // Paints on the device (not owned).
  explicit CDC(QPaintDevice* device);
  virtual ~CDC();
  CDC(const CDC&) = delete;
  CDC& operator=(const CDC&) = delete;

  static CDC* FromHandle(HDC hdc) { return hdc; }
  HDC GetSafeHdc() { return this; }

  // Paint on a device, or through a painter that is already active (its
  // own clip is kept and intersected). Detach forgets either.
  void Attach(QPaintDevice* device);
  void AttachPainter(QPainter* painter);
  void Detach();
  // A memory DC: paints on the bitmap selected into it.
  BOOL CreateCompatibleDC(CDC* dc);
  BOOL DeleteDC();
  bool IsMemoryDC() const { return memory_; }
  // The picture painted on (selected bitmap or attached image); may be null.
  // A memory DC closes the painter it keeps open first (see Paint below).
  QImage* GetImage() const;
  SIZE GetDeviceSize() const;

  // Objects. Each returns the object selected before.
  CPen* SelectObject(CPen* pen);
  CBrush* SelectObject(CBrush* brush);
  CFont* SelectObject(CFont* font);
  CBitmap* SelectObject(CBitmap* bitmap);
  int SelectObject(CRgn* region);  // as SelectClipRgn
  CGdiObject* SelectObject(CGdiObject* object);
  CGdiObject* SelectStockObject(int index);
  CPen* GetCurrentPen() const { return state_.penObj; }
  CBrush* GetCurrentBrush() const { return state_.brushObj; }
  CFont* GetCurrentFont() const { return state_.fontObj; }
  CBitmap* GetCurrentBitmap() const { return bitmapObj_; }

  COLORREF SetTextColor(COLORREF color);
  COLORREF GetTextColor() const { return state_.textColor; }
  COLORREF SetBkColor(COLORREF color);
  COLORREF GetBkColor() const { return state_.bkColor; }
  int SetBkMode(int mode);
  int GetBkMode() const { return state_.bkMode; }
  UINT SetTextAlign(UINT align);

  // Logical coordinates, which every drawing call takes: device =
  // logical - window origin + viewport origin. Clip regions stay in device
  // units as in GDI (SelectClipRgn takes device units; the clip-rectangle
  // calls and GetClipBox speak logical ones).
  POINT SetWindowOrg(int x, int y);
  POINT GetWindowOrg() const { return state_.windowOrg; }
  POINT SetViewportOrg(int x, int y);
  POINT OffsetViewportOrg(int dx, int dy);
  POINT GetViewportOrg() const { return state_.viewportOrg; }
  // R2_COPYPEN (default), R2_NOT (invert what is below), R2_XORPEN,
  // R2_BLACK, R2_WHITE; for lines and shapes only, as GDI.
  int SetROP2(int mode);
  int GetROP2() const { return state_.rop2; }

  // Saves the selected objects, colours, modes and clip; RestoreDC(-1)
  // goes back to the last save. SaveDC returns the level (0 on failure).
  int SaveDC();
  BOOL RestoreDC(int saved);

  // Lines leave out their last point, as GDI does.
  POINT MoveTo(int x, int y);
  POINT MoveTo(POINT p) { return MoveTo(p.x, p.y); }
  BOOL LineTo(int x, int y);
  BOOL LineTo(POINT p) { return LineTo(p.x, p.y); }
  POINT GetCurrentPosition() const { return state_.current; }
  BOOL Polyline(const POINT* points, int count);
  BOOL Polygon(const POINT* points, int count);

  // Shapes: the pen outlines the rectangle's edge pixels (left .. right-1),
  // the brush fills the inside.
  BOOL Rectangle(int left, int top, int right, int bottom);
  BOOL Rectangle(const RECT* rect) {
    return Rectangle(rect->left, rect->top, rect->right, rect->bottom);
  }
  BOOL RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight);
  BOOL Ellipse(int left, int top, int right, int bottom);
  BOOL Ellipse(const RECT* rect) {
    return Ellipse(rect->left, rect->top, rect->right, rect->bottom);
  }
  // Fills with the colour and, like MFC, makes it the background colour.
  void FillSolidRect(const RECT* rect, COLORREF color);
  void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
  void FillRect(const RECT* rect, CBrush* brush);
  void FrameRect(const RECT* rect, CBrush* brush);
  void Draw3dRect(const RECT* rect, COLORREF topLeft, COLORREF bottomRight);
  void Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight);
  // A region in logical units filled with the brush (PaintRgn: the selected one).
  BOOL FillRgn(CRgn* region, CBrush* brush);
  BOOL PaintRgn(CRgn* region);
  COLORREF SetPixel(int x, int y, COLORREF color);
  // The colour at the point; CLR_INVALID outside the picture or when the
  // device is not an image.
  COLORREF GetPixel(int x, int y) const;

  // Text (GBK). A negative length means up to the terminating NUL.
  BOOL TextOut(int x, int y, const char* text, int length = -1);
  BOOL TextOut(int x, int y, const std::string& text) {
    return TextOut(x, y, text.data(), (int)text.size());
  }
  // Returns the height of the text; with DT_CALCRECT sets the rectangle's
  // right (single line) or bottom to fit the text and draws nothing.
  int DrawText(const char* text, int length, RECT* rect, UINT format);
  int DrawText(const std::string& text, RECT* rect, UINT format) {
    return DrawText(text.data(), (int)text.size(), rect, format);
  }
  SIZE GetTextExtent(const char* text, int length = -1) const;
  SIZE GetTextExtent(const std::string& text) const {
    return GetTextExtent(text.data(), (int)text.size());
  }
  BOOL GetTextMetrics(TEXTMETRIC* tm) const;

  // Clipping. Each returns the kind of the resulting clip region.
  int IntersectClipRect(int left, int top, int right, int bottom);
  int IntersectClipRect(const RECT* rect) {
    return IntersectClipRect(rect->left, rect->top, rect->right, rect->bottom);
  }
  int ExcludeClipRect(int left, int top, int right, int bottom);
  int ExcludeClipRect(const RECT* rect) {
    return ExcludeClipRect(rect->left, rect->top, rect->right, rect->bottom);
  }
  // NULL removes the clip; otherwise the clip becomes a copy of the region.
  int SelectClipRgn(CRgn* region);
  // The clip's bounding box, or the whole device when there is no clip.
  int GetClipBox(RECT* rect) const;
  BOOL PtVisible(int x, int y) const;

  // Copies a block from the source DC's picture (only SRCCOPY).
  BOOL BitBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, DWORD rop);
  BOOL StretchBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc,
                  int srcWidth, int srcHeight, DWORD rop);
  // Draws a block of the source DC's picture over this one (stretched to
  // the destination size), mixed as the blend function says; the way
  // skinned controls put their off-screen ARGB picture on the target.
  BOOL AlphaBlend(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc,
                  int srcWidth, int srcHeight, BLENDFUNCTION blend);
  // Copies a block leaving out the pixels of the transparent colour (what
  // is below shows there); stretches as StretchBlt.
  BOOL TransparentBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc,
                      int srcWidth, int srcHeight, UINT transparentColor);

 private:
  struct State {
    std::shared_ptr<const platform::gdi_detail::PenData> pen;
    std::shared_ptr<const platform::gdi_detail::BrushData> brush;
    std::shared_ptr<const platform::gdi_detail::FontData> font;
    CPen* penObj = nullptr;
    CBrush* brushObj = nullptr;
    CFont* fontObj = nullptr;
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF bkColor = RGB(255, 255, 255);
    int bkMode = OPAQUE;
    UINT textAlign = TA_LEFT | TA_TOP;
    POINT current;
    POINT windowOrg;
    POINT viewportOrg;
    int rop2 = R2_COPYPEN;
    std::shared_ptr<platform::gdi_detail::RegionData> clip;  // null: no clip
  };
  // Runs fn(gdi_detail::Canvas&) with a painter carrying the DC's state. A
  // memory DC keeps its painter open between calls until its picture is
  // handed out (GetImage, the bitmap's Image/SharedImage), another DC paints
  // on it, or it selects another bitmap, is deleted or destroyed.
  template <class Fn>
  bool Paint(Fn&& fn, const QRect* clipRect = nullptr) const;
  // BitBlt/StretchBlt/AlphaBlend/TransparentBlt: copies a block (both
  // null), mixes it by the blend function, or leaves out the key colour.
  BOOL Blit(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, int srcWidth,
            int srcHeight, const BLENDFUNCTION* blend, const COLORREF* key);
  // Device = logical + offset.
  int OffsetX() const { return state_.viewportOrg.x - state_.windowOrg.x; }
  int OffsetY() const { return state_.viewportOrg.y - state_.windowOrg.y; }
  QPaintDevice* Device() const;
  // The picture, leaving a memory DC's painter open (reading pixels is safe).
  QImage* Picture() const;
  RECT DeviceRect() const;
  void ApplyState(QPainter& painter, const QRect* clipRect) const;
  platform::gdi_detail::HeldPainter* HeldPainterReady() const;
  void ReleasePainter() const;
  int ClipKind() const;
  void SetClip(const QRegion& region);
  void ResetObjects();

  QPaintDevice* device_ = nullptr;
  QPainter* painter_ = nullptr;
  bool memory_ = false;
  std::shared_ptr<QImage> bitmapImage_;
  CBitmap* bitmapObj_ = nullptr;
  std::unique_ptr<CBitmap> defaultBitmap_;
  State state_;
  std::vector<State> saved_;
  mutable std::unique_ptr<platform::gdi_detail::HeldPainter> held_;
};
