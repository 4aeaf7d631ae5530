// Text drawn before the application ends leaves nothing behind that its
// end or the program's would trip over: the kept layouts hold fonts.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <memory>

#include "gdi_text_cache.h"
#include "platform/gbk.h"
#include "platform/gdi.h"

namespace {

TEST(GdiAtApplicationEnd, KeptTextAndOpenPaintersOutliveNothing) {
  CDC dc;
  CBitmap bitmap;
  CFont font;
  {
    int argc = 1;
    char arg0[] = "test_gdi_app_end";
    char* argv[] = {arg0, nullptr};
    QGuiApplication app(argc, argv);
    font.CreateFont(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, GBK("宋体"));
    dc.CreateCompatibleDC(nullptr);
    bitmap.CreateBitmap(120, 30);
    dc.SelectObject(&bitmap);
    dc.SelectObject(&font);
    RECT r{0, 0, 120, 30};
    EXPECT_GT(dc.DrawText(GBK("合计 12.34"), -1, &r, DT_SINGLELINE | DT_VCENTER), 0);
    EXPECT_GT(dc.GetTextExtent("12.34").cx, 0);
    EXPECT_GT(platform::gdi_detail::ThreadTextCaches().layouts.Size(), 0u);
  }
  // The application is gone: the kept text went with it (its fonts were let
  // go while Qt could still free them); the DC closes its painter at its end.
  EXPECT_EQ(platform::gdi_detail::ThreadTextCaches().layouts.Size(), 0u);
  EXPECT_EQ(platform::gdi_detail::ThreadTextCaches().extents.Size(), 0u);
}

}  // namespace
