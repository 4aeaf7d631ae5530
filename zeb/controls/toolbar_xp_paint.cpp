// How CToolBarXP paints: a face lighter than the system's, and hot,
// checked and pressed buttons as framed rectangles in shades of the
// highlight colour (AdjustColorHsl), drawn off-screen (CBufferDC, set up by
// the base) and copied in one go.
#include "zeb/controls/toolbar_xp.h"
#include "platform/desktop.h"
#include "sharecode/color_hsl.h"
#include "sharecode/gdi_selectors.h"

using zebui::ToolButton;

void CToolBarXP::PaintBar(CDC* dc, const RECT& clip) {
  dc->SetBkMode(TRANSPARENT);
  CFontSelector font(dc, DEFAULT_GUI_FONT, CFontSelector::KEEP_TEXT_COLOR);
  const COLORREF btnFace = GetSysColor(COLOR_BTNFACE);
  const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
  dc->FillSolidRect(&clip, AdjustColorHsl(btnFace, 20, 0));

  CRect client;
  GetClientRect(&client);
  const POINT cursor = CursorPoint();
  const std::vector<ToolButton>& buttons = Buttons();
  const zebui::CToolImageList& normal = GetImageList();
  const zebui::CToolImageList& disabled = GetDisabledImageList();

  for (int i = 0; i < (int)buttons.size(); ++i) {
    const ToolButton& b = buttons[(size_t)i];
    RECT meet;
    if (b.IsHidden() || !IntersectRect(meet, b.rect, clip)) continue;
    CRect rc(b.rect);
    const bool enabled = b.IsEnabled();
    const bool checked = (b.state & TBSTATE_CHECKED) != 0;
    const bool indeterminate = (b.state & TBSTATE_INDETERMINATE) != 0;
    const bool dropDown = !b.IsSeparator() && (b.style & TBSTYLE_DROPDOWN);
    const bool hot = i == GetHotItem() && enabled;
    bool highlighted = hot;
    bool pressed = false;

    if (indeterminate) {
      CPenSelector pen(dc, GetSysColor(COLOR_3DDKSHADOW));
      CBrushSelector brush(dc, (COLORREF)-1);
      dc->Rectangle(&rc);
      highlighted = true;
    } else if (hot || checked) {
      pressed = PressedItem() == i && PtInRect(rc, cursor);
      if (dropDown && cursor.x >= rc.right - zebui::kDropArrowHit) pressed = false;
      CRect body(rc);
      if (dropDown && pressed) body.right -= zebui::kDropArrowHit;
      COLORREF fill;
      if (pressed || (highlighted && checked)) fill = AdjustColorHsl(highlight, 50, -50);
      else if (highlighted) fill = AdjustColorHsl(highlight, 70, -57);
      else fill = AdjustColorHsl(highlight, 80, -66);
      CPenSelector pen(dc, highlight);
      CBrushSelector brush(dc, fill);
      dc->Rectangle(&body);
      if (dropDown) {
        if (pressed) {
          brush.SetColor(AdjustColorHsl(highlight, 70, -66));
          dc->Rectangle(body.right - 1, body.top, body.right - 1 + zebui::kDropArrowWidth,
                        body.bottom);
        } else {
          dc->MoveTo(rc.right - zebui::kDropArrowWidth, rc.top);
          dc->LineTo(rc.right - zebui::kDropArrowWidth, rc.bottom);
        }
      }
    }

    if (b.IsSeparator()) {
      if (b.HostsControl()) continue;  // the control paints itself
      CPenSelector pen(dc, AdjustColorHsl(btnFace, -15, 0));
      if (b.state & TBSTATE_WRAP) {
        dc->MoveTo(client.left + 2, rc.bottom - 4);
        dc->LineTo(client.right - 2, rc.bottom - 4);
      } else {
        const int x = (rc.left + rc.right) / 2 - 1;
        dc->MoveTo(x, rc.top + 2);
        dc->LineTo(x, rc.bottom - 2);
      }
      continue;
    }

    if (dropDown) {
      COLORREF ink = GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
      if (highlighted && !indeterminate) ink = RGB(0, 0, 0);
      const int m = (rc.top + rc.bottom) / 2;
      CPenSelector pen(dc, ink);
      dc->MoveTo(rc.right - 9, m - 1);
      dc->LineTo(rc.right - 4, m - 1);
      dc->MoveTo(rc.right - 8, m);
      dc->LineTo(rc.right - 5, m);
      dc->SetPixel(rc.right - 7, m + 1, ink);
      rc.right -= zebui::kDropArrowWidth;
    }

    if (b.image >= 0) {
      const int d = highlighted && !pressed ? 2 : 3;
      if (enabled) {
        normal.Draw(dc, b.image, rc.left + d, rc.top + d);
      } else if (!disabled.IsEmpty()) {
        disabled.Draw(dc, b.image, rc.left + d, rc.top + d);
      } else {
        const int offset = highlighted ? 4 : 3;
        COLORREF ink;
        if (indeterminate) ink = AdjustColorHsl(btnFace, -20, 0);
        else if (highlighted) ink = AdjustColorHsl(highlight, 50, -66);
        else ink = AdjustColorHsl(btnFace, -27, 0);
        normal.DrawMono(dc, b.image, rc.left + offset, rc.top + offset, ink);
      }
    }

    if (enabled && textCaptions_ && !captions_.empty()) {
      const auto caption = captions_.find(b.id);
      if (caption != captions_.end()) {
        CRect textRect(rc.left + 17, rc.top + 6, rc.right, rc.bottom);
        dc->DrawText(caption->second, &textRect, DT_CENTER);
      }
    }
  }
}
