// The quote list's two sort marks, drawn in the head of the sort column:
// image 0 ascending (points up), image 1 descending (points down). Drawn
// as small triangles in the scheme's sort-mark colour, so they follow the
// colour scheme and need no picture file.
#pragma once
#include "zeb/tables/base/table_images.h"

class CSortMarkImages : public CTableImageList {
 public:
  static constexpr int kAscending = 0;
  static constexpr int kDescending = 1;
  static constexpr int kWidth = 5;
  static constexpr int kHeight = 5;

  int GetImageCount() const override { return 2; }
  void Draw(CDC* dc, int index, int x, int y) const override;
};
