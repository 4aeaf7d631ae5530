// Drawing the sort marks.
#include "zeb/tables/report/sort_marks.h"

#include "zeb/scheme/sys_style.h"

namespace {
constexpr int kColorSortMark = 34;
}

void CSortMarkImages::Draw(CDC* dc, int index, int x, int y) const {
  if (dc == nullptr || (index != kAscending && index != kDescending)) return;
  const COLORREF color = CSysStyle::GetInstance()->GetColor(kColorSortMark);
  CPen pen(PS_SOLID, 1, color);
  CBrush brush(color);
  CPen* oldPen = dc->SelectObject(&pen);
  CBrush* oldBrush = dc->SelectObject(&brush);
  const int apexY = index == kAscending ? y + 1 : y + kHeight - 2;
  const int baseY = index == kAscending ? y + kHeight - 2 : y + 1;
  const POINT triangle[] = {{x + kWidth / 2, apexY}, {x + kWidth - 1, baseY}, {x, baseY}};
  dc->Polygon(triangle, 3);
  if (oldPen) dc->SelectObject(oldPen);
  if (oldBrush) dc->SelectObject(oldBrush);
}
