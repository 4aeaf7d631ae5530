#include "zeb/shell/router/routed_view.h"

void CRoutedView::OnSchemeChanged() {
  if (GetSafeHwnd()) Invalidate();
}
