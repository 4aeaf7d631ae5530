// What the skinned controls share to paint: their images (loaded from a
// file or one of our resources, ":/skin/..."), the frame arithmetic of
// state-image strips, their fonts, and how a finished off-screen ARGB
// picture goes onto the target DC in one call, mixed by its alpha.
//
// The controls paint as their design does with GDI+: into an ARGB picture
// with a QPainter (gradients, stretched images, antialiased text), then
// onto the window's DC.
#pragma once
#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <string>

#include "platform/gdi.h"

// Colours of the skinned controls as their design writes them: alpha, red,
// green, blue in 0xAARRGGBB.
typedef DWORD ARGB;
constexpr ARGB MakeARGB(BYTE a, BYTE r, BYTE g, BYTE b) {
  return ((ARGB)a << 24) | ((ARGB)r << 16) | ((ARGB)g << 8) | (ARGB)b;
}

namespace zebui {

// The picture at a GBK path (a file, or a resource path starting ":/") in
// premultiplied ARGB; a null image when it is missing or does not read.
QImage LoadSkinImage(const std::string& pathGbk);

// How the frames of a state-image strip lie.
enum SkinStripLayout : int { kFramesSideBySide = 1, kFramesStacked = 2 };

// The frame index shown for a state: the state capped to the last frame
// (a negative state shows frame 0).
int SkinFrameIndex(int state, int frameCount);
// The rectangle of frame `index` in a strip of the given size; empty for
// a strip with no frames or an unknown layout. Frames are the strip's
// size divided by the count (integer division), as the strips are drawn.
QRect SkinFrameRect(QSize strip, int frameCount, int layout, int index);

inline QColor ArgbColor(ARGB c) {
  return QColor((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF, c >> 24);
}
inline QColor RgbColor(COLORREF c, int alpha = 255) {
  return QColor(GetRValue(c), GetGValue(c), GetBValue(c), alpha);
}

// A font for skinned text: face (GBK; faces the machine lacks are drawn
// with the same fallback as the DC's fonts), height in pixels and the
// style bits of the skinned controls (1 bold, 2 italic, 4 underline,
// 8 strike-out).
QFont SkinFont(const char* faceGbk, int pixelSize, int style);

// A transparent premultiplied ARGB picture to paint a control into
// (null for an empty size).
QImage NewSkinPicture(int width, int height);
// Draws the picture onto the DC with its top-left corner at (x, y), mixed
// by its alpha.
void BlendSkinPicture(CDC* dc, int x, int y, const QImage& picture);

}  // namespace zebui
