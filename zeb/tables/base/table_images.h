// The images a grid table draws in its heads (the sort mark) and cells.
// A table does not own its image list; the owner keeps it alive.
#pragma once
#include "platform/gdi.h"

class CTableImageList {
 public:
  virtual ~CTableImageList() = default;
  virtual int GetImageCount() const = 0;
  // Draws image index with its top-left corner at (x, y); nothing for an
  // index the list does not have.
  virtual void Draw(CDC* dc, int index, int x, int y) const = 0;
};
