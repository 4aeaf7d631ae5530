// CStatInfo: the one-line strip under the quote list. It sums the volume
// ("成交总量"), the listed items' inventory ("库存总量") and the amount
// ("成交金额") over the records of each quote-list reply and draws the
// three figures side by side. The quote list view places it, resets it
// when its list is empty and hands it every reply as the view decoded it
// (the strip never reads a body itself).
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "platform/gdi.h"
#include "platform/types.h"
#include "zeb/tables/packets/quote_packets.h"

class CPublic;

class CStatInfo {
 public:
  // The store that knows the items' inventory; null: the program's.
  explicit CStatInfo(CPublic* store = nullptr);
  virtual ~CStatInfo() = default;

  // Default figures, the scheme's background, the text colour and the font.
  void Init();
  void Reset();
  void SetRect(int left, int top, int right, int bottom) {
    m_rect = RECT{left, top, right, bottom};
  }
  // Sums a reply the view has decoded: its head, and its records (null when
  // the body held no readable quote layout). listed tells (low byte)
  // whether the view's list holds items; without, the figures go back to
  // their defaults. 0 for a reply of another request, an unreadable one or
  // one without records.
  int Update(const SPacketHead& head, const SQuotePacket* quotes, int listed);
  virtual int Draw(CDC* dc);

  // (name, value) in drawing order, GBK.
  const std::vector<std::pair<std::string, std::string>>& GetFigures() const { return m_figures; }

 private:
  CPublic* m_store;
  std::vector<std::pair<std::string, std::string>> m_figures;
  RECT m_rect{};
  COLORREF m_crText = RGB(0xFF, 0xF8, 0x50);
  COLORREF m_crBack = 0;
  CFont m_font;
};
