// An input of a chart fuzz target read as a short session with the chart:
// up to four bodies in a row, the chart keeping what each left, and after
// each the user's step (a key, a zoom, the mouse) and a paint into a
// memory picture, as the chart view does between packets.
//
// Input: blocks of u8 kind, u8 step, u16 length (little-endian) and that
// many bytes of body; the last block takes what is left when the input
// ends early.
#pragma once
#include <QGuiApplication>
#include <QImage>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/gdi.h"
#include "platform/virtual_keys.h"

namespace chart_fuzz {

constexpr size_t kMaxBodies = 4;

struct SBlock {
  uint8_t kind = 0;           // the target's packet type (index) and its bits
  uint8_t step = 0;           // what the user does after the body
  std::vector<uint8_t> body;  // an exact-size copy: any over-read is caught
};

inline std::vector<SBlock> Split(const uint8_t* data, size_t size) {
  std::vector<SBlock> blocks;
  size_t at = 0;
  while (blocks.size() < kMaxBodies && size - at >= 4) {
    SBlock b;
    b.kind = data[at];
    b.step = data[at + 1];
    size_t length = size_t(data[at + 2]) | size_t(data[at + 3]) << 8;
    at += 4;
    if (length > size - at) length = size - at;
    b.body.assign(data + at, data + at + length);
    at += length;
    blocks.push_back(std::move(b));
  }
  return blocks;
}

// Gives the body the packet type's group (its low byte stays the input's
// variant) and, unless the kind says otherwise, the current request tag.
inline void Stamp(SBlock& b, uint16_t group, bool keepTag, uint16_t tag) {
  if (b.body.size() < 4) b.body.resize(4, 0);
  b.body[1] = uint8_t(group >> 8);
  if (!keepTag) {
    b.body[2] = uint8_t(tag & 0xFF);
    b.body[3] = uint8_t(tag >> 8);
  }
}

// The key of a step (low three bits): none, the cursor keys, zoom keys,
// and the keys that leave the cursor.
inline UINT StepKey(uint8_t step) {
  static constexpr UINT kKeys[] = {0,       VK_LEFT, VK_RIGHT, VK_UP,
                                   VK_DOWN, VK_HOME, VK_END,   VK_ESCAPE};
  return kKeys[step & 7];
}

// Where the mouse goes on a step (when bit 3 is set), inside a w x h chart.
inline POINT StepPoint(uint8_t step, size_t bodySize, int w, int h) {
  return POINT{int((step * 37u + bodySize * 13u) % unsigned(w)),
               int((step * 11u + bodySize * 7u) % unsigned(h))};
}

// The memory picture the chart is painted into (a Qt application first).
class CPicture {
 public:
  CPicture(int w, int h) : m_image(w, h, QImage::Format_RGB32) {
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    if (!QGuiApplication::instance()) new QGuiApplication(argc, argv);
  }
  template <class Chart>
  void Paint(Chart& chart) {
    m_image.fill(0);
    CDC dc(&m_image);
    chart.Draw(&dc);
  }

 private:
  QImage m_image;
};

}  // namespace chart_fuzz
